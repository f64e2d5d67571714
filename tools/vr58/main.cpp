// vr58: renders audio files through a VST 2.4 plug-in, describes and measures a plug-in, makes the demo
// renders and presets, and validates a plug-in binary. Builds without the audio-file commands (Windows)
// offer validate only.
#include "commands.h"
#include "engine/cli_error.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

#ifdef VR58_AUDIO_FILE_COMMANDS
// NAME=VALUE, as every command that takes settings explains it.
#define VR58_SET_HELP                                                                                        \
    "      --set        a parameter by the name the plug-in reports: a bare number is its normalised\n"      \
    "                   value in 0..1 (\"EQ Curve=0.2\"); with a unit or a word it is in the parameter's\n"  \
    "                   units: Trim=+3dB, Head=85Hz, \"EQ Curve=NAB\", Noise=off, \"VU Path=in\" (VR58\n"    \
    "                   plug-ins; the info command shows each value in its unit). Applied in order.\n"
#endif

// One entry per command: its name and its usage.
const std::vector<std::pair<std::string, std::string>> kCommands = {
#ifdef VR58_AUDIO_FILE_COMMANDS
    {"info", R"(  vr58 info PLUGIN
      Print the plug-in's effect record, identity and parameter table, each value of a VR58 plug-in
      also in its unit.
)"},
    {"render",
     R"(  vr58 render PLUGIN IN OUT [--preset FILE.fxp|NAME] [--set NAME=VALUE]... [--seed N] [--block N]
                            [--precision 32|64] [--subtype pcm16|pcm24|pcm32|float|double|vorbis]
      Render the audio file IN (WAV, FLAC, AIFF, Ogg...) through the plug-in at IN's sample rate into OUT,
      then print OUT's peak and RMS level per channel.
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
                   vr58 says how many samples it clipped; --subtype float keeps them.
      --format     wav|flac|aiff|ogg, kept for scripts; must agree with OUT's extension
      A mono IN feeds both plug-in inputs and OUT holds the left output (mono in, mono out); a file
      with as many channels as the plug-in has inputs keeps them.
)"},
    {"demo", R"(  vr58 demo [OUTDIR] [--plugins DIR]
      Make an 8-second demo phrase, render it through VR58G_x64 and VR58_x64 at three settings,
      write all WAVs to OUTDIR (default out/demo) and print their levels.
)"},
    {"editor-preview",
     R"(  vr58 editor-preview PLUGIN OUT.png [--preset FILE.fxp|NAME] [--set NAME=VALUE]... [--play FILE]
                                     [--scale 1|1.25|1.5|1.75|2] [--hover NAME]
      Open the editor build's own editor in a window in memory, with the plug-in's parameter values
      (after the preset and the settings), and write the window as a 520 x 440 PNG (1040 x 880 with
      --scale 2, the editor's size as a factor). With --play, run
      FILE through the plug-in with the editor open and write the window as it stood at the loudest
      moment, its VU meter and peak LED showing the level. With --hover, the pointer rests on the
      control of parameter NAME from the start, and after half a second the editor's read-out shows
      its name and value beside it.
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
      List the factory presets, which --preset takes by name.
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

std::string usage() {
    std::string text = "usage:\n";
    for (const auto& command : kCommands) text += command.second;
    return text + "  vr58 COMMAND --help\n  vr58 --help\n";
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
        std::cerr << usage();
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << usage();
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
    } catch (const vr58::tool::CliError& error) {
        std::cerr << "vr58: " << error.what() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "vr58: " << command << ": " << error.what() << "\n";
    }
    return 1;
}
