// How a host without a display (the vr58 tool, the tests) embeds the editor of the native plug-in in a
// window of the memory backend. Real hosts pass their X11 window id to effEditOpen, which the plug-in
// never takes for a pointer, so a host asks for this embedding through effVendorSpecific first. Plain
// data only: host and plug-in each carry their own copy of the toolkit.
#pragma once

#include "engine/build_config.h"

#include <cstdint>

namespace vr58::softhost {

// effVendorSpecific's index for every request; its value selects the request.
inline constexpr int32_t kVendorIndex = kUniqueId;

enum Request : intptr_t {
    // From now on effEditOpen's ptr points at a Window (not an X11 window id). Answers 1.
    kEnable = 0x536F6674, // 'Soft'
    // The system asks the open editor's window to paint all of itself. Answers 1 when it painted.
    kPaint = 1,
    // ptr: Pixels. Copies what the open editor's window shows. Answers 1 when it copied.
    kReadPixels = 2,
    // ptr: const uint32_t, milliseconds. Sets the memory backend's clock, which the editor's timing reads.
    kSetClock = 3,
    // ptr: const int32_t, percent. The next opening takes this editor size (100, 125, 150, 175 or 200)
    // whatever the user's saved choice, the host's hint or the screen say. Answers 1 for an offered size.
    kSetScale = 4,
    // ptr: const Point, a position in the open editor's window in its pixels. The memory backend's pointer
    // rests there, no button held; the editor sees it at its next idle. Answers 1.
    kSetPointer = 5,
    // ptr: const Point, as for kSetPointer. A click of the right button there (the face's menu opens);
    // the editor draws it at its next idle. Answers 1.
    kRightClick = 6,
};

// The host's window that effEditOpen's ptr points at, by its position on the (imagined) screen.
struct Window {
    int32_t screenX;
    int32_t screenY;
};

struct Point {
    int32_t x;
    int32_t y;
};

// A block of width x height pixels, 0xAARRGGBB, top row first; the plug-in fills the part it has.
struct Pixels {
    int32_t width;
    int32_t height;
    uint32_t* data;
};

} // namespace vr58::softhost
