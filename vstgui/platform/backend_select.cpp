#include "vstgui/platform/platform.h"

namespace VSTGUI::platform {

namespace {
Backend* activeBackend = nullptr;
void* module = nullptr;
} // namespace

Backend& backend() {
    return activeBackend ? *activeBackend : defaultBackend();
}

Backend* setBackend(Backend* b) {
    Backend* previous = activeBackend;
    activeBackend = b;
    return previous;
}

void setModuleHandle(void* handle) {
    module = handle;
}

void* moduleHandle() {
    return module;
}

} // namespace VSTGUI::platform
