#include "editor/preset_dialogs.h"

namespace vr58 {

bool hasPresetFileDialogs() {
    return false;
}

std::filesystem::path askPresetFileToSave(void*, const std::filesystem::path&, const std::string&) {
    return {};
}

std::filesystem::path askPresetFileToLoad(void*, const std::filesystem::path&) {
    return {};
}

} // namespace vr58
