#include "editor/preset_dialogs.h"

#include <windows.h>

#include <commdlg.h>
#include <system_error>
#include <vector>

namespace vr58 {

namespace {

constexpr wchar_t kFilter[] = L"VST preset (*.fxp)\0*.fxp\0All files\0*.*\0";

std::filesystem::path ask(void* owner, const std::filesystem::path& folder, const std::wstring& suggested,
                          bool save) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    std::vector<wchar_t> file(32768, L'\0');
    suggested.copy(file.data(), file.size() - 1);
    const std::wstring initial = folder.wstring();
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = static_cast<HWND>(owner);
    dialog.lpstrFilter = kFilter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrInitialDir = initial.c_str();
    dialog.lpstrDefExt = L"fxp";
    // No change of the process's current folder: the host's relative paths stay as they were.
    dialog.Flags = OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    return chosen ? std::filesystem::path(file.data()) : std::filesystem::path();
}

} // namespace

bool hasPresetFileDialogs() {
    return true;
}

std::filesystem::path askPresetFileToSave(void* owner, const std::filesystem::path& folder,
                                          const std::string& suggestedName) {
    return ask(owner, folder, std::filesystem::path(suggestedName).wstring(), true);
}

std::filesystem::path askPresetFileToLoad(void* owner, const std::filesystem::path& folder) {
    return ask(owner, folder, std::wstring(), false);
}

} // namespace vr58
