// The pointer shapes a frame can show. Plain values, so the window backends map them to the system's own
// cursors without knowing the frame.
#pragma once

#include <cstdint>

namespace VSTGUI {

enum CCursorType : int32_t {
    kCursorDefault = 0,
    kCursorWait,
    kCursorHSize,
    kCursorVSize,
    kCursorSizeAll,
    kCursorNESWSize,
    kCursorNWSESize,
    kCursorCopy,
    kCursorNotAllowed,
    kCursorHand,
};

} // namespace VSTGUI
