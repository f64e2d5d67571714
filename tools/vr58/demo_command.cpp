#include "arguments.h"
#include "audio_file.h"
#include "commands.h"
#include "demo_signal.h"
#include "engine/cli_error.h"
#include "levels.h"
#include "pending_output.h"
#include "plugin_session.h"
#include "render_loop.h"

#include <filesystem>
#include <iostream>

namespace vr58::tool {

namespace fs = std::filesystem;

namespace {

constexpr int kDemoBlockSize = 512;

struct Preset {
    std::string name; // part of the file name
    std::vector<ParameterSetting> settings;
};

// Names, not indices: the two builds number their parameters differently from index 10 on. The hot and
// bump presets take the output Gain down 4.8 dB so that their peaks stay below full scale for listening.
// Normalised values, so the demo's renders stay what they have always been.
const std::vector<Preset> kPresets = {
    {"defaults", {}},
    {"nab-hot", {{"EQ Curve", 0.1f, {}}, {"Trim", 0.8f, {}}, {"Gain", 0.4f, {}}}},
    {"aes-head-bump",
     {{"EQ Curve", 1.0f, {}},
      {"Head", 0.5f, {}},
      {"Bump", 1.0f, {}},
      {"HB Att", 0.0f, {}},
      {"Gain", 0.4f, {}}}},
};

const std::vector<std::string> kPluginNames = {"VR58G_x64", "VR58_x64"};

void writeWav(const std::string& path, const std::vector<std::vector<double>>& planar) {
    PendingOutput output(path);
    AudioWriter writer(output, SF_FORMAT_WAV | SF_FORMAT_FLOAT, static_cast<int>(planar.size()),
                       kDemoSampleRate);
    std::vector<double> interleaved;
    interleaved.reserve(planar.size() * planar.front().size());
    for (size_t i = 0; i < planar.front().size(); ++i)
        for (const auto& channel : planar) interleaved.push_back(channel[i]);
    writer.write(interleaved.data(), planar.front().size());
    writer.commit();
}

std::vector<std::vector<double>> renderPreset(const std::string& pluginPath, const Preset& preset,
                                              const std::vector<std::vector<double>>& phrase) {
    // A fresh instance per preset: no filter state or setting carries over from the previous render.
    auto plugin = loadPlugin(pluginPath);
    preparePlugin(*plugin, kDemoSampleRate, kDemoBlockSize, static_cast<int>(phrase.size()), preset.settings,
                  Precision::Single);
    MemorySource source(phrase);
    MemorySink sink(renderedChannels(*plugin, static_cast<int>(phrase.size())));
    render(*plugin, source, sink, kDemoBlockSize, Precision::Single);
    plugin->mainsChanged(false);
    return std::move(sink.planar);
}

} // namespace

int runDemo(const std::vector<std::string>& args) {
    const DemoOptions options = parseDemoArguments(args);
    // Both plug-ins must load and know every preset's parameters before any file is written.
    std::vector<std::string> pluginPaths;
    for (const auto& name : kPluginNames) {
        const std::string path = options.pluginDir
                                     ? (fs::path(*options.pluginDir) / (name + kPluginExtension)).string()
                                     : findPlugin(name);
        auto plugin = loadPlugin(path);
        for (const auto& preset : kPresets) {
            try {
                resolveSettings(*plugin, preset.settings);
            } catch (const CliError& error) {
                throw CliError(path, std::string("preset ") + preset.name + ": " + error.what());
            }
        }
        pluginPaths.push_back(path);
    }

    const fs::path outDir(options.outputDir);
    makeOutputFolder(options.outputDir);

    const auto phrase = makeDemoPhrase();
    std::vector<LevelReportRow> report;
    writeWav((outDir / "input.wav").string(), phrase);
    report.push_back({"input.wav", measureLevels(phrase)});
    for (size_t p = 0; p < pluginPaths.size(); ++p) {
        for (const auto& preset : kPresets) {
            const std::string file = kPluginNames[p] + "-" + preset.name + ".wav";
            const auto rendered = renderPreset(pluginPaths[p], preset, phrase);
            writeWav((outDir / file).string(), rendered);
            report.push_back({file, measureLevels(rendered)});
        }
    }

    std::cout << "Wrote " << report.size() << " files to " << outDir.string() << "\n";
    printLevelReport(std::cout, report);
    return 0;
}

} // namespace vr58::tool
