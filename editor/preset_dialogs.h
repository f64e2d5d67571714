// The system's file dialogs for saving and loading a preset, where the window system has them (Windows).
// Elsewhere the face saves under free names and lists the folder in its menu instead.
#pragma once

#include <filesystem>
#include <string>

namespace vr58 {

bool hasPresetFileDialogs();
// The user-interface thread; modal over `owner` (the host's window). The chosen file, or an empty path
// when the user cancelled or there is no dialog.
std::filesystem::path askPresetFileToSave(void* owner, const std::filesystem::path& folder,
                                          const std::string& suggestedName);
std::filesystem::path askPresetFileToLoad(void* owner, const std::filesystem::path& folder);

} // namespace vr58
