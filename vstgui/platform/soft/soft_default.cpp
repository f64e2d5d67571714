// Targets without a native window backend draw in memory.
#include "vstgui/platform/resources.h"
#include "vstgui/platform/soft/soft_backend.h"

namespace VSTGUI::platform {

Backend& defaultBackend() {
    return soft::softBackend();
}

// No resource section here: everything comes from registered tables.
bool findModuleResource(const char*, int32_t, const uint8_t*&, size_t&) {
    return false;
}

std::unique_ptr<Image> loadModuleBitmap(int32_t) {
    return nullptr;
}

} // namespace VSTGUI::platform
