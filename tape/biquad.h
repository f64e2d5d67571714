// The second-order section in direct form I, over double or the two-lane type (tape/two_lanes.h):
//   y = b0 x + b1 x1 + b2 x2 - a1 y1 - a2 y2
// with x1, x2 the last two inputs and y1, y2 the last two outputs. The coefficients are already divided by
// a0, and the sum runs left to right in this order at every type, so a lane gives the bits of the same
// section run alone in double. The head bump's peaking section and the VU meter's ballistics are biquads
// with their own designs.
#pragma once

namespace vr58 {

template <typename T> struct Biquad {
    T a1, a2, b0, b1, b2; // coefficients
    T x1, x2, y1, y2;     // state
};

template <typename T> inline T processSample(Biquad<T>& f, T x) {
    const T y = f.b0 * x + f.b1 * f.x1 + f.b2 * f.x2 - f.a1 * f.y1 - f.a2 * f.y2;
    f.x2 = f.x1;
    f.x1 = x;
    f.y2 = f.y1;
    f.y1 = y;
    return y;
}

} // namespace vr58
