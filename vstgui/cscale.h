// The editor's scale: views, hit tests and control behaviour work in the face's logical pixels, the
// surfaces and windows in device pixels, `percent` of them to every 100 logical ones.
#pragma once

#include "vstgui/cgeometry.h"

namespace VSTGUI {

inline constexpr int32_t kUnscaled = 100;

// Floor division, so positions left of or above the window keep their order.
inline CCoord floorDivide(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return static_cast<CCoord>((a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q);
}

// A logical edge to its device pixel, halves rounded up. Every edge is mapped on its own, so
// rectangles that touch in logical pixels touch on the device too.
inline CCoord toDevice(CCoord logical, int32_t percent) {
    return floorDivide(static_cast<int64_t>(logical) * percent + 50, 100);
}

inline CRect toDevice(const CRect& r, int32_t percent) {
    return CRect(toDevice(r.left, percent), toDevice(r.top, percent), toDevice(r.right, percent),
                 toDevice(r.bottom, percent));
}

// A device pixel to the logical pixel it lies in (pointer input).
inline CCoord toLogical(CCoord device, int32_t percent) {
    return floorDivide(static_cast<int64_t>(device) * 100, percent);
}

inline CPoint toLogical(CPoint p, int32_t percent) {
    return CPoint(toLogical(p.h, percent), toLogical(p.v, percent));
}

// The smallest logical rectangle whose device rectangle covers a device rectangle (a paint request).
inline CRect coveringLogical(const CRect& device, int32_t percent) {
    CRect r(toLogical(device.left, percent), toLogical(device.top, percent), toLogical(device.right, percent),
            toLogical(device.bottom, percent));
    while (toDevice(r.left, percent) > device.left) --r.left;
    while (toDevice(r.top, percent) > device.top) --r.top;
    while (toDevice(r.right, percent) < device.right) ++r.right;
    while (toDevice(r.bottom, percent) < device.bottom) ++r.bottom;
    return r;
}

} // namespace VSTGUI
