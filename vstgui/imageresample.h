// Shrinking a filmstrip of premultiplied RGBA pixels (rows top first) by a factor between 0.5 and 1, frame
// by frame, so the larger editor sizes between two drawn resolutions come from the sharper one.
#pragma once

#include <cstdint>
#include <vector>

namespace VSTGUI {

struct PixelBlock {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba; // premultiplied, 4 bytes a pixel, rows top first
};

// Each of `frames` equal frames stacked vertically in src becomes a frame of frameHeightOut rows, and
// the whole strip widthOut columns; output pixel (x, y) samples the source around ((x + 0.5) / factor,
// (y + 0.5) / factor) with a Lanczos-3 kernel widened by 1 / factor. Samples never cross a frame edge.
PixelBlock resampleFrames(const PixelBlock& src, int frames, int widthOut, int frameHeightOut, double factor);

} // namespace VSTGUI
