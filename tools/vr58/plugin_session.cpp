#include "plugin_session.h"

#include "engine/cli_error.h"
#include "engine/preset_list.h"
#include "engine/vendor_requests.h"
#include "preset_file.h"

#include <filesystem>

namespace vr58::tool {

std::unique_ptr<host::HostedPlugin> loadPlugin(const std::string& path) {
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
    const ParameterUnits* units = nullptr;
    bool unitsLooked = false;
    std::vector<float> values = parameterValues(plugin);
    std::vector<ResolvedSetting> resolved;
    for (const auto& setting : settings) {
        const int32_t index = plugin.findParameter(setting.name);
        if (index < 0) {
            std::string known;
            for (int32_t i = 0; i < plugin.effect()->numParams; ++i)
                known += (i ? ", " : "") + plugin.parameterName(i);
            throw CliError("--set", "unknown parameter '" + setting.name + "' (this plug-in has: " +
                                        (known.empty() ? "no parameters" : known) + ")");
        }
        float value = setting.value;
        if (setting.inUnits()) {
            if (!unitsLooked) units = unitsOf(plugin);
            unitsLooked = true;
            if (!units)
                throw CliError("--set", setting.name + "=" + setting.unitText +
                                            ": this plug-in is not a VR58, its units are unknown; give a "
                                            "normalised value in 0..1");
            const ParameterUnits::Parsed parsed = units->parse(index, setting.unitText, values.data());
            if (!parsed.ok) throw CliError("--set", parsed.error);
            value = parsed.value;
        }
        values[static_cast<size_t>(index)] = value;
        resolved.push_back({index, value});
    }
    return resolved;
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
