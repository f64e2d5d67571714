// vr58: renders audio files through a VST 2.4 plug-in, describes and measures a plug-in, makes the demo
// renders and presets, and validates a plug-in binary. Builds without the audio-file commands (Windows)
// offer validate only.
#include "cli_error.h"
#include "commands.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

#ifdef VR58_AUDIO_FILE_COMMANDS
constexpr const char* kUsage =
    R"(usage:
  vr58 info PLUGIN
      Print the plug-in's effect record, identity and parameter table.
  vr58 render PLUGIN IN OUT [--preset FILE.fxp] [--set NAME=VALUE]... [--block N] [--precision 32|64]
                            [--format wav|flac|aiff] [--subtype pcm16|pcm24|pcm32|float|double]
      Render the audio file IN (WAV, FLAC, AIFF...) through the plug-in at IN's sample rate into OUT.
      --preset     load a VST 2.4 preset file (.fxp) for this plug-in first
      --set        set a parameter by the name the plug-in reports, to a value in 0..1 ("EQ Curve=0.2")
      --block      frames per process call (default 512)
      --precision  32-bit or 64-bit processing (default 32)
      --format     OUT's container; default: from OUT's extension, else IN's
      --subtype    OUT's sample format; default: IN's when the container holds it, else pcm24
      A mono IN feeds both plug-in inputs and OUT holds the left output (mono in, mono out); a file
      with as many channels as the plug-in has inputs keeps them. OUT appears only when complete.
  vr58 demo [OUTDIR] [--plugins DIR]
      Make an 8-second demo phrase, render it through VR58G_x64 and VR58_x64 at three settings,
      write all WAVs to OUTDIR (default out/demo) and print their levels.
  vr58 editor-preview PLUGIN OUT.png [--set NAME=VALUE]... [--play FILE]
      Open the editor build's own editor in a window in memory, with the plug-in's parameter values
      (after the settings), and write the window as a 520 x 440 PNG. With --play, run FILE through the
      plug-in with the editor open and write the window as it stood at the loudest moment, its VU meter
      and peak LED showing the level.
  vr58 measure PLUGIN OUTDIR [--set NAME=VALUE]...
      Measure the plug-in at 48 kHz with its noise off and write CSV files to OUTDIR: response.csv, the
      gain from 10 Hz to 22 kHz at -80 dBFS; levels.csv, output level and THD (harmonics 2 to 9) of a
      1 kHz sine from -40 to +12 dBFS input; parameters.csv, the values measured.
  vr58 preset PLUGIN OUT.fxp [--name NAME] [--set NAME=VALUE]...
  vr58 preset PLUGIN OUTDIR --list FILE
      Write the plug-in's state after the settings as a VST 2.4 preset file (.fxp) named NAME (default:
      OUT's file name). With --list, write OUTDIR/<name>.fxp for every line of FILE, each line a quoted
      name followed by its --set options ('#' starts a comment).
)"
#else
constexpr const char* kUsage =
    R"(usage:
)"
#endif
    R"(  vr58 validate PLUGIN [--seconds S] [--seed N] [--only CHECK]... [--soak MINUTES]
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
  vr58 --help
)";

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
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
#endif
        if (command == "validate") return vr58::tool::runValidate(args);
        std::cerr << "vr58: " << command << ": unknown command (try vr58 --help)\n";
        return 2;
    } catch (const vr58::tool::CliError& error) {
        std::cerr << "vr58: " << error.what() << "\n";
    } catch (const std::exception& error) {
        std::cerr << "vr58: " << command << ": " << error.what() << "\n";
    }
    return 1;
}
