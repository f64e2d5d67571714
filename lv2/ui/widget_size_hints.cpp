#include "widget_size_hints.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <dlfcn.h>

#include <cstdint>

namespace vr58::lv2 {

bool publishWidgetSize(void* widget, int width, int height) {
    // The toolkit loaded libX11 when the face's window opened; it is looked up here, never loaded, so
    // the UI's library still loads where it is missing.
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!x11) return false;
    using OpenDisplay = Display* (*)(const char*);
    using SetHints = void (*)(Display*, Window, XSizeHints*);
    using CloseDisplay = int (*)(Display*);
    const auto openDisplay = reinterpret_cast<OpenDisplay>(dlsym(x11, "XOpenDisplay"));
    const auto setHints = reinterpret_cast<SetHints>(dlsym(x11, "XSetWMNormalHints"));
    const auto closeDisplay = reinterpret_cast<CloseDisplay>(dlsym(x11, "XCloseDisplay"));
    Display* display = openDisplay && setHints && closeDisplay ? openDisplay(nullptr) : nullptr;
    if (display) {
        XSizeHints hints{};
        hints.flags = PMinSize | PMaxSize | PBaseSize;
        hints.min_width = hints.max_width = hints.base_width = width;
        hints.min_height = hints.max_height = hints.base_height = height;
        setHints(display, static_cast<Window>(reinterpret_cast<uintptr_t>(widget)), &hints);
        closeDisplay(display); // sends the request
    }
    dlclose(x11);
    return display != nullptr;
}

} // namespace vr58::lv2
