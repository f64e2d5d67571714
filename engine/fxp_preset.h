// VST 2.4 program files (.fxp) in the opaque-chunk form that hosts write for plug-ins whose programs are
// chunks: a big-endian header ('CcnK', size, 'FPCh', version 1, plug-in ID, plug-in version, parameter
// count, a 28-byte name, chunk size) followed by the plug-in's own chunk, byte for byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vr58::host {

struct ProgramPreset {
    int32_t pluginId = 0;      // the plug-in's unique ID, e.g. 'VR58'
    int32_t pluginVersion = 0; // the plug-in's version field
    int32_t parameterCount = 0;
    std::string name; // at most 27 characters are kept
    std::vector<uint8_t> chunk;
};

constexpr size_t kFxpNameSize = 28;
constexpr size_t kFxpHeaderSize = 60;

std::vector<uint8_t> encodeFxp(const ProgramPreset& preset);

// Parses a whole file's bytes; on failure returns false and sets error to one line saying why.
bool decodeFxp(const std::vector<uint8_t>& bytes, ProgramPreset& preset, std::string& error);

// "'VR58'" for printable IDs, else the number in hex.
std::string describePluginId(int32_t id);

} // namespace vr58::host
