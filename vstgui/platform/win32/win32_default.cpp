// The Windows build draws with GDI and finds its resources in the module's resource section.
#include "vstgui/platform/embedding.h"
#include "vstgui/platform/resources.h"
#include "vstgui/platform/win32/win32_backend.h"

namespace VSTGUI::platform {

Backend& defaultBackend() {
    return win32::win32Backend();
}

Backend& nativeBackend() {
    return win32::win32Backend();
}

bool findModuleResource(const char* type, int32_t id, const uint8_t*& data, size_t& size) {
    HINSTANCE module = win32::moduleInstance();
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!resource) return false;
    const DWORD bytes = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    const void* start = loaded ? LockResource(loaded) : nullptr;
    if (!start || bytes == 0) return false;
    data = static_cast<const uint8_t*>(start);
    size = bytes;
    return true;
}

std::unique_ptr<Image> loadModuleBitmap(int32_t id) {
    return win32::win32Backend().loadPlainBitmap(id);
}

} // namespace VSTGUI::platform
