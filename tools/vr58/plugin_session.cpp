#include "plugin_session.h"

#include "engine/cli_error.h"
#include "engine/preset_list.h"
#include "engine/vendor_requests.h"
#include "preset_file.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>

namespace vr58::tool {

namespace fs = std::filesystem;

namespace {

std::string lowerText(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

} // namespace

std::vector<std::string> pluginFolders() {
    std::vector<std::string> folders;
#ifdef VR58_PLUGIN_DIR
    folders.push_back(VR58_PLUGIN_DIR);
#endif
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) folders.push_back(self.parent_path().string());
    if (const char* home = std::getenv("HOME"); home && *home) folders.push_back(std::string(home) + "/.vst");
    folders.push_back("/usr/local/lib/vst");
    folders.push_back("/usr/lib/vst");
    return folders;
}

std::string findPlugin(const std::string& argument) {
    std::error_code ec;
    if (fs::exists(argument, ec) || argument.find('/') != std::string::npos) return argument;
    std::string build = lowerText(argument);
    const std::string extension = kPluginExtension;
    if (build.size() > extension.size() &&
        build.compare(build.size() - extension.size(), extension.size(), extension) == 0)
        build.erase(build.size() - extension.size());
    if (build.size() > 4 && build.compare(build.size() - 4, 4, "_x64") == 0) build.erase(build.size() - 4);
    const char* file = build == "vr58g" ? "VR58G_x64" : build == "vr58" ? "VR58_x64" : nullptr;
    if (!file) throw CliError(argument, "no such file (a plug-in is a path, or VR58G or VR58)");
    std::string searched;
    for (const std::string& folder : pluginFolders()) {
        const fs::path candidate = fs::path(folder) / (std::string(file) + kPluginExtension);
        if (fs::is_regular_file(candidate, ec)) return candidate.string();
        searched += (searched.empty() ? "" : ", ") + folder;
    }
    throw CliError(argument, std::string("no ") + file + kPluginExtension + " in " + searched +
                                 " (install it there, or give the plug-in's path)");
}

std::unique_ptr<host::HostedPlugin> loadPlugin(const std::string& argument) {
    const std::string path = findPlugin(argument);
    std::string error;
    auto plugin = host::HostedPlugin::load(path, error);
    if (!plugin) throw CliError(path, error);
    return plugin;
}

const ParameterUnits* unitsOf(host::HostedPlugin& plugin) {
    if (plugin.effect()->uniqueID != kUniqueId) return nullptr;
    std::vector<std::string> names;
    for (int32_t i = 0; i < plugin.effect()->numParams; ++i) names.push_back(plugin.parameterName(i));
    return ParameterUnits::matching(names);
}

std::vector<float> parameterValues(host::HostedPlugin& plugin) {
    std::vector<float> values;
    for (int32_t i = 0; i < plugin.effect()->numParams; ++i) values.push_back(plugin.getParameter(i));
    return values;
}

std::vector<ResolvedSetting> resolveSettings(host::HostedPlugin& plugin,
                                             const std::vector<ParameterSetting>& settings) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < plugin.effect()->numParams; ++i) names.push_back(plugin.parameterName(i));
    const bool anyInUnits =
        std::any_of(settings.begin(), settings.end(), [](const ParameterSetting& s) { return s.inUnits(); });
    return resolveSettingList(names, anyInUnits ? unitsOf(plugin) : nullptr, parameterValues(plugin),
                              settings);
}

void applySettings(host::HostedPlugin& plugin, const std::vector<ResolvedSetting>& settings) {
    for (const ResolvedSetting& setting : settings) plugin.setParameter(setting.index, setting.value);
}

PresetChoice choosePreset(const std::string& argument) {
    PresetChoice choice;
    choice.argument = argument;
    std::error_code ec;
    // A path (an existing file, or one that says it is a file) is read as a preset file.
    const bool isPath = std::filesystem::exists(argument, ec) || argument.find('/') != std::string::npos ||
                        std::filesystem::path(argument).extension() == ".fxp";
    if (isPath) {
        choice.file = readPresetFile(argument);
        return choice;
    }
    const PresetEntry* factory = findFactoryPreset(argument);
    if (!factory)
        throw CliError("--preset",
                       "'" + argument +
                           "' is neither a preset file nor a factory preset (vr58 presets lists them)");
    choice.settings = factory->settings;
    return choice;
}

void loadPreset(host::HostedPlugin& plugin, const PresetChoice& preset) {
    if (preset.file) {
        checkPresetFor(plugin, *preset.file, preset.argument);
        plugin.setChunk(preset.file->chunk, true);
        return;
    }
    try {
        applySettings(plugin, resolveSettings(plugin, preset.settings));
    } catch (const CliError& error) {
        throw CliError("--preset " + preset.argument, error.what());
    }
}

void setNoiseSeed(host::HostedPlugin& plugin, uint32_t seed) {
    if (plugin.dispatch(effVendorSpecific, vendor::kIndex, vendor::kSetNoiseSeed, &seed) != 1)
        throw CliError("--seed", "this plug-in takes no noise seed (only the VR58 plug-ins do)");
}

void preparePlugin(host::HostedPlugin& plugin, int sampleRate, int blockSize, int fileChannels,
                   const std::vector<ParameterSetting>& settings, Precision precision,
                   const PresetChoice* preset, std::optional<uint32_t> seed) {
    const AEffect& record = *plugin.effect();
    const std::string& path = plugin.path();
    if (record.numInputs < 1 || record.numOutputs < 1)
        throw CliError(path, "the plug-in has no audio inputs or outputs to render through");
    if (fileChannels != 1 && fileChannels != record.numInputs)
        throw CliError(path, "the plug-in takes " + std::to_string(record.numInputs) +
                                 " input channels (or mono), the audio has " + std::to_string(fileChannels));
    if (precision == Precision::Double &&
        (!(record.flags & effFlagsCanDoubleReplacing) || !record.processDoubleReplacing))
        throw CliError(path, "the plug-in does not process 64-bit audio; use --precision 32");
    if (precision == Precision::Single && !record.processReplacing)
        throw CliError(path, "the plug-in does not process 32-bit audio; use --precision 64");

    plugin.open();
    plugin.setSampleRate(static_cast<float>(sampleRate));
    plugin.setBlockSize(blockSize);
    // Mono files are described as mono so the plug-in can meter them as such; it still gets every input.
    const int channels = fileChannels == 1 ? 1 : record.numInputs;
    plugin.setSpeakerArrangement(channels, fileChannels == 1 ? 1 : record.numOutputs);
    if (preset) loadPreset(plugin, *preset);
    applySettings(plugin, resolveSettings(plugin, settings));
    if (seed) setNoiseSeed(plugin, *seed);
    plugin.mainsChanged(true);
}

} // namespace vr58::tool
