#include "editor/user_presets.h"

#include "engine/build_config.h"
#include "engine/fxp_preset.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <system_error>

namespace vr58 {

namespace {

// Larger files are not presets of a plug-in with a few parameters.
constexpr std::uintmax_t kMaxPresetFileSize = 1 << 16;

std::filesystem::path environmentPath(const char* name) {
#ifdef _WIN32
    std::wstring wide(name, name + std::strlen(name));
    const wchar_t* value = _wgetenv(wide.c_str());
#else
    const char* value = std::getenv(name);
#endif
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

// The number of a "User N" name, or 0.
long userNumber(const std::string& stem) {
    if (stem.rfind("User ", 0) != 0 || stem.size() == 5 || stem.size() > 14) return 0;
    long n = 0;
    for (size_t i = 5; i < stem.size(); ++i) {
        if (stem[i] < '0' || stem[i] > '9') return 0;
        n = n * 10 + (stem[i] - '0');
    }
    return n;
}

uint32_t littleEndianWord(const uint8_t* bytes) {
    return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

float wordToFloat(uint32_t word) {
    float value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

} // namespace

std::filesystem::path userPresetFolder() {
#ifdef _WIN32
    const std::filesystem::path base = environmentPath("APPDATA");
    if (base.empty()) return {};
    return base / "Quorvane" / "VR58" / "Presets";
#else
    std::filesystem::path base = environmentPath("XDG_DATA_HOME");
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    if (base.empty() || base.is_relative()) {
        const std::filesystem::path home = environmentPath("HOME");
        if (home.empty()) return {};
        base = home / ".local" / "share";
    }
    return base / "quorvane-vr58" / "presets";
#endif
}

std::vector<std::filesystem::path> listUserPresets(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    if (folder.empty()) return files;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::filesystem::path& file = it->path();
        std::string extension = file.extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (extension == ".fxp" && it->is_regular_file(error)) files.push_back(file);
    }
    std::sort(files.begin(), files.end(), [](const std::filesystem::path& a, const std::filesystem::path& b) {
        const std::string sa = a.stem().string(), sb = b.stem().string();
        const long na = userNumber(sa), nb = userNumber(sb);
        if (na && nb) return na < nb;
        return sa < sb;
    });
    return files;
}

std::string nextUserPresetName(const std::filesystem::path& folder) {
    long highest = 0;
    for (const std::filesystem::path& file : listUserPresets(folder))
        highest = std::max(highest, userNumber(file.stem().string()));
    return "User " + std::to_string(highest + 1);
}

bool writePresetFile(const std::filesystem::path& file, const std::string& name, const float* values) {
    host::ProgramPreset preset;
    preset.pluginId = kUniqueId;
    preset.pluginVersion = 0;
    preset.parameterCount = kEditorParameterCount;
    preset.name = name;
    // The chunk the plug-in saves: each value as a little-endian float in the build's order.
    for (int32_t i = 0; i < kEditorParameterCount; ++i) {
        uint32_t word;
        std::memcpy(&word, &values[i], sizeof word);
        for (int shift = 0; shift < 32; shift += 8)
            preset.chunk.push_back(static_cast<uint8_t>(word >> shift));
    }
    const std::vector<uint8_t> bytes = host::encodeFxp(preset);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    // Written beside and renamed, so a full disk never leaves a broken preset under the name.
    std::filesystem::path partial = file;
    partial += ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(partial, error);
            return false;
        }
    }
    std::filesystem::rename(partial, file, error);
    if (error) std::filesystem::remove(partial, error);
    return !error;
}

bool readPresetFile(const std::filesystem::path& file, float* values, std::string& name, std::string& error) {
    std::error_code fsError;
    const std::uintmax_t size = std::filesystem::file_size(file, fsError);
    if (fsError || size > kMaxPresetFileSize) {
        error = fsError ? "cannot be read" : "too large for a preset";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    host::ProgramPreset preset;
    if (!in.good() && !in.eof()) {
        error = "cannot be read";
        return false;
    }
    if (!host::decodeFxp(bytes, preset, error)) return false;
    if (preset.pluginId != kUniqueId) {
        error = "a preset of another plug-in";
        return false;
    }
    // Either build's chunk: ours by position, the other build's by the parameters' names.
    const ParameterDefinition* table = nullptr;
    size_t count = preset.chunk.size() / 4;
    if (count == kEditorParameterCount)
        table = kEditorParameters.data();
    else if (count == kPlainParameterCount)
        table = kPlainParameters.data();
    if (!table || preset.chunk.size() % 4 != 0) {
        error = "its settings are of neither VR58 build";
        return false;
    }
    for (int32_t i = 0; i < kEditorParameterCount; ++i) {
        values[i] = std::nanf("");
        for (size_t j = 0; j < count; ++j)
            if (std::strcmp(kEditorParameters[i].name, table[j].name) == 0) {
                const float value = wordToFloat(littleEndianWord(&preset.chunk[4 * j]));
                // A garbled value is no setting: the parameter keeps its own.
                if (std::isfinite(value)) values[i] = std::clamp(value, 0.0f, 1.0f);
            }
    }
    name = preset.name;
    return true;
}

} // namespace vr58
