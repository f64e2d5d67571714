// The user's presets: standard .fxp files holding the plug-in's chunk, in one folder per user shared by
// every editor: %APPDATA%\Quorvane\VR58\Presets on Windows, else $XDG_DATA_HOME/quorvane-vr58/presets
// (~/.local/share when unset). The face saves under free names ("User 1", "User 2", ...), as no file
// dialog is at hand in every window system.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vr58 {

// The folder, or an empty path when the user's folders cannot be found.
std::filesystem::path userPresetFolder();
// The .fxp files in the folder, sorted by name as a person reads numbers ("User 2" before "User 10").
std::vector<std::filesystem::path> listUserPresets(const std::filesystem::path& folder);
// "User N" with N one above the highest saved; the name alone, without folder or extension.
std::string nextUserPresetName(const std::filesystem::path& folder);

// Writes the editor build's values as a preset file of that build, making the folder when needed; false
// when it cannot be written (nothing is left half-written under the name).
bool writePresetFile(const std::filesystem::path& file, const std::string& name, const float* values);
// Reads a preset file of either build into the editor build's values: parameters the file lacks are NaN.
// False, with a line saying why, for a file that is not a preset of this plug-in.
bool readPresetFile(const std::filesystem::path& file, float* values, std::string& name, std::string& error);

// Opens the folder in the system's file manager, making it first; false when that cannot be started.
bool showFolder(const std::filesystem::path& folder);

} // namespace vr58
