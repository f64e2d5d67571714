#include "preset_file.h"

#include "cli_error.h"
#include "pending_output.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace vr58::tool {

namespace {
// Far more than any plug-in's chunk; keeps a wrong file name from reading a whole disk image.
constexpr std::uintmax_t kLargestPresetFile = 16u << 20;
} // namespace

host::ProgramPreset readPresetFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) throw CliError(path, "no such file");
    if (fs::is_directory(status)) throw CliError(path, "is a directory");
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec && size > kLargestPresetFile) throw CliError(path, "too large for a preset file");
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) throw CliError(path, "cannot read");
    host::ProgramPreset preset;
    std::string error;
    if (!host::decodeFxp(bytes, preset, error)) throw CliError(path, error);
    return preset;
}

void checkPresetFor(host::HostedPlugin& plugin, const host::ProgramPreset& preset, const std::string& path) {
    const AEffect& record = *plugin.effect();
    if (preset.pluginId != record.uniqueID)
        throw CliError(path, "is a preset for the plug-in ID " + host::describePluginId(preset.pluginId) +
                                 ", not for this plug-in (" + host::describePluginId(record.uniqueID) + ")");
    if (!(record.flags & effFlagsProgramChunks))
        throw CliError(path, "this plug-in does not keep its state as a chunk, so it cannot load the preset");
}

host::ProgramPreset capturePreset(host::HostedPlugin& plugin, const std::string& name) {
    const AEffect& record = *plugin.effect();
    if (!(record.flags & effFlagsProgramChunks))
        throw CliError(plugin.path(), "the plug-in does not keep its state as a chunk");
    host::Chunk chunk = plugin.getChunk(true);
    if (chunk.size <= 0 || chunk.bytes.empty()) throw CliError(plugin.path(), "the plug-in gave no chunk");
    host::ProgramPreset preset;
    preset.pluginId = record.uniqueID;
    preset.pluginVersion = record.version;
    preset.parameterCount = record.numParams;
    preset.name = name;
    preset.chunk = std::move(chunk.bytes);
    return preset;
}

void writePresetFile(const host::ProgramPreset& preset, const std::string& path) {
    PendingOutput output(path);
    const std::vector<uint8_t> bytes = host::encodeFxp(preset);
    writeWholeFile(output, bytes.data(), bytes.size());
    output.commit();
}

} // namespace vr58::tool
