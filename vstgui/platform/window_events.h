// What a frame's window reports to whoever draws into it and handles its input (the toolkit's frame).
// Windows know this interface only, so no window backend depends on the view tree. Positions and regions
// are the window's device pixels; every call runs on the GUI thread that created the window, and the
// receiver may let itself go meanwhile only in ways that keep the call safe to return from.
#pragma once

#include "vstgui/cbuttons.h"
#include "vstgui/cgeometry.h"

#include <cstdint>

namespace VSTGUI::platform {

class WindowEvents {
public:
    // WM_PAINT, Expose or a headless paint: a non-empty region to draw. paintContext is the backend's
    // drawing handle for the window (an HDC, the memory window's pixels), which the receiver's surfaces
    // take.
    virtual void windowPaint(void* paintContext, const CRect& region) = 0;
    // A button press; returns when its handling (a drag loop) ends. Systems that deliver the press late
    // (X11, at the host's idle) pass the buttons it carried; the others leave them to be read.
    virtual void windowButtonDown(const CPoint& where, int32_t buttons = kButtonsToBeRead) = 0;
    // A wheel turn in notches, positive away from the user or to the right; true when a view took it.
    virtual bool windowWheel(const CPoint& where, float distance, int32_t axis = kMouseWheelAxisY) = 0;
    // The system destroyed the window (with the host's window around it): its handle is gone.
    virtual void windowDestroyed() = 0;
    // The window is now on a screen of this many dots per inch (96 is 100 %).
    virtual void windowScreenDpiChanged(int32_t dpi) = 0;

protected:
    ~WindowEvents() = default;
};

} // namespace VSTGUI::platform
