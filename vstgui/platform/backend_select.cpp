#include "vstgui/platform/platform.h"

namespace VSTGUI::platform {

namespace {
Backend* activeBackend = nullptr;
}

Backend& backend() {
    return activeBackend ? *activeBackend : defaultBackend();
}

Backend* setBackend(Backend* b) {
    Backend* previous = activeBackend;
    activeBackend = b;
    return previous;
}

} // namespace VSTGUI::platform
