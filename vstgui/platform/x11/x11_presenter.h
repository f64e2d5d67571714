// Puts rectangles of the frame's memory pixels on its X window: through a shared-memory image when the
// server offers MIT-SHM on this machine, else through an ordinary image sent over the connection.
#pragma once

#include "vstgui/platform/soft/soft_pixels.h"

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

namespace VSTGUI::x11 {

class Presenter {
public:
    Presenter(Display* display, ::Window target, Visual* visual, int depth, CCoord width, CCoord height);
    ~Presenter();
    Presenter(const Presenter&) = delete;
    Presenter& operator=(const Presenter&) = delete;

    // Shows `area` of pixels (as large as the window) at the same place in the window.
    void put(const soft::Pixels& pixels, const CRect& area);
    bool usesSharedMemory() const { return shared; }
    bool valid() const { return image != nullptr; }

private:
    bool createShared();
    void createPlain();
    void destroy();
    void convert(const soft::Pixels& pixels, const CRect& area);

    Display* display;
    ::Window target;
    Visual* visual;
    int depth;
    CCoord width;
    CCoord height;
    GC gc = nullptr;
    XImage* image = nullptr;
    XShmSegmentInfo segment{};
    bool shared = false;
    // 32-bit pixels with red, green and blue where the memory surface keeps them: rows are copied as
    // they are.
    bool sameLayout = false;
};

// The value of a colour in a true-colour visual.
unsigned long visualPixel(const Visual* visual, uint32_t argb);

} // namespace VSTGUI::x11
