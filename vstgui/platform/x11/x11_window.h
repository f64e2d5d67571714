// The frame's window on X11: a child of the host's window with its own display connection. It reads its
// events when asked (at the frame's idle) and reports paints, presses and wheel turns to the frame's
// WindowEvents. It never takes the keyboard: keys reach the frame from the host, through the editor.
#pragma once

#include "vstgui/platform/platform.h"
#include "vstgui/platform/soft/soft_pixels.h"
#include "vstgui/platform/x11/x11_presenter.h"

#include <X11/Xlib.h>

#include <memory>

namespace VSTGUI::x11 {

class X11Window : public platform::Window {
public:
    // Null when no display can be opened or parent names no window on it.
    static std::unique_ptr<X11Window> create(platform::WindowEvents& events, ::Window parent, CCoord width,
                                             CCoord height);
    ~X11Window() override;

    void* handle() const override;
    CPoint screenOrigin() override;
    void resizeWithParents(CCoord width, CCoord height) override;
    void resize(CCoord width, CCoord height) override;
    bool getPosition(CCoord& x, CCoord& y) override;
    bool getSize(CRect& rect) override;
    void markDestroyed() override;
    void dispatchEvents() override;
    // One XQueryPointer on this window, where the screen position and the origin would take two.
    bool pointerPosition(CPoint& where) override;

    // Paints what the server asks to be repainted, and nothing else (inside a press's modal loop).
    void dispatchExposures();
    // Shows `area` of the window's pixels on the screen.
    void present(const CRect& area);
    void showCursor(int32_t cursorType);

    soft::Pixels& screen() { return pixels; }
    Display* connection() const { return display; }
    ::Window id() const { return xid; }
    ::Window parentId() const { return parent; }
    ::Window rootId() const { return root; }
    bool usesSharedMemory() const { return presenter && presenter->usesSharedMemory(); }
    // Cleared when the window object goes: code that called into the frame checks it before going on.
    std::shared_ptr<bool> aliveToken() const { return token; }

private:
    X11Window(platform::WindowEvents& events, Display* display, ::Window parent,
              const XWindowAttributes& parentAttributes, CCoord width, CCoord height);

    void handleEvent(XEvent& event);
    void handlePress(const XButtonEvent& event);
    void addExposure(const XExposeEvent& event);
    void paintExposed();

    platform::WindowEvents* events;
    Display* display;
    ::Window parent;
    ::Window root;
    ::Window xid = 0;
    Visual* visual;
    int depth;
    soft::Pixels pixels;
    std::unique_ptr<Presenter> presenter;
    std::shared_ptr<bool> token = std::make_shared<bool>(true);
    bool alive = false;
    int pressDepth = 0;
    CRect exposed;
    Cursor cursors[10] = {};
};

} // namespace VSTGUI::x11
