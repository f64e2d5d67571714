#include "vstgui/platform/x11/x11_backend.h"

#include "vstgui/platform/embedding.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_surface.h"
#include "vstgui/platform/x11/x11_error_trap.h"
#include "vstgui/platform/x11/x11_window.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

namespace VSTGUI::x11 {

namespace {

// A window's pixels as a drawing target; what was drawn goes to the screen when the drawing ends.
class WindowSurface : public soft::SoftSurface {
public:
    explicit WindowSurface(X11Window& window)
        : SoftSurface(soft::softBackend(), window.screen()), window(&window), token(window.aliveToken()) {}
    ~WindowSurface() override {
        if (*token) window->present(touchedArea());
    }

private:
    X11Window* window;
    std::shared_ptr<bool> token;
};

struct PointerState {
    CPoint position;
    unsigned int mask = 0;
};

bool queryPointer(X11Window* window, PointerState& state) {
    if (!window) return false;
    Display* display = window->connection();
    ErrorTrap trap(display);
    ::Window rootReturn = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    XQueryPointer(display, window->rootId(), &rootReturn, &child, &rootX, &rootY, &x, &y, &state.mask);
    state.position = CPoint(rootX, rootY);
    return true;
}

} // namespace

uint32_t X11Backend::tickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                                 static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

void X11Backend::sleep(uint32_t milliseconds) {
    timespec wait{static_cast<time_t>(milliseconds / 1000),
                  static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&wait, &wait) != 0) {
    }
}

X11Window* X11Backend::pointerSource() const {
    const std::thread::id self = std::this_thread::get_id();
    const std::lock_guard<std::mutex> lock(guard);
    for (const OpenWindow& a : active)
        if (a.owner == self) return a.window;
    for (auto w = windows.rbegin(); w != windows.rend(); ++w)
        if (w->owner == self) return w->window;
    return nullptr;
}

std::vector<X11Window*> X11Backend::windowsOfThisThread() const {
    const std::thread::id self = std::this_thread::get_id();
    std::vector<X11Window*> own;
    const std::lock_guard<std::mutex> lock(guard);
    for (const OpenWindow& w : windows)
        if (w.owner == self) own.push_back(w.window);
    return own;
}

CPoint X11Backend::cursorPosition() {
    PointerState state;
    return queryPointer(pointerSource(), state) ? state.position : CPoint();
}

platform::InputState X11Backend::inputState() {
    platform::InputState s;
    PointerState state;
    if (!queryPointer(pointerSource(), state)) return s;
    s.left = (state.mask & Button1Mask) != 0;
    s.middle = (state.mask & Button2Mask) != 0;
    s.right = (state.mask & Button3Mask) != 0;
    s.shift = (state.mask & ShiftMask) != 0;
    s.control = (state.mask & ControlMask) != 0;
    s.alt = (state.mask & Mod1Mask) != 0;
    return s;
}

void X11Backend::dispatchPendingPaint() {
    // A window closed by an earlier one's paint (the host reacting) is skipped.
    for (X11Window* window : windowsOfThisThread()) {
        const std::vector<X11Window*> still = windowsOfThisThread();
        if (std::find(still.begin(), still.end(), window) != still.end()) window->dispatchExposures();
    }
}

std::unique_ptr<platform::Image> X11Backend::createImage(CCoord width, CCoord height) {
    return soft::softBackend().createImage(width, height);
}

std::unique_ptr<platform::Surface> X11Backend::createWindowSurface(void* systemContext, void* window) {
    if (X11Window* own = findWindow(window)) return std::make_unique<WindowSurface>(*own);
    if (systemContext)
        return std::make_unique<soft::SoftSurface>(soft::softBackend(),
                                                   *static_cast<soft::Pixels*>(systemContext));
    return nullptr;
}

std::unique_ptr<platform::Surface> X11Backend::createOffscreen(void* window, CCoord width, CCoord height) {
    return soft::softBackend().createOffscreen(window, width, height);
}

CPoint X11Backend::windowScreenOrigin(void* window) {
    if (X11Window* own = findWindow(window)) return own->screenOrigin();
    // The host's window, which the editor uses for wheel turns the host passes on.
    for (X11Window* own : windowsOfThisThread()) {
        if (reinterpret_cast<void*>(own->parentId()) != window) continue;
        ErrorTrap trap(own->connection());
        int x = 0, y = 0;
        ::Window child = 0;
        if (XTranslateCoordinates(own->connection(), own->parentId(), own->rootId(), 0, 0, &x, &y, &child))
            return CPoint(x, y);
    }
    return CPoint();
}

int32_t X11Backend::screenDpi(void*) {
    // A connection of its own: asked before the frame's window (and its connection) exists.
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0;
    const int32_t dpi = dpiFromResources(XResourceManagerString(display));
    XCloseDisplay(display);
    return dpi;
}

void X11Backend::setCursor(int32_t cursorType, void*) {
    if (X11Window* window = pointerSource()) window->showCursor(cursorType);
}

std::unique_ptr<platform::Window> X11Backend::createFrameWindow(platform::WindowEvents& events, void* parent,
                                                                CCoord width, CCoord height) {
    platform::setSwapMouseButtons(systemSwapsButtons());
    return X11Window::create(events, static_cast<::Window>(reinterpret_cast<uintptr_t>(parent)), width,
                             height);
}

void X11Backend::windowOpened(X11Window* window) {
    const std::lock_guard<std::mutex> lock(guard);
    windows.push_back({window, std::this_thread::get_id()});
}

void X11Backend::windowClosed(X11Window* window) {
    const std::lock_guard<std::mutex> lock(guard);
    const auto same = [window](const OpenWindow& w) { return w.window == window; };
    windows.erase(std::remove_if(windows.begin(), windows.end(), same), windows.end());
    active.erase(std::remove_if(active.begin(), active.end(), same), active.end());
}

void X11Backend::windowActive(X11Window* window) {
    const std::thread::id self = std::this_thread::get_id();
    const std::lock_guard<std::mutex> lock(guard);
    for (OpenWindow& a : active)
        if (a.owner == self) {
            a.window = window;
            return;
        }
    active.push_back({window, self});
}

X11Window* X11Backend::findWindow(void* handle) const {
    if (!handle) return nullptr;
    for (X11Window* window : windowsOfThisThread())
        if (window->handle() == handle) return window;
    return nullptr;
}

size_t X11Backend::openWindows() const {
    const std::lock_guard<std::mutex> lock(guard);
    return windows.size();
}

X11Backend& x11Backend() {
    static X11Backend instance;
    return instance;
}

int32_t dpiFromResources(const char* resources) {
    if (!resources) return 0;
    const std::string text(resources);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string key = line.substr(0, colon);
        key.erase(key.find_last_not_of(" \t") + 1);
        key.erase(0, key.find_first_not_of(" \t"));
        // "*Xft.dpi" binds loosely and applies to Xft as well.
        if (key != "Xft.dpi" && key != "*Xft.dpi") continue;
        char* after = nullptr;
        const double dpi = std::strtod(line.c_str() + colon + 1, &after);
        // Up to ten times 96 is a screen; beyond (or no number at all) is a broken resource.
        if (after == line.c_str() + colon + 1 || !(dpi >= 24.0 && dpi <= 960.0)) return 0;
        return static_cast<int32_t>(std::lround(dpi));
    }
    return 0;
}

bool isX11Window(void* parent) {
    const auto id = reinterpret_cast<uintptr_t>(parent);
    if (id == 0 || id > kLargestWindowId) return false;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    ErrorTrap trap(display);
    XWindowAttributes attributes{};
    const bool found =
        XGetWindowAttributes(display, static_cast<::Window>(id), &attributes) != 0 && trap.sync();
    XCloseDisplay(display);
    return found;
}

} // namespace VSTGUI::x11

namespace VSTGUI::platform {

// Linux hosts give the editor X11 windows.
Backend& nativeBackend() {
    return x11::x11Backend();
}

} // namespace VSTGUI::platform
