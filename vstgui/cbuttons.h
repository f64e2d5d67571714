// Button and modifier bits of mouse events, and the wheel axes.
#pragma once

#include <cstdint>

namespace VSTGUI {

enum CButton : int32_t {
    kLButton = 1 << 0,
    kMButton = 1 << 1,
    kRButton = 1 << 2,
    kShift = 1 << 3,
    kControl = 1 << 4,
    kAlt = 1 << 5,
    kCommandKey = 1 << 6,
};

// Passed instead of a button set when the receiver should read the current state itself.
constexpr int32_t kButtonsToBeRead = -1;

enum CMouseWheelAxis : int32_t { kMouseWheelAxisX = 0, kMouseWheelAxisY = 1 };

// Key handler answers: anything but this means the key was taken.
constexpr int32_t kKeyNotHandled = -1;

} // namespace VSTGUI
