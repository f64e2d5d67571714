// vr58 preset: the plug-in's state after a list of settings, written as VST 2.4 preset files.
#include "arguments.h"
#include "cli_error.h"
#include "commands.h"
#include "pending_output.h"
#include "plugin_session.h"
#include "preset_file.h"
#include "preset_list.h"
#include "settings.h"

#include <algorithm>
#include <filesystem>
#include <iostream>

namespace vr58::tool {

namespace fs = std::filesystem;

namespace {

// A fresh instance per preset, so each holds the defaults and its own settings only.
host::ProgramPreset makePreset(const std::string& pluginPath, const PresetEntry& entry) {
    auto plugin = loadPlugin(pluginPath);
    plugin->open();
    applySettings(*plugin, resolveSettings(*plugin, entry.settings));
    return capturePreset(*plugin, entry.name);
}

} // namespace

int runPreset(const std::vector<std::string>& args) {
    const PresetOptions options = parsePresetArguments(args);
    std::vector<PresetEntry> entries;
    if (options.list) {
        entries = readPresetList(*options.list);
    } else {
        PresetEntry entry{
            options.name.value_or(fs::path(options.output).stem().string()), options.settings, 0, {}};
        if (const std::string problem = presetNameProblem(entry.name); !problem.empty())
            throw CliError(options.name ? "--name" : options.output,
                           problem + (options.name ? "" : " (give the preset a name with --name)"));
        entries.push_back(entry);
    }

    // Every preset is made before any file is written: one bad line leaves nothing behind.
    std::vector<host::ProgramPreset> presets;
    for (const PresetEntry& entry : entries) {
        try {
            presets.push_back(makePreset(options.plugin, entry));
        } catch (const CliError& error) {
            if (!options.list) throw;
            throw CliError(*options.list + ":" + std::to_string(entry.line), error.what());
        }
    }
    if (!options.list) {
        writePresetFile(presets.front(), options.output);
        std::cout << "Wrote " << options.output << "\n";
        return 0;
    }
    makeOutputFolder(options.output);
    for (const host::ProgramPreset& preset : presets)
        writePresetFile(preset, (fs::path(options.output) / (preset.name + ".fxp")).string());
    std::cout << "Wrote " << presets.size() << " presets to " << options.output << "\n";
    return 0;
}

int runPresets(const std::vector<std::string>& args) {
    if (!args.empty()) throw CliError("presets", "unexpected argument '" + args.front() + "'");
    size_t width = 0;
    for (const PresetEntry& entry : factoryPresets()) width = std::max(width, entry.name.size() + 2);
    for (const PresetEntry& entry : factoryPresets()) {
        const std::string quoted = "\"" + entry.name + "\"";
        std::cout << quoted << std::string(width - quoted.size() + 2, ' ') << entry.description << "\n";
        std::string settings;
        for (const std::string& setting : describeSettings(kPlainBuild, entry.settings))
            settings += (settings.empty() ? "" : ", ") + setting;
        std::cout << std::string(width + 2, ' ') << settings << "\n";
    }
    return 0;
}

} // namespace vr58::tool
