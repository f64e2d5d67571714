// Loading a plug-in for the command and preparing it the way a host does before processing.
#pragma once

#include "arguments.h"
#include "host/fxp_preset.h"
#include "host/hosted_plugin.h"

#include <memory>
#include <string>
#include <vector>

namespace vr58::tool {

// Loads the binary; throws CliError naming the file when it is not a usable VST 2.4 plug-in.
std::unique_ptr<host::HostedPlugin> loadPlugin(const std::string& path);

// Checks every setting's name against the plug-in's parameters before anything is processed or written.
std::vector<int32_t> resolveSettings(host::HostedPlugin& plugin,
                                     const std::vector<ParameterSetting>& settings);

// effOpen, sample rate, block size, speaker arrangement, the preset's chunk (when given; checked with
// checkPresetFor beforehand), the settings, then mains on.
// fileChannels is 1 (fed to every input) or the plug-in's input count; anything else throws.
void preparePlugin(host::HostedPlugin& plugin, int sampleRate, int blockSize, int fileChannels,
                   const std::vector<ParameterSetting>& settings, Precision precision,
                   const host::ProgramPreset* preset = nullptr);

} // namespace vr58::tool
