// Pixel geometry of the toolkit. Both edges of a rectangle belong to it for hit tests and overlap, so a
// 40-pixel view at left 0 answers for h = 0 through h = 40.
#pragma once

#include <algorithm>
#include <cstdint>

namespace VSTGUI {

using CCoord = int32_t;

struct CPoint {
    CCoord h = 0;
    CCoord v = 0;

    constexpr CPoint() = default;
    constexpr CPoint(CCoord h, CCoord v) : h(h), v(v) {}

    CPoint& offset(CCoord dh, CCoord dv) {
        h += dh;
        v += dv;
        return *this;
    }
    constexpr bool operator==(const CPoint& o) const { return h == o.h && v == o.v; }
    constexpr bool operator!=(const CPoint& o) const { return !(*this == o); }
};

struct CRect {
    CCoord left = 0;
    CCoord top = 0;
    CCoord right = 0;
    CCoord bottom = 0;

    constexpr CRect() = default;
    constexpr CRect(CCoord left, CCoord top, CCoord right, CCoord bottom)
        : left(left), top(top), right(right), bottom(bottom) {}

    constexpr CCoord width() const { return right - left; }
    constexpr CCoord height() const { return bottom - top; }
    constexpr CPoint topLeft() const { return {left, top}; }
    constexpr bool isEmpty() const { return width() <= 0 || height() <= 0; }

    CRect& offset(CCoord dh, CCoord dv) {
        left += dh;
        right += dh;
        top += dv;
        bottom += dv;
        return *this;
    }
    CRect& moveTo(CCoord h, CCoord v) { return offset(h - left, v - top); }

    constexpr bool pointInside(const CPoint& p) const {
        return left <= p.h && p.h <= right && top <= p.v && p.v <= bottom;
    }
    // Rectangles that only touch overlap.
    constexpr bool rectOverlap(const CRect& o) const {
        return !(right < o.left || o.right < left || bottom < o.top || o.bottom < top);
    }
    // Intersection; an empty result collapses to zero width or height instead of going negative.
    CRect& bound(const CRect& o) {
        left = std::max(left, o.left);
        top = std::max(top, o.top);
        right = std::min(right, o.right);
        bottom = std::min(bottom, o.bottom);
        right = std::max(right, left);
        bottom = std::max(bottom, top);
        return *this;
    }
    constexpr bool operator==(const CRect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    constexpr bool operator!=(const CRect& o) const { return !(*this == o); }
};

} // namespace VSTGUI
