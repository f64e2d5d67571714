// A block of 32-bit pixels in memory, top row first, each 0xAARRGGBB (bytes blue, green, red, alpha).
#pragma once

#include "vstgui/cgeometry.h"

#include <cstdint>
#include <vector>

namespace VSTGUI::soft {

// What a fresh memory surface holds before anything is drawn: memory is not cleared by the system, and a
// recognisable value makes unpainted pixels visible in tests.
constexpr uint32_t kUndefinedPixel = 0xCDCDCDCDu;

struct Pixels {
    Pixels(CCoord width, CCoord height, uint32_t fill = kUndefinedPixel)
        : width(width), height(height), data(static_cast<size_t>(width) * height, fill) {}

    uint32_t& at(CCoord x, CCoord y) { return data[static_cast<size_t>(y) * width + x]; }
    uint32_t at(CCoord x, CCoord y) const { return data[static_cast<size_t>(y) * width + x]; }
    CRect bounds() const { return CRect(0, 0, width, height); }

    CCoord width;
    CCoord height;
    std::vector<uint32_t> data;
};

} // namespace VSTGUI::soft
