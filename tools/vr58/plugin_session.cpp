#include "plugin_session.h"

#include "cli_error.h"

namespace vr58::tool {

std::unique_ptr<host::HostedPlugin> loadPlugin(const std::string& path) {
    std::string error;
    auto plugin = host::HostedPlugin::load(path, error);
    if (!plugin) throw CliError(path, error);
    return plugin;
}

std::vector<int32_t> resolveSettings(host::HostedPlugin& plugin,
                                     const std::vector<ParameterSetting>& settings) {
    std::vector<int32_t> indices;
    for (const auto& setting : settings) {
        const int32_t index = plugin.findParameter(setting.name);
        if (index < 0) {
            std::string known;
            for (int32_t i = 0; i < plugin.effect()->numParams; ++i)
                known += (i ? ", " : "") + plugin.parameterName(i);
            throw CliError("--set", "unknown parameter '" + setting.name + "' (this plug-in has: " +
                                        (known.empty() ? "no parameters" : known) + ")");
        }
        indices.push_back(index);
    }
    return indices;
}

void preparePlugin(host::HostedPlugin& plugin, int sampleRate, int blockSize, int fileChannels,
                   const std::vector<ParameterSetting>& settings, Precision precision,
                   const host::ProgramPreset* preset) {
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
    const std::vector<int32_t> indices = resolveSettings(plugin, settings);

    plugin.open();
    plugin.setSampleRate(static_cast<float>(sampleRate));
    plugin.setBlockSize(blockSize);
    // Mono files are described as mono so the plug-in can meter them as such; it still gets every input.
    const int channels = fileChannels == 1 ? 1 : record.numInputs;
    plugin.setSpeakerArrangement(channels, fileChannels == 1 ? 1 : record.numOutputs);
    if (preset) plugin.setChunk(preset->chunk, true);
    for (size_t i = 0; i < settings.size(); ++i) plugin.setParameter(indices[i], settings[i].value);
    plugin.mainsChanged(true);
}

} // namespace vr58::tool
