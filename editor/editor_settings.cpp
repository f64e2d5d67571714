#include "editor/editor_settings.h"

#include "editor/editor_scale.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace vr58 {

namespace {

constexpr const char* kScaleKey = "editor-scale";
// Larger files are not ours: the file holds a line or two.
constexpr std::streamsize kMaxFileSize = 4096;

std::filesystem::path environmentPath(const char* name) {
#ifdef _WIN32
    // Wide, so a user name outside the system code page still finds its folder.
    std::wstring wide(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = _wgetenv(wide.c_str());
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
#else
    const char* value = std::getenv(name);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
#endif
}

} // namespace

std::filesystem::path editorSettingsPath() {
#ifdef _WIN32
    const std::filesystem::path base = environmentPath("APPDATA");
    if (base.empty()) return {};
    return base / "Quorvane" / "VR58" / "editor.cfg";
#else
    std::filesystem::path base = environmentPath("XDG_CONFIG_HOME");
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (base.empty() || base.is_relative()) {
        const std::filesystem::path home = environmentPath("HOME");
        if (home.empty()) return {};
        base = home / ".config";
    }
    return base / "quorvane-vr58" / "editor.cfg";
#endif
}

int32_t readEditorScale(const std::filesystem::path& file) {
    if (file.empty()) return 0;
    std::ifstream in(file, std::ios::binary);
    if (!in) return 0;
    std::string text(static_cast<size_t>(kMaxFileSize) + 1, '\0');
    in.read(text.data(), kMaxFileSize + 1);
    if (in.gcount() > kMaxFileSize) return 0;
    text.resize(static_cast<size_t>(in.gcount()));

    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        std::string key = line.substr(0, equals), value = line.substr(equals + 1);
        const auto trim = [](std::string& s) {
            const size_t first = s.find_first_not_of(" \t"), last = s.find_last_not_of(" \t");
            s = first == std::string::npos ? std::string() : s.substr(first, last - first + 1);
        };
        trim(key);
        trim(value);
        if (key != kScaleKey) continue;
        // Digits only, no sign or trailing text: anything else is a garbled line, not a size.
        if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos)
            return 0;
        const int32_t percent = std::atoi(value.c_str());
        return isEditorScale(percent) ? percent : 0;
    }
    return 0;
}

bool writeEditorScale(const std::filesystem::path& file, int32_t percent) {
    if (file.empty() || !isEditorScale(percent)) return false;
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) return false;
    // Written beside and renamed over, so an editor reading meanwhile sees the old file or the new one.
    std::filesystem::path temporary = file;
    temporary += ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << "# VR58 editor settings\n" << kScaleKey << " = " << percent << "\n";
        out.flush();
        if (!out) {
            out.close();
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, file, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace vr58
