// vr58: renders audio files through a VST 2.4 plug-in, describes and measures a plug-in, makes the demo
// renders and presets, and validates a plug-in binary. Builds without the audio-file commands (Windows)
// offer validate only.
#include "commands.h"
#include "engine/cli_error.h"
#include "engine/version.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

#ifdef VR58_AUDIO_FILE_COMMANDS
// The settings, as every command that takes them names them; the rules are in `vr58 --help` once.
#define VR58_SET_HELP                                                                                        \
    "      --set NAME=VALUE, --set-normalised NAME=0..1: parameter settings (see vr58 --help)\n"
#endif

// One entry per command: its name and its usage.
const std::vector<std::pair<std::string, std::string>> kCommands = {
#ifdef VR58_AUDIO_FILE_COMMANDS
    {"info", R"(  vr58 info PLUGIN
  vr58 info --preset NAME
      Print the plug-in's effect record, identity and parameter table, each value of a VR58 plug-in
      also in its unit. With --preset, the factory preset's settings in units.
)"},
    {"render",
     R"(  vr58 render PLUGIN IN OUT [--preset FILE.fxp|NAME] [--set NAME=VALUE]... [--seed N] [--block N]
                            [--precision 32|64] [--subtype pcm16|pcm24|pcm32|float|double|vorbis]
                            [--no-dither]
  vr58 render PLUGIN IN... --out OUTDIR [options]
      Render the audio file IN (WAV, FLAC, AIFF, Ogg...) through the plug-in at IN's sample rate into OUT,
      then print OUT's peak and RMS level per channel. With --out, render every IN (a folder: its audio
      files) into OUTDIR under its own name and format, and end with a summary; the exit code is 1 when
      any file failed. PLUGIN is a path, or VR58G or VR58: the build beside vr58, else in ~/.vst,
      /usr/local/lib/vst or /usr/lib/vst.
      OUT's extension sets its format: .wav, .flac, .aiff (.aif) or .ogg; any other is refused. OUT may
      not be IN, under any name or link. OUT appears only when complete.
      --preset     a VST 2.4 preset file (.fxp) for this plug-in, or a factory preset's name (vr58 presets)
)" VR58_SET_HELP
     R"(      --seed       the noise seed of a VR58 plug-in: two renders with one seed are equal to the bit
                   (an .ogg file's random stream number aside; without it the hiss differs every run)
      --block      frames per process call (default 512)
      --precision  32-bit or 64-bit processing (default 32)
      --subtype    OUT's sample format; default: IN's when it is PCM or float and OUT's format holds it,
                   Vorbis for .ogg, else pcm24. An integer format clips what lies beyond full scale:
                   vr58 says how many samples it clipped and which format keeps them.
      --no-dither  16 bits or fewer are written with TPDF dither (one least significant bit, peak to
                   peak); this rounds without it
      --format     wav|flac|aiff|ogg: with --out, the format of every output; else it must agree with
                   OUT's extension
      A mono IN feeds both plug-in inputs and OUT holds the left output (mono in, mono out); a file
      with as many channels as the plug-in has inputs keeps them. An IN cut short (its header promises
      more than it holds) is rendered as far as it goes, with a warning naming both lengths.
)"},
    {"demo", R"(  vr58 demo [OUTDIR] [--plugins DIR]
      Make an 8-second demo phrase, render it through VR58G_x64 and VR58_x64 at three settings,
      write all WAVs to OUTDIR (default out/demo) and print their levels.
)"},
    {"editor-preview",
     R"(  vr58 editor-preview PLUGIN OUT.png [--preset FILE.fxp|NAME] [--set NAME=VALUE]... [--play FILE]
                                     [--scale 1|1.25|1.5|1.75|2] [--hover NAME] [--menu]
      Open the editor build's own editor in a window in memory, with the plug-in's parameter values
      (after the preset and the settings), and write the window as a 520 x 440 PNG (1040 x 880 with
      --scale 2, the editor's size as a factor). With --play, run
      FILE through the plug-in with the editor open and write the window as it stood at the loudest
      moment, its VU meter and peak LED showing the level. With --hover, the pointer rests on the
      control of parameter NAME from the start, and after half a second the editor's read-out shows
      its name and value beside it. With --menu, the right-click menu is open (sizes, undo, A/B
      compare, presets).
)" VR58_SET_HELP},
    {"measure", R"(  vr58 measure PLUGIN OUTDIR [--set NAME=VALUE]...
      Measure the plug-in at 48 kHz with its noise off and write CSV files to OUTDIR: response.csv, the
      gain from 10 Hz to 22 kHz at -80 dBFS; levels.csv, output level and THD (harmonics 2 to 9) of a
      1 kHz sine from -40 to +12 dBFS input; parameters.csv, the values measured.
)" VR58_SET_HELP},
    {"preset", R"(  vr58 preset PLUGIN OUT.fxp [--name NAME] [--set NAME=VALUE]...
  vr58 preset PLUGIN OUTDIR --list FILE
      Write the plug-in's state after the settings as a VST 2.4 preset file (.fxp) named NAME (default:
      OUT's file name). With --list, write OUTDIR/<name>.fxp for every line of FILE, each line a quoted
      name followed by its --set options ('#' starts a comment).
)" VR58_SET_HELP},
    {"presets", R"(  vr58 presets
      List the factory presets, which --preset takes by name, each with its settings in units.
)"},
#endif
    {"validate", R"(  vr58 validate PLUGIN [--seconds S] [--seed N] [--only CHECK]... [--soak MINUTES]
      Load the VST 2.4 binary and torture it: lifecycle, dispatcher and parameter fuzz, chunk fuzz,
      sample rates x block sizes x hostile signals, heap calls in process calls, recovery from
      non-finite input, changes from a second thread while processing, the cost of subnormals.
      Prints a summary table; the exit code is 1 when any case failed.
      --seconds  time budget of the open-ended checks (random fuzz, threads; default 30)
      --seed     seed of every random choice (default 1)
      --only     run only this check (a name from the table); may be repeated
      --soak     instead of the checks, process for MINUTES with automation from a second thread, rate
                 and block-size changes, state saves and loads and editor opens and closes; reports any
                 non-finite output sample and the resident memory at the start and the end
)"},
};

// Said once, for every command that takes settings.
const char* const kSettingsHelp = R"(
Settings (--set NAME=VALUE): NAME is a parameter as vr58 info lists it, in any case; VALUE is in the
unit vr58 info and the editor show, with or without the unit: Gain=0 (0 dB), Trim=+3dB, Head=80 (Hz),
"EQ Curve=NAB" or "EQ Curve=0" (a switch by word or position number), Noise=off, H.Room=-14. Bump is
its gain in dB, which depends on Head and HB Att. The settings apply as a whole, so their order never
matters; of two settings of one parameter the last wins. --set-normalised NAME=0..1 gives the normalised
value a host sees instead.
)";

std::string usage() {
    std::string text = "usage:\n";
    for (const auto& command : kCommands) text += command.second;
    text += "  vr58 COMMAND --help\n  vr58 --help\n  vr58 --version\n"
            "Exit codes: 0 done, 1 the job failed, 2 a wrong command line.\n";
#ifdef VR58_AUDIO_FILE_COMMANDS
    text += kSettingsHelp;
#endif
    return text;
}

// What bare `vr58` prints: the commands in one line each.
std::string shortUsage() {
    std::string text = "usage: vr58 COMMAND ...   (vr58 --help for all, vr58 COMMAND --help for one)\n";
    for (const auto& command : kCommands) {
        const std::string& usageText = command.second;
        text += usageText.substr(0, usageText.find('\n') + 1);
    }
    return text;
}

const std::string* usageOf(const std::string& name) {
    for (const auto& command : kCommands)
        if (command.first == name) return &command.second;
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << shortUsage();
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << usage();
        return 0;
    }
    if (command == "--version" || command == "-V") {
        std::cout << "vr58 " << vr58::kReleaseVersion << "\n";
        return 0;
    }
    const std::string* commandUsage = usageOf(command);
    if (!commandUsage) {
        std::cerr << "vr58: " << command << ": unknown command (try vr58 --help)\n";
        return 2;
    }
    if (std::any_of(args.begin(), args.end(),
                    [](const std::string& a) { return a == "--help" || a == "-h"; })) {
        std::cout << "usage:\n" << *commandUsage;
        return 0;
    }
    try {
#ifdef VR58_AUDIO_FILE_COMMANDS
        if (command == "info") return vr58::tool::runInfo(args);
        if (command == "render") return vr58::tool::runRender(args);
        if (command == "demo") return vr58::tool::runDemo(args);
        if (command == "editor-preview") return vr58::tool::runEditorPreview(args);
        if (command == "measure") return vr58::tool::runMeasure(args);
        if (command == "preset") return vr58::tool::runPreset(args);
        if (command == "presets") return vr58::tool::runPresets(args);
#endif
        return vr58::tool::runValidate(args);
    } catch (const vr58::tool::UsageError& error) {
        std::cerr << "vr58: " << error.what() << "\n";
        return 2;
    } catch (const vr58::tool::CliError& error) {
        std::cerr << "vr58: " << error.what() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "vr58: " << command << ": " << error.what() << "\n";
    }
    return 1;
}
