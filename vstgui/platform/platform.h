// The seam between the portable toolkit and the operating system. The toolkit asks these interfaces for
// everything that touches pixels, the pointer, the clock or windows. Each frame works with the backend it
// was made with, so editors of different backends live side by side; CMake links exactly one backend's
// defaultBackend() into each target (GDI/user32 on Windows, memory surfaces elsewhere) for the rest.
// Nothing here knows the toolkit's views or frame: windows report to a WindowEvents.
#pragma once

#include "vstgui/ccolor.h"
#include "vstgui/cgeometry.h"
#include "vstgui/platform/window_events.h"

#include <cstdint>
#include <memory>

namespace VSTGUI::platform {

class Backend;

// A decoded picture: 32-bit pixels, bytes blue, green, red, alpha, rows bottom-up, colours premultiplied.
class Image {
public:
    Image(const Backend& owner, CCoord width, CCoord height) : owner(owner), w(width), h(height) {}
    virtual ~Image() = default;
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    CCoord width() const { return w; }
    CCoord height() const { return h; }
    // Directly writable pixels (stride width x 4), or null for an image the system loaded itself.
    virtual uint8_t* bits() = 0;

    const Backend& owner;

private:
    CCoord w;
    CCoord h;
};

// One drawing target with its current pen, brush and clip. Rectangles are surface pixels, right and
// bottom exclusive. Text is drawn by the toolkit from glyph images, so a surface keeps no font.
class Surface {
public:
    explicit Surface(const Backend& owner) : owner(owner) {}
    virtual ~Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    virtual void setPen(CColor color, CCoord width) = 0;
    // Answers false when the brush could not be made; the previous one then stays.
    virtual bool setBrush(CColor color) = 0;
    virtual void setCopyMode() = 0;

    virtual void fillRect(const CRect& r) = 0;
    virtual void moveTo(CPoint p) = 0;
    // One-pixel line from the pen position; the end point is not painted.
    virtual void lineTo(CPoint p) = 0;
    virtual void setClip(const CRect& r) = 0;

    // Opaque copy of dest-sized block from this surface at srcPos to dest.
    virtual void copyTo(Surface& dest, const CRect& destRect, CPoint srcPos) = 0;
    virtual void copyImage(const Image& image, const CRect& destRect, CPoint srcPos) = 0;
    // Source-over of premultiplied pixels with an extra constant alpha; without perPixel the image's own
    // alpha bytes are ignored.
    virtual void blendImage(const Image& image, const CRect& destRect, CPoint srcPos, uint8_t alpha,
                            bool perPixel) = 0;
    virtual void keyImage(const Image& image, const CRect& destRect, CPoint srcPos, CColor key) = 0;

    // Reads a block as 0xAARRGGBB values, top row first; used by tests and the PNG dump.
    virtual bool readPixels(const CRect& r, uint32_t* out) = 0;

    const Backend& owner;
};

// Physical pointer and keyboard state at the moment of the call.
struct InputState {
    bool left = false;
    bool middle = false;
    bool right = false;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

class Window;

// One window system. Editors of several instances may use one backend on different threads at once: every
// backend keeps what it shares between its windows atomic or under its own lock.
class Backend {
public:
    virtual ~Backend() = default;

    // Any thread.
    virtual uint32_t tickCount() = 0;
    virtual void sleep(uint32_t milliseconds) = 0;
    // The GUI thread of a frame of this backend, inside its event handling (drag loops).
    virtual CPoint cursorPosition() = 0;
    virtual InputState inputState() = 0;
    virtual bool systemSwapsButtons() = 0;
    // Dispatches one waiting paint request of this thread, if any (drag loops keep the window fresh).
    virtual void dispatchPendingPaint() = 0;

    // Any thread (bitmaps are decoded wherever an editor is made).
    virtual std::unique_ptr<Image> createImage(CCoord width, CCoord height) = 0;
    // The GUI thread of the frame. Wraps a native drawing handle, or obtains one for a window; null when
    // neither is usable.
    virtual std::unique_ptr<Surface> createWindowSurface(void* systemContext, void* window) = 0;
    virtual std::unique_ptr<Surface> createOffscreen(void* window, CCoord width, CCoord height) = 0;
    virtual CPoint windowScreenOrigin(void* window) = 0;
    // Dots per inch of the screen a window is on (96 is 100 %), of the main screen for a null window;
    // 0 when the system does not say.
    virtual int32_t screenDpi(void* /*window*/) { return 0; }

    // The GUI thread of the frame. The cursor shown now (null when none is), and showing the cursor of a
    // type: the types without a system cursor of their own show `defaultCursor`.
    virtual void* currentCursor() = 0;
    virtual void setCursor(int32_t cursorType, void* defaultCursor) = 0;

    // The GUI thread that will own the window: the frame's child window inside the host's window, which
    // reports to `events` while it lives; null when parent is null or creation fails.
    virtual std::unique_ptr<Window> createFrameWindow(WindowEvents& events, void* parent, CCoord width,
                                                      CCoord height) = 0;
};

// The frame's own window. It reports paints, button presses, wheel turns and its end to the WindowEvents
// it was made for. Every call runs on the GUI thread that created the window.
class Window {
public:
    virtual ~Window() = default;
    virtual void* handle() const = 0;
    virtual CPoint screenOrigin() = 0;
    // Resizes this window and the host's windows around it as far as they belong to the editor.
    virtual void resizeWithParents(CCoord width, CCoord height) = 0;
    virtual void resize(CCoord width, CCoord height) = 0;
    virtual bool getPosition(CCoord& x, CCoord& y) = 0;
    virtual bool getSize(CRect& rect) = 0;
    // The system destroyed the window (the host closed its own first): forget the handle.
    virtual void markDestroyed() = 0;
    // Reads and handles the events waiting for the window, on the GUI thread at the frame's idle. Systems
    // that call the window themselves (Win32's window procedure) have nothing to do here.
    virtual void dispatchEvents() {}
    // The pointer's position relative to this window's origin, where the system answers that in one
    // query; false sends the caller to the screen position and the window's origin.
    virtual bool pointerPosition(CPoint& /*where*/) { return false; }
};

// The process's backend for what has no frame of its own (bitmaps, and frames made without one).
Backend& defaultBackend();
// The backend of the frame working on this thread (see BackendScope); otherwise the one set by
// setBackend, otherwise the default. Toolkit calls without a frame at hand (the pointer buttons during a
// drag, a view's clock) reach the right window system through it.
Backend& backend();
// Replaces the process's default for new frames; for tests and tools that run one editor at a time.
// Plug-ins give each frame its backend instead, as instances on other threads may be working meanwhile.
Backend* setBackend(Backend* b);

// Makes `b` this thread's backend while a frame of it handles an event, idles or opens; scopes nest.
class BackendScope {
public:
    explicit BackendScope(Backend& b);
    ~BackendScope();
    BackendScope(const BackendScope&) = delete;
    BackendScope& operator=(const BackendScope&) = delete;

private:
    Backend* previous;
};

// Whether the system swaps the primary and secondary buttons, for the whole process: each backend notes
// it when it makes a frame window (as the system's own window class registration reads it), and the
// toolkit reads it with every button state.
void setSwapMouseButtons(bool swapped);
bool swapsMouseButtons();

// The loaded module whose resources and window class the toolkit uses (on Windows its HINSTANCE). The
// module's owner passes it in before the first bitmap or frame is made; null where there is none.
void setModuleHandle(void* module);
void* moduleHandle();

} // namespace VSTGUI::platform
