#include "editor/user_presets.h"

#include <windows.h>

#include <shellapi.h>
#include <system_error>

namespace vr58 {

bool showFolder(const std::filesystem::path& folder) {
    if (folder.empty()) return false;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const auto result = reinterpret_cast<intptr_t>(
        ShellExecuteW(nullptr, L"open", folder.wstring().c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

} // namespace vr58
