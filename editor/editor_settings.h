// The user's editor settings, one small text file per user shared by every editor of the plug-in: on
// Windows under %APPDATA%, elsewhere under $XDG_CONFIG_HOME or ~/.config. A missing, unreadable or
// garbled file means "no choice"; a file that cannot be written loses the choice, nothing more.
#pragma once

#include <cstdint>
#include <filesystem>

namespace vr58 {

// The settings file's path, or an empty path when the user's folder cannot be found.
std::filesystem::path editorSettingsPath();

// The saved editor size in percent, or 0 when there is none that the editor offers.
int32_t readEditorScale(const std::filesystem::path& file);
// Saves the size, making the folder when needed; false when it cannot be written.
bool writeEditorScale(const std::filesystem::path& file, int32_t percent);

} // namespace vr58
