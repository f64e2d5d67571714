// The X11 backend: the frame's window is a child of the host's X11 window (whose id the host passes as the
// parent), drawn from the memory backend's surfaces and put on the screen with XPutImage. Each frame
// window has its own connection to the display, opened with the window and closed with it and used only on
// the thread that made it, so several editors and several host threads never share one; its events are
// read at the frame's idle. Pixels,
// images and offscreens are the memory backend's, so bitmaps loaded under either backend draw in both.
#pragma once

#include "vstgui/platform/platform.h"

#include <mutex>
#include <thread>
#include <vector>

namespace VSTGUI::x11 {

class X11Window;

// X resource ids have 29 bits.
constexpr uintptr_t kLargestWindowId = 0x1FFFFFFF;

class X11Backend : public platform::Backend {
public:
    uint32_t tickCount() override;
    void sleep(uint32_t milliseconds) override;
    // The pointer and the button state as the display server has them at this moment.
    CPoint cursorPosition() override;
    platform::InputState inputState() override;
    // The server reports buttons after its own mapping: the primary button is button 1 either way.
    bool systemSwapsButtons() override { return false; }
    void dispatchPendingPaint() override;

    std::unique_ptr<platform::Image> createImage(CCoord width, CCoord height) override;
    // window is a frame window's id (its handle); what is drawn reaches the screen when the surface ends.
    std::unique_ptr<platform::Surface> createWindowSurface(void* systemContext, void* window) override;
    std::unique_ptr<platform::Surface> createOffscreen(void* window, CCoord width, CCoord height) override;
    CPoint windowScreenOrigin(void* window) override;
    // The Xft.dpi resource of the display (what desktops set for their scaling), 0 when none is set.
    int32_t screenDpi(void* window) override;

    // A window shows its parent's cursor unless the frame picks one: "none of its own" is the default.
    void* currentCursor() override { return nullptr; }
    // Applies to the frame window the pointer is in (the one that takes the frame's clicks).
    void setCursor(int32_t cursorType, void* defaultCursor) override;

    // parent is the host's X11 window id; null when no display is reachable or the id names no window.
    std::unique_ptr<platform::Window> createFrameWindow(platform::WindowEvents& events, void* parent,
                                                        CCoord width, CCoord height) override;

    // Bookkeeping of the frame windows, by the windows themselves on the threads that own them.
    void windowOpened(X11Window* window);
    void windowClosed(X11Window* window);
    // The window that last took a press or the pointer: its connection answers this thread's pointer
    // queries.
    void windowActive(X11Window* window);
    // Any thread; finds only windows of the calling thread, as their connections are used unlocked.
    X11Window* findWindow(void* handle) const;
    // Any thread: the windows of every thread.
    size_t openWindows() const;

private:
    struct OpenWindow {
        X11Window* window;
        std::thread::id owner;
    };
    // This thread's active window, else its last opened one: another thread's connection is never used.
    X11Window* pointerSource() const;
    std::vector<X11Window*> windowsOfThisThread() const;

    // Editors of several instances open and close windows on their own threads.
    mutable std::mutex guard;
    std::vector<OpenWindow> windows;
    std::vector<OpenWindow> active; // at most one a thread
};

X11Backend& x11Backend();

// True when parent is the id of a window on the display that DISPLAY names: what Linux hosts pass to
// the editor. Values wider than an X id (29 bits), such as heap pointers, are refused without asking.
bool isX11Window(void* parent);

// The Xft.dpi value of a resource database string (the root window's RESOURCE_MANAGER), rounded; 0 when
// it is missing or not a plausible resolution.
int32_t dpiFromResources(const char* resources);

} // namespace VSTGUI::x11
