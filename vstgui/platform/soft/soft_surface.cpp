#include "vstgui/platform/soft/soft_surface.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace VSTGUI::soft {

uint32_t opaquePixel(CColor c) {
    return uint32_t(c.blue) | uint32_t(c.green) << 8 | uint32_t(c.red) << 16 | 0xFF000000u;
}

namespace {

inline uint32_t scale(uint32_t value, uint32_t factor) {
    return (value * factor + 127) / 255;
}

// Two channels at once (bits 0-7 and 16-23) times f / 255, rounded to nearest: exact for all bytes.
inline uint32_t scalePair(uint32_t pair, uint32_t f) {
    uint32_t t = pair * f + 0x00800080u;
    return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// The common case: per-pixel alpha, no constant alpha.
inline uint32_t blendOver(uint32_t dst, uint32_t src) {
    const uint32_t inverse = 255 - (src >> 24);
    return src + scalePair(dst & 0x00FF00FFu, inverse) + (scalePair((dst >> 8) & 0x00FF00FFu, inverse) << 8);
}

} // namespace

uint32_t blendPixel(uint32_t dst, uint32_t src, uint8_t constantAlpha, bool perPixel) {
    if (perPixel && constantAlpha == 255) return blendOver(dst, src);
    uint32_t out = 0;
    // With a constant alpha every source channel is scaled first, as the system's blend does.
    uint32_t srcAlpha = perPixel ? (src >> 24) : 255u;
    if (constantAlpha != 255) srcAlpha = scale(srcAlpha, constantAlpha);
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t s = (src >> shift) & 0xFF;
        if (shift == 24) s = perPixel ? s : 255u;
        if (constantAlpha != 255) s = scale(s, constantAlpha);
        const uint32_t d = (dst >> shift) & 0xFF;
        uint32_t v = s + scale(d, 255 - srcAlpha);
        if (v > 255) v = 255;
        out |= v << shift;
    }
    return out;
}

SoftSurface::SoftSurface(const platform::Backend& owner, Pixels& t)
    : Surface(owner), target(&t), clipRect(t.bounds()) {}

SoftSurface::SoftSurface(const platform::Backend& owner, CCoord width, CCoord height)
    : Surface(owner), owned(std::make_unique<Pixels>(width, height)), target(owned.get()),
      clipRect(owned->bounds()) {}

void SoftSurface::setPen(CColor color, CCoord width) {
    penColour = color;
    penWidth = width;
}

bool SoftSurface::setBrush(CColor color) {
    brush = color;
    return true;
}

void SoftSurface::setClip(const CRect& r) {
    clipRect = r;
    clipRect.bound(target->bounds());
}

void SoftSurface::touch(const CRect& area) {
    if (area.isEmpty()) return;
    if (touched.isEmpty()) {
        touched = area;
        return;
    }
    touched = CRect(std::min(touched.left, area.left), std::min(touched.top, area.top),
                    std::max(touched.right, area.right), std::max(touched.bottom, area.bottom));
}

void SoftSurface::plot(CCoord x, CCoord y, uint32_t value) {
    if (x >= clipRect.left && x < clipRect.right && y >= clipRect.top && y < clipRect.bottom) {
        target->at(x, y) = value;
        touch(CRect(x, y, x + 1, y + 1));
    }
}

void SoftSurface::fillRect(const CRect& r) {
    CRect area(r);
    area.bound(clipRect);
    touch(area);
    const uint32_t value = opaquePixel(brush);
    for (CCoord y = area.top; y < area.bottom; ++y)
        for (CCoord x = area.left; x < area.right; ++x) target->at(x, y) = value;
}

void SoftSurface::lineTo(CPoint p) {
    const uint32_t value = opaquePixel(penColour);
    CCoord x = pen.h, y = pen.v;
    const CCoord dx = std::abs(p.h - x), dy = -std::abs(p.v - y);
    const CCoord sx = x < p.h ? 1 : -1, sy = y < p.v ? 1 : -1;
    CCoord err = dx + dy;
    while (x != p.h || y != p.v) {
        plot(x, y, value);
        const CCoord e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
    pen = p;
}

template <typename Fn>
void SoftSurface::forRows(const CRect& destRect, CPoint srcPos, CCoord srcWidth, CCoord srcHeight, Fn fn) {
    CRect area(destRect);
    area.bound(clipRect);
    // Keep only the part whose source lies inside the source bounds.
    area.bound(CRect(destRect.left - srcPos.h, destRect.top - srcPos.v, destRect.left - srcPos.h + srcWidth,
                     destRect.top - srcPos.v + srcHeight));
    if (area.isEmpty()) return;
    touch(area);
    const CCoord dh = srcPos.h - destRect.left, dv = srcPos.v - destRect.top;
    for (CCoord y = area.top; y < area.bottom; ++y)
        fn(&target->at(area.left, y), area.left + dh, y + dv, area.width());
}

void SoftSurface::copyTo(platform::Surface& dest, const CRect& destRect, CPoint srcPos) {
    auto& d = static_cast<SoftSurface&>(dest);
    const Pixels* src = target;
    Pixels copy(0, 0);
    if (src == d.target) {
        // Overlapping copies within one surface read from a snapshot.
        copy = *src;
        src = &copy;
    }
    d.forRows(destRect, srcPos, src->width, src->height, [&](uint32_t* out, CCoord sx, CCoord sy, CCoord n) {
        std::memcpy(out, src->data.data() + static_cast<size_t>(sy) * src->width + sx,
                    static_cast<size_t>(n) * 4);
    });
}

void SoftSurface::copyImage(const platform::Image& image, const CRect& destRect, CPoint srcPos) {
    const auto& img = static_cast<const SoftImage&>(image);
    forRows(destRect, srcPos, img.width(), img.height(), [&](uint32_t* out, CCoord sx, CCoord sy, CCoord n) {
        std::memcpy(out, img.row(sy) + sx, static_cast<size_t>(n) * 4);
    });
}

void blendRow(uint32_t* out, const uint32_t* in, CCoord n, uint8_t alpha, bool perPixel) {
    if (!(perPixel && alpha == 255)) {
        for (CCoord i = 0; i < n; ++i) out[i] = blendPixel(out[i], in[i], alpha, perPixel);
        return;
    }
    // Premultiplied: alpha 255 replaces, alpha 0 is an all-zero pixel and leaves the destination.
    // Skins are mostly runs of one or the other, so runs are copied or skipped whole.
    for (CCoord i = 0; i < n;) {
        const uint32_t s = in[i];
        if (s >= 0xFF000000u) {
            CCoord end = i + 1;
            while (end < n && in[end] >= 0xFF000000u) ++end;
            std::memcpy(out + i, in + i, static_cast<size_t>(end - i) * 4);
            i = end;
        } else {
            if (s != 0) out[i] = blendOver(out[i], s);
            ++i;
        }
    }
}

void SoftSurface::blendImage(const platform::Image& image, const CRect& destRect, CPoint srcPos,
                             uint8_t alpha, bool perPixel) {
    const auto& img = static_cast<const SoftImage&>(image);
    forRows(destRect, srcPos, img.width(), img.height(), [&](uint32_t* out, CCoord sx, CCoord sy, CCoord n) {
        blendRow(out, img.row(sy) + sx, n, alpha, perPixel);
    });
}

void SoftSurface::keyImage(const platform::Image& image, const CRect& destRect, CPoint srcPos, CColor key) {
    const auto& img = static_cast<const SoftImage&>(image);
    const uint32_t keyRgb = opaquePixel(key) & 0x00FFFFFFu;
    forRows(destRect, srcPos, img.width(), img.height(), [&](uint32_t* out, CCoord sx, CCoord sy, CCoord n) {
        const uint32_t* in = img.row(sy) + sx;
        for (CCoord i = 0; i < n; ++i)
            if ((in[i] & 0x00FFFFFFu) != keyRgb) out[i] = in[i];
    });
}

bool SoftSurface::readPixels(const CRect& r, uint32_t* out) {
    if (r.left < 0 || r.top < 0 || r.right > target->width || r.bottom > target->height || r.isEmpty())
        return false;
    for (CCoord y = r.top; y < r.bottom; ++y)
        for (CCoord x = r.left; x < r.right; ++x) *out++ = target->at(x, y);
    return true;
}

} // namespace VSTGUI::soft
