#include "vstgui/platform/x11/x11_window.h"

#include "vstgui/cbuttons.h"
#include "vstgui/ccursor.h"
#include "vstgui/platform/x11/x11_backend.h"
#include "vstgui/platform/x11/x11_error_trap.h"

#include <X11/cursorfont.h>

namespace VSTGUI::x11 {

namespace {

// What the window shows before the frame first paints, as on the other systems.
constexpr uint32_t kButtonFace = 0xFFF0F0F0u;

// No key events: those the window does not select go on to the host's windows as the server made them,
// so the host keeps its shortcuts; the host passes the editor's keys on through effEditKeyDown.
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | StructureNotifyMask;

int32_t buttonsOf(unsigned int state) {
    int32_t buttons = 0;
    if (state & Button1Mask) buttons |= kLButton;
    if (state & Button2Mask) buttons |= kMButton;
    if (state & Button3Mask) buttons |= kRButton;
    if (state & ShiftMask) buttons |= kShift;
    if (state & ControlMask) buttons |= kControl;
    if (state & Mod1Mask) buttons |= kAlt;
    return buttons;
}

unsigned int cursorShape(int32_t cursorType) {
    switch (cursorType) {
    case kCursorWait:
        return XC_watch;
    case kCursorHSize:
        return XC_sb_h_double_arrow;
    case kCursorVSize:
        return XC_sb_v_double_arrow;
    case kCursorSizeAll:
        return XC_fleur;
    case kCursorNESWSize:
        return XC_bottom_left_corner;
    case kCursorNWSESize:
        return XC_bottom_right_corner;
    case kCursorNotAllowed:
        return XC_X_cursor;
    case kCursorHand:
        return XC_hand2;
    default:
        return XC_num_glyphs; // none of its own: the parent's cursor
    }
}

} // namespace

std::unique_ptr<X11Window> X11Window::create(platform::WindowEvents& events, ::Window parent, CCoord width,
                                             CCoord height) {
    if (parent == 0 || parent > kLargestWindowId || width <= 0 || height <= 0) return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    XWindowAttributes attributes{};
    bool found = false;
    {
        ErrorTrap trap(display);
        found = XGetWindowAttributes(display, parent, &attributes) != 0 && trap.sync();
    }
    std::unique_ptr<X11Window> window;
    if (found && attributes.c_class == InputOutput)
        window.reset(new X11Window(events, display, parent, attributes, width, height));
    if (window && window->alive) return window;
    if (!window) {
        ErrorTrap trap(display);
        XCloseDisplay(display);
    }
    return nullptr;
}

X11Window::X11Window(platform::WindowEvents& events, Display* display, ::Window parent,
                     const XWindowAttributes& parentAttributes, CCoord width, CCoord height)
    : events(&events), display(display), parent(parent), root(parentAttributes.root),
      visual(parentAttributes.visual), depth(parentAttributes.depth), pixels(width, height, kButtonFace) {
    ErrorTrap trap(display);
    XSetWindowAttributes attributes{};
    attributes.event_mask = kEventMask;
    attributes.background_pixel = visualPixel(visual, kButtonFace);
    attributes.border_pixel = 0;
    attributes.bit_gravity = NorthWestGravity;
    xid = XCreateWindow(display, parent, 0, 0, width, height, 0, depth, InputOutput, visual,
                        CWEventMask | CWBackPixel | CWBorderPixel | CWBitGravity, &attributes);
    XMapWindow(display, xid);
    alive = xid != 0 && trap.sync();
    if (!alive) return;
    presenter = std::make_unique<Presenter>(display, xid, visual, depth, width, height);
    x11Backend().windowOpened(this);
}

X11Window::~X11Window() {
    *token = false;
    x11Backend().windowClosed(this);
    ErrorTrap trap(display);
    presenter.reset();
    for (Cursor cursor : cursors)
        if (cursor) XFreeCursor(display, cursor);
    if (alive) XDestroyWindow(display, xid);
    // Closing the connection also ends whatever of ours the server still holds.
    XCloseDisplay(display);
}

void* X11Window::handle() const {
    return alive ? reinterpret_cast<void*>(xid) : nullptr;
}

CPoint X11Window::screenOrigin() {
    if (!alive) return CPoint();
    ErrorTrap trap(display);
    int x = 0, y = 0;
    ::Window child = 0;
    if (!XTranslateCoordinates(display, xid, root, 0, 0, &x, &y, &child)) return CPoint();
    return CPoint(x, y);
}

void X11Window::resize(CCoord width, CCoord height) {
    if (!alive || width <= 0 || height <= 0) return;
    if (width == pixels.width && height == pixels.height) return;
    ErrorTrap trap(display);
    XResizeWindow(display, xid, width, height);
    pixels = soft::Pixels(width, height, kButtonFace);
    presenter = std::make_unique<Presenter>(display, xid, visual, depth, width, height);
}

void X11Window::resizeWithParents(CCoord width, CCoord height) {
    // The host's windows are the host's to size on X11 (it is told through the effect); only ours changes.
    resize(width, height);
}

bool X11Window::getPosition(CCoord& x, CCoord& y) {
    if (!alive) return false;
    ErrorTrap trap(display);
    ::Window rootReturn = 0;
    int px = 0, py = 0;
    unsigned int w = 0, h = 0, border = 0, bitDepth = 0;
    if (!XGetGeometry(display, parent, &rootReturn, &px, &py, &w, &h, &border, &bitDepth)) return false;
    x = px;
    y = py;
    return true;
}

bool X11Window::getSize(CRect& rect) {
    if (!alive) return false;
    ErrorTrap trap(display);
    ::Window rootReturn = 0;
    int px = 0, py = 0;
    unsigned int w = 0, h = 0, border = 0, bitDepth = 0;
    if (!XGetGeometry(display, parent, &rootReturn, &px, &py, &w, &h, &border, &bitDepth)) return false;
    rect = CRect(px, py, px + static_cast<CCoord>(w), py + static_cast<CCoord>(h));
    return true;
}

void X11Window::markDestroyed() {
    alive = false;
}

void X11Window::present(const CRect& area) {
    if (!alive || !presenter || area.isEmpty()) return;
    ErrorTrap trap(display);
    presenter->put(pixels, area);
    // A shared image must not change before the server has read it; a plain one was copied into the request.
    if (presenter->usesSharedMemory())
        trap.sync();
    else
        XFlush(display);
}

bool X11Window::pointerPosition(CPoint& where) {
    if (!alive) return false;
    ErrorTrap trap(display);
    ::Window rootReturn = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned int mask = 0;
    // False: the pointer is on another screen, where the window-relative position means nothing.
    if (!XQueryPointer(display, xid, &rootReturn, &child, &rootX, &rootY, &x, &y, &mask)) return false;
    where = CPoint(x, y);
    return true;
}

void X11Window::showCursor(int32_t cursorType) {
    if (!alive) return;
    ErrorTrap trap(display);
    const unsigned int shape = cursorShape(cursorType);
    if (shape == XC_num_glyphs || cursorType < 0 || cursorType >= 10) {
        XUndefineCursor(display, xid);
    } else {
        if (!cursors[cursorType]) cursors[cursorType] = XCreateFontCursor(display, shape);
        XDefineCursor(display, xid, cursors[cursorType]);
    }
    XFlush(display);
}

void X11Window::dispatchEvents() {
    // Inside a press only paints are handled, as the system's modal loops do elsewhere; the rest waits.
    if (pressDepth > 0) {
        dispatchExposures();
        return;
    }
    const std::shared_ptr<bool> guard = token;
    for (;;) {
        XEvent event;
        {
            ErrorTrap trap(display);
            if (!XPending(display)) break;
            XNextEvent(display, &event);
        }
        handleEvent(event);
        // A frame call may have ended the editor, and this window with it.
        if (!*guard) return;
    }
}

void X11Window::dispatchExposures() {
    XEvent event;
    for (;;) {
        {
            ErrorTrap trap(display);
            if (!XCheckTypedWindowEvent(display, xid, Expose, &event)) break;
        }
        addExposure(event.xexpose);
    }
    paintExposed();
}

void X11Window::addExposure(const XExposeEvent& event) {
    const CRect r(event.x, event.y, event.x + event.width, event.y + event.height);
    if (exposed.isEmpty())
        exposed = r;
    else
        exposed = CRect(std::min(exposed.left, r.left), std::min(exposed.top, r.top),
                        std::max(exposed.right, r.right), std::max(exposed.bottom, r.bottom));
}

void X11Window::paintExposed() {
    CRect region(exposed);
    exposed = CRect();
    region.bound(pixels.bounds());
    if (region.isEmpty() || !alive || !events) return;
    events->windowPaint(&pixels, region);
}

void X11Window::handleEvent(XEvent& event) {
    switch (event.type) {
    case Expose:
        addExposure(event.xexpose);
        if (event.xexpose.count == 0) paintExposed();
        break;
    case ButtonPress:
        handlePress(event.xbutton);
        break;
    case EnterNotify:
    case MotionNotify:
        x11Backend().windowActive(this);
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == xid && alive && events) events->windowDestroyed();
        break;
    default:
        // Releases end drags through the polled button state; leaving changes nothing the frame keeps.
        break;
    }
}

void X11Window::handlePress(const XButtonEvent& event) {
    if (!alive || !events) return;
    x11Backend().windowActive(this);
    const CPoint where(event.x, event.y);
    switch (event.button) {
    case Button1:
    case Button2:
    case Button3: {
        // The press is read late (at idle): the buttons it carried, not the ones held now, start it.
        const int32_t pressed = event.button == Button1   ? kLButton
                                : event.button == Button2 ? kMButton
                                                          : kRButton;
        // The keyboard stays where the host put it: a press that focuses a knob does not take it.
        const std::shared_ptr<bool> guard = token;
        ++pressDepth;
        events->windowButtonDown(where, buttonsOf(event.state) | pressed);
        if (!*guard) return;
        --pressDepth;
        break;
    }
    case 4:
        events->windowWheel(where, 1.0f);
        break;
    case 5:
        events->windowWheel(where, -1.0f);
        break;
    case 6:
        events->windowWheel(where, -1.0f, kMouseWheelAxisX);
        break;
    case 7:
        events->windowWheel(where, 1.0f, kMouseWheelAxisX);
        break;
    default:
        break;
    }
}

} // namespace VSTGUI::x11
