// libX11 and libXext are loaded when the first editor window opens, not when the host loads the plug-in:
// a server or container without X libraries still renders audio with VR58G_x64.so. The window code calls
// Xlib by its ordinary names; these definitions, local to the plug-in, forward each call to the library
// loaded on first use. Until it loads (and where it cannot) a call does nothing and answers failure, so
// XOpenDisplay gives no display and the editor does not open; the next opening tries again.
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <dlfcn.h>

#include <atomic>
#include <mutex>

namespace {

// One line per function: its library, result, name, parameters, arguments and the answer without it.
#define VR58_XLIB_FUNCTIONS(F)                                                                               \
    F(x11, Display*, XOpenDisplay, (_Xconst char* name), (name), nullptr)                                    \
    F(x11, int, XCloseDisplay, (Display * d), (d), 0)                                                        \
    F(x11, char*, XResourceManagerString, (Display * d), (d), nullptr)                                       \
    F(x11, XErrorHandler, XSetErrorHandler, (XErrorHandler handler), (handler), nullptr)                     \
    F(x11, Bool, XTranslateCoordinates,                                                                      \
      (Display * d, Window from, Window to, int x, int y, int* toX, int* toY, Window* child),                \
      (d, from, to, x, y, toX, toY, child), False)                                                           \
    F(x11, Status, XGetWindowAttributes, (Display * d, Window w, XWindowAttributes * a), (d, w, a), 0)       \
    F(x11, Status, XGetGeometry,                                                                             \
      (Display * d, Drawable w, Window * root, int* x, int* y, unsigned* width, unsigned* height,            \
       unsigned* border, unsigned* depth),                                                                   \
      (d, w, root, x, y, width, height, border, depth), 0)                                                   \
    F(x11, int, XFlush, (Display * d), (d), 0)                                                               \
    F(x11, int, XSync, (Display * d, Bool discard), (d, discard), 0)                                         \
    F(x11, int, XPending, (Display * d), (d), 0)                                                             \
    F(x11, int, XNextEvent, (Display * d, XEvent * e), (d, e), 0)                                            \
    F(x11, Bool, XCheckTypedWindowEvent, (Display * d, Window w, int type, XEvent* e), (d, w, type, e),      \
      False)                                                                                                 \
    F(x11, Bool, XQueryPointer,                                                                              \
      (Display * d, Window w, Window * root, Window * child, int* rootX, int* rootY, int* x, int* y,         \
       unsigned* mask),                                                                                      \
      (d, w, root, child, rootX, rootY, x, y, mask), False)                                                  \
    F(x11, Window, XCreateWindow,                                                                            \
      (Display * d, Window parent, int x, int y, unsigned width, unsigned height, unsigned border,           \
       int depth, unsigned kind, Visual* visual, unsigned long mask, XSetWindowAttributes* a),               \
      (d, parent, x, y, width, height, border, depth, kind, visual, mask, a), 0)                             \
    F(x11, int, XDestroyWindow, (Display * d, Window w), (d, w), 0)                                          \
    F(x11, int, XMapWindow, (Display * d, Window w), (d, w), 0)                                              \
    F(x11, int, XResizeWindow, (Display * d, Window w, unsigned width, unsigned height),                     \
      (d, w, width, height), 0)                                                                              \
    F(x11, GC, XCreateGC, (Display * d, Drawable w, unsigned long mask, XGCValues* v), (d, w, mask, v),      \
      nullptr)                                                                                               \
    F(x11, int, XFreeGC, (Display * d, GC gc), (d, gc), 0)                                                   \
    F(x11, Cursor, XCreateFontCursor, (Display * d, unsigned shape), (d, shape), 0)                          \
    F(x11, int, XFreeCursor, (Display * d, Cursor c), (d, c), 0)                                             \
    F(x11, int, XDefineCursor, (Display * d, Window w, Cursor c), (d, w, c), 0)                              \
    F(x11, int, XUndefineCursor, (Display * d, Window w), (d, w), 0)                                         \
    F(x11, XImage*, XCreateImage,                                                                            \
      (Display * d, Visual * visual, unsigned depth, int format, int offset, char* data, unsigned width,     \
       unsigned height, int pad, int bytesPerLine),                                                          \
      (d, visual, depth, format, offset, data, width, height, pad, bytesPerLine), nullptr)                   \
    F(x11, int, XPutImage,                                                                                   \
      (Display * d, Drawable w, GC gc, XImage * image, int srcX, int srcY, int x, int y, unsigned width,     \
       unsigned height),                                                                                     \
      (d, w, gc, image, srcX, srcY, x, y, width, height), 0)                                                 \
    F(xext, Bool, XShmQueryExtension, (Display * d), (d), False)                                             \
    F(xext, Bool, XShmAttach, (Display * d, XShmSegmentInfo * info), (d, info), False)                       \
    F(xext, Bool, XShmDetach, (Display * d, XShmSegmentInfo * info), (d, info), False)                       \
    F(xext, XImage*, XShmCreateImage,                                                                        \
      (Display * d, Visual * visual, unsigned depth, int format, char* data, XShmSegmentInfo* info,          \
       unsigned width, unsigned height),                                                                     \
      (d, visual, depth, format, data, info, width, height), nullptr)                                        \
    F(xext, Bool, XShmPutImage,                                                                              \
      (Display * d, Drawable w, GC gc, XImage * image, int srcX, int srcY, int x, int y, unsigned width,     \
       unsigned height, Bool sendEvent),                                                                     \
      (d, w, gc, image, srcX, srcY, x, y, width, height, sendEvent), False)

struct Functions {
#define VR58_XLIB_POINTER(library, result, name, parameters, arguments, failure)                             \
    result(*name) parameters = nullptr;
    VR58_XLIB_FUNCTIONS(VR58_XLIB_POINTER)
#undef VR58_XLIB_POINTER
};

Functions functions;
std::atomic<bool> loaded{false};
std::mutex loading;

// Both libraries and every function, or nothing: a half-loaded Xlib is never used.
bool load() {
    if (loaded.load(std::memory_order_acquire)) return true;
    std::lock_guard<std::mutex> lock(loading);
    if (loaded.load(std::memory_order_relaxed)) return true;
    void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    void* xext = x11 ? dlopen("libXext.so.6", RTLD_NOW | RTLD_LOCAL) : nullptr;
    Functions found;
    bool complete = x11 && xext;
#define VR58_XLIB_FIND(library, result, name, parameters, arguments, failure)                                \
    if (complete) {                                                                                          \
        found.name = reinterpret_cast<result(*) parameters>(dlsym(library, #name));                          \
        complete = found.name != nullptr;                                                                    \
    }
    VR58_XLIB_FUNCTIONS(VR58_XLIB_FIND)
#undef VR58_XLIB_FIND
    if (!complete) {
        if (xext) dlclose(xext);
        if (x11) dlclose(x11);
        return false;
    }
    // Kept for the life of the plug-in: windows, images and error handlers of the library live on.
    functions = found;
    loaded.store(true, std::memory_order_release);
    return true;
}

} // namespace

extern "C" {
#define VR58_XLIB_FORWARD(library, result, name, parameters, arguments, failure)                             \
    result name parameters {                                                                                 \
        return load() ? functions.name arguments : failure;                                                  \
    }
VR58_XLIB_FUNCTIONS(VR58_XLIB_FORWARD)
#undef VR58_XLIB_FORWARD
}
