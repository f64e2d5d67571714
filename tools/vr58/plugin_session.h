// Loading a plug-in for the command and preparing it the way a host does before processing.
#pragma once

#include "arguments.h"
#include "engine/fxp_preset.h"
#include "engine/parameter_units.h"
#include "host/hosted_plugin.h"
#include "engine/setting_resolution.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vr58::tool {

// The file ending of a plug-in library on this platform.
#if defined(_WIN32)
inline constexpr const char* kPluginExtension = ".dll";
#else
inline constexpr const char* kPluginExtension = ".so";
#endif

// The folders a plug-in named by its build is looked for in, in order: the build's own plug-in folder
// (when vr58 runs from a build tree), the folder of vr58 itself, then those Linux hosts scan.
std::vector<std::string> pluginFolders();
// A path as given, or a build's name (VR58G, VR58, VR58G_x64...; any case) found in pluginFolders().
// Throws CliError when a name is not found.
std::string findPlugin(const std::string& argument);
// Loads the binary (see findPlugin); throws CliError naming the file when it is not a usable VST 2.4
// plug-in.
std::unique_ptr<host::HostedPlugin> loadPlugin(const std::string& path);

// The table of units of a VR58 plug-in (either build); null for any other plug-in.
const ParameterUnits* unitsOf(host::HostedPlugin& plugin);
// Every parameter's current normalised value, in index order.
std::vector<float> parameterValues(host::HostedPlugin& plugin);

// Checks every setting's name against the plug-in's parameters (in any case) and turns values in units
// into normalised ones, the settings read as a whole (see resolveSettingList). Throws CliError before
// anything is changed.
std::vector<ResolvedSetting> resolveSettings(host::HostedPlugin& plugin,
                                             const std::vector<ParameterSetting>& settings);
void applySettings(host::HostedPlugin& plugin, const std::vector<ResolvedSetting>& settings);

// What --preset names: a preset file (.fxp), or a factory preset, which is its list of settings.
struct PresetChoice {
    std::optional<host::ProgramPreset> file;
    std::vector<ParameterSetting> settings;
    std::string argument;
};
// Throws CliError when the argument is neither a readable preset file nor a factory preset's name.
PresetChoice choosePreset(const std::string& argument);
// Loads the preset into the plug-in; throws CliError naming the preset when it does not fit.
void loadPreset(host::HostedPlugin& plugin, const PresetChoice& preset);

// Asks a VR58 plug-in to start its hiss from this seed; throws CliError when the plug-in cannot.
void setNoiseSeed(host::HostedPlugin& plugin, uint32_t seed);

// effOpen, sample rate, block size, speaker arrangement, the preset (when given), the settings, then
// mains on. fileChannels is 1 (fed to every input) or the plug-in's input count; anything else throws.
void preparePlugin(host::HostedPlugin& plugin, int sampleRate, int blockSize, int fileChannels,
                   const std::vector<ParameterSetting>& settings, Precision precision,
                   const PresetChoice* preset = nullptr, std::optional<uint32_t> seed = std::nullopt);

} // namespace vr58::tool
