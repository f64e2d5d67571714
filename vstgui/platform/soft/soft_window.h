// A headless window for the memory backend. A HostWindow stands for the host's window; the frame's
// HeadlessWindow lives inside it and reports paint, press and wheel events to the frame's WindowEvents,
// exactly where a system window procedure would.
#pragma once

#include "vstgui/platform/platform.h"
#include "vstgui/platform/soft/soft_pixels.h"

namespace VSTGUI::soft {

class HeadlessWindow;

// What a window handle of this backend points at: the host's window or the frame's. Handles are always
// pointers to this base, so the backend can tell the two apart.
class WindowBase {
public:
    virtual ~WindowBase() = default;
    virtual CPoint origin() const = 0;
    // The window's visible pixels, or null for a window the backend does not draw into.
    virtual Pixels* screenPixels() = 0;
};

struct HostWindow : WindowBase {
    CPoint screenOrigin;
    CCoord width = 0;
    CCoord height = 0;
    HeadlessWindow* child = nullptr;
    int childWindowsCreated = 0;

    CPoint origin() const override { return screenOrigin; }
    Pixels* screenPixels() override { return nullptr; }
    // Destroys the host's window, and with it the frame's window inside it.
    void destroy();
    ~HostWindow() override { destroy(); }
};

class HeadlessWindow : public platform::Window, public WindowBase {
public:
    HeadlessWindow(platform::WindowEvents& events, HostWindow& host, CCoord width, CCoord height);
    ~HeadlessWindow() override;

    void* handle() const override {
        return alive ? static_cast<WindowBase*>(const_cast<HeadlessWindow*>(this)) : nullptr;
    }
    CPoint screenOrigin() override { return origin(); }
    CPoint origin() const override { return host ? host->screenOrigin : CPoint(); }
    Pixels* screenPixels() override { return &pixels; }
    void resizeWithParents(CCoord width, CCoord height) override;
    void resize(CCoord width, CCoord height) override;
    bool getPosition(CCoord& x, CCoord& y) override;
    bool getSize(CRect& rect) override;
    void markDestroyed() override;

    // Events, in client coordinates. An empty paint region gets default processing (nothing is drawn).
    bool paint(const CRect& region);
    void press(const CPoint& where);
    // delta in system units: 120 per notch, at a global screen position.
    bool wheel(const CPoint& screenPosition, int16_t delta);
    void destroyedBySystem();

    Pixels& screen() { return pixels; }
    int defaultProcessed() const { return defaultCount; }

private:
    platform::WindowEvents* events;
    HostWindow* host;
    Pixels pixels;
    bool alive = true;
    int defaultCount = 0;
};

// Writes a block of pixels as a PNG file (for inspecting renders); false on failure.
bool writePng(const char* path, const Pixels& pixels);

} // namespace VSTGUI::soft
