// Preset files (.fxp) on disk and in a plug-in: reading and checking one against the plug-in it is meant
// for, and capturing a plug-in's state as one.
#pragma once

#include "engine/fxp_preset.h"
#include "host/hosted_plugin.h"

#include <string>

namespace vr58::tool {

// Throws CliError naming the file when it cannot be read or is not a whole chunk preset.
host::ProgramPreset readPresetFile(const std::string& path);

// Throws CliError naming the file unless the preset carries the plug-in's unique ID and the plug-in
// keeps its state as a chunk.
void checkPresetFor(host::HostedPlugin& plugin, const host::ProgramPreset& preset, const std::string& path);

// The plug-in's current state (effGetChunk) as a preset of that name; throws CliError when it gives none.
host::ProgramPreset capturePreset(host::HostedPlugin& plugin, const std::string& name);

// Writes the file so that it appears only when complete; throws CliError naming it.
void writePresetFile(const host::ProgramPreset& preset, const std::string& path);

} // namespace vr58::tool
