// The memory backend's drawing target and image: the same pixels a GDI device context would produce,
// with source-over compositing of premultiplied pixels, clipping and fills done directly.
#pragma once

#include "vstgui/platform/platform.h"
#include "vstgui/platform/soft/soft_pixels.h"

#include <memory>
#include <vector>

namespace VSTGUI::soft {

class SoftImage : public platform::Image {
public:
    SoftImage(const platform::Backend& owner, CCoord width, CCoord height)
        : Image(owner, width, height), pixels(static_cast<size_t>(width) * height) {}
    // Bytes blue, green, red, alpha of little-endian 0xAARRGGBB words.
    uint8_t* bits() override { return reinterpret_cast<uint8_t*>(pixels.data()); }
    // Row y counted from the top of the picture.
    const uint32_t* row(CCoord y) const {
        return pixels.data() + static_cast<size_t>(height() - 1 - y) * width();
    }
    uint32_t pixel(CCoord x, CCoord y) const { return row(y)[x]; }

private:
    std::vector<uint32_t> pixels;
};

class SoftSurface : public platform::Surface {
public:
    // Draws into pixels owned elsewhere (a window's screen) ...
    SoftSurface(const platform::Backend& owner, Pixels& target);
    // ... or into its own block (an offscreen).
    SoftSurface(const platform::Backend& owner, CCoord width, CCoord height);

    void setPen(CColor color, CCoord width) override;
    bool setBrush(CColor color) override;
    void setCopyMode() override {}

    void fillRect(const CRect& r) override;
    void moveTo(CPoint p) override { pen = p; }
    void lineTo(CPoint p) override;
    void setClip(const CRect& r) override;

    void copyTo(platform::Surface& dest, const CRect& destRect, CPoint srcPos) override;
    void copyImage(const platform::Image& image, const CRect& destRect, CPoint srcPos) override;
    void blendImage(const platform::Image& image, const CRect& destRect, CPoint srcPos, uint8_t alpha,
                    bool perPixel) override;
    void keyImage(const platform::Image& image, const CRect& destRect, CPoint srcPos, CColor key) override;
    bool readPixels(const CRect& r, uint32_t* out) override;

    Pixels& pixels() { return *target; }
    CColor brushColor() const { return brush; }
    CColor penColor() const { return penColour; }
    CRect clip() const { return clipRect; }
    // The smallest rectangle holding every pixel written so far (empty when none was): what a window
    // surface must show on the screen when its drawing ends.
    CRect touchedArea() const { return touched; }

private:
    // Calls fn(destRow, srcX, srcY, count) for every row of the block inside the clip and both bounds;
    // destRow points at the first destination pixel of the run.
    template <typename Fn>
    void forRows(const CRect& destRect, CPoint srcPos, CCoord srcWidth, CCoord srcHeight, Fn fn);
    void plot(CCoord x, CCoord y, uint32_t value);
    void touch(const CRect& area);

    std::unique_ptr<Pixels> owned;
    Pixels* target;
    CRect clipRect;
    CColor brush{0, 0, 0, 0};
    CColor penColour{0, 0, 0, 0};
    CCoord penWidth = 1;
    CPoint pen;
    CRect touched;
};

uint32_t opaquePixel(CColor c);
// Source-over of a premultiplied pixel: src + dst x (255 - srcAlpha) / 255 per channel, rounded to nearest;
// a constant alpha other than 255 scales the source first.
uint32_t blendPixel(uint32_t dst, uint32_t src, uint8_t constantAlpha, bool perPixel);
// A run of n pixels composited as blendPixel does, the common case (per-pixel alpha only) fast; other
// backends with memory surfaces use it too, so their pixels equal this backend's.
void blendRow(uint32_t* out, const uint32_t* in, CCoord n, uint8_t constantAlpha, bool perPixel);

} // namespace VSTGUI::soft
