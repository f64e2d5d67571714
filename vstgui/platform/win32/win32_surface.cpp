#include "vstgui/platform/win32/win32_surface.h"

#include "vstgui/platform/soft/soft_surface.h"
#include "vstgui/platform/win32/win32_backend.h"

#include <cstring>
#include <vector>

namespace VSTGUI::win32 {

namespace {

COLORREF rgb(CColor c) {
    return RGB(c.red, c.green, c.blue);
}

// Keeps a block inside the source's bounds: the system's blends refuse a source rectangle that leaves
// the bitmap, where a partial block should draw its inside part.
bool clampBlock(CRect& dest, CPoint& src, CCoord srcWidth, CCoord srcHeight) {
    if (src.h < 0) {
        dest.left -= src.h;
        src.h = 0;
    }
    if (src.v < 0) {
        dest.top -= src.v;
        src.v = 0;
    }
    dest.right = std::min(dest.right, dest.left + (srcWidth - src.h));
    dest.bottom = std::min(dest.bottom, dest.top + (srcHeight - src.v));
    return dest.width() > 0 && dest.height() > 0;
}

// A memory context with the image selected, for the duration of one blit.
struct ImageDC {
    ImageDC(HDC reference, const Win32Image& image) : dc(CreateCompatibleDC(reference)) {
        if (dc) previous = SelectObject(dc, image.handle());
    }
    ~ImageDC() {
        if (!dc) return;
        SelectObject(dc, previous);
        DeleteDC(dc);
    }
    HDC dc;
    HGDIOBJ previous = nullptr;
};

} // namespace

Win32Surface::Win32Surface(const platform::Backend& owner, HDC hdc, HWND window, bool obtained)
    : Surface(owner), dc(hdc), releaseWindow(window), obtainedDC(obtained) {
    retainOriginals();
}

Win32Surface::Win32Surface(const platform::Backend& owner, HWND window, CCoord width, CCoord height)
    : Surface(owner), memoryDC(true) {
    HDC windowDC = GetDC(window);
    dc = CreateCompatibleDC(windowDC);
    // 32-bit pixels the toolkit can composite into directly, in any screen format.
    void* pixels = nullptr;
    memoryBitmap = width > 0 && height > 0 ? createDib32(width, height, true, &pixels) : nullptr;
    if (memoryBitmap) {
        bits = static_cast<uint32_t*>(pixels);
        bitsWidth = width;
        bitsHeight = height;
    } else {
        memoryBitmap = CreateCompatibleBitmap(windowDC, width, height);
    }
    if (dc && memoryBitmap) previousBitmap = SelectObject(dc, memoryBitmap);
    ReleaseDC(window, windowDC);
    clipRect = CRect(0, 0, width, height);
    retainOriginals();
}

void Win32Surface::retainOriginals() {
    if (!dc) return;
    originalBrush = GetCurrentObject(dc, OBJ_BRUSH);
    originalPen = GetCurrentObject(dc, OBJ_PEN);
    SetBkMode(dc, TRANSPARENT);
}

bool Win32Surface::realizePen() {
    if (!dc) return false;
    if (!penWanted) return pen != nullptr;
    LOGPEN logPen{PS_SOLID, {penWidth, 0}, rgb(penColour)};
    HPEN created = CreatePenIndirect(&logPen);
    if (!created) return pen != nullptr;
    SelectObject(dc, created);
    if (pen) DeleteObject(pen);
    pen = created;
    penWanted = false;
    return true;
}

bool Win32Surface::realizeBrush() {
    if (!dc) return false;
    if (!brushWanted) return brush != nullptr;
    LOGBRUSH logBrush{BS_SOLID, rgb(brushColour), 0};
    HBRUSH created = CreateBrushIndirect(&logBrush);
    // A brush that cannot be made leaves the previous one.
    if (!created) return brush != nullptr;
    SelectObject(dc, created);
    SetBkColor(dc, rgb(brushColour));
    if (brush) DeleteObject(brush);
    brush = created;
    brushWanted = false;
    return true;
}

uint32_t* Win32Surface::memoryPixels() const {
    if (!bits) return nullptr;
    // GDI may still be drawing into the section (a fill, a copy): its pixels are read after that.
    GdiFlush();
    return bits;
}

Win32Surface::~Win32Surface() {
    if (dc) {
        if (brush) SelectObject(dc, originalBrush);
        if (pen) SelectObject(dc, originalPen);
    }
    if (brush) DeleteObject(brush);
    if (pen) DeleteObject(pen);
    if (memoryDC) {
        if (dc) {
            SelectObject(dc, previousBitmap);
            DeleteDC(dc);
        }
        if (memoryBitmap) DeleteObject(memoryBitmap);
    } else if (obtainedDC && dc) {
        ReleaseDC(releaseWindow, dc);
    }
}

void Win32Surface::setPen(CColor color, CCoord width) {
    penColour = color;
    penWidth = width;
    penWanted = true;
}

bool Win32Surface::setBrush(CColor color) {
    if (!dc) return false;
    brushColour = color;
    brushWanted = true;
    return true;
}

void Win32Surface::setCopyMode() {
    if (dc) SetROP2(dc, R2_COPYPEN);
}

void Win32Surface::fillRect(const CRect& r) {
    if (!dc || r.isEmpty() || !realizeBrush()) return;
    RECT rc{r.left, r.top, r.right, r.bottom};
    applyClip();
    FillRect(dc, &rc, brush);
}

void Win32Surface::moveTo(CPoint p) {
    if (dc) MoveToEx(dc, p.h, p.v, nullptr);
}

void Win32Surface::lineTo(CPoint p) {
    if (!dc || !realizePen()) return;
    applyClip();
    LineTo(dc, p.h, p.v);
}

void Win32Surface::setClip(const CRect& r) {
    if (!dc) return;
    clipRect = r;
    if (bits) clipRect.bound(CRect(0, 0, bitsWidth, bitsHeight));
    regionRect = r;
    regionWanted = true;
}

void Win32Surface::applyClip() {
    if (!regionWanted || !dc) return;
    HRGN region = CreateRectRgn(regionRect.left, regionRect.top, regionRect.right, regionRect.bottom);
    SelectClipRgn(dc, region);
    DeleteObject(region);
    regionWanted = false;
}

void Win32Surface::copyTo(platform::Surface& dest, const CRect& destRect, CPoint srcPos) {
    auto& d = static_cast<Win32Surface&>(dest);
    if (!dc || !d.dc) return;
    d.applyClip();
    BitBlt(d.dc, destRect.left, destRect.top, destRect.width(), destRect.height(), dc, srcPos.h, srcPos.v,
           SRCCOPY);
}

template <typename Fn>
void Win32Surface::forImageRows(const platform::Image& image, const CRect& destRect, CPoint srcPos, Fn fn) {
    CRect area(destRect);
    area.bound(clipRect);
    area.bound(CRect(destRect.left - srcPos.h, destRect.top - srcPos.v,
                     destRect.left - srcPos.h + image.width(), destRect.top - srcPos.v + image.height()));
    if (area.isEmpty()) return;
    uint32_t* pixels = memoryPixels();
    const CCoord dh = srcPos.h - destRect.left, dv = srcPos.v - destRect.top;
    for (CCoord y = area.top; y < area.bottom; ++y)
        fn(pixels + static_cast<size_t>(y) * bitsWidth + area.left, area.left + dh, y + dv, area.width());
}

void Win32Surface::copyImage(const platform::Image& image, const CRect& destRect, CPoint srcPos) {
    const auto& img = static_cast<const Win32Image&>(image);
    if (bits && const_cast<Win32Image&>(img).bits()) {
        const auto* source = reinterpret_cast<const uint32_t*>(const_cast<Win32Image&>(img).bits());
        forImageRows(img, destRect, srcPos, [&](uint32_t* out, CCoord sx, CCoord sy, CCoord n) {
            // The image's rows are stored bottom-up.
            std::memcpy(out, source + static_cast<size_t>(img.height() - 1 - sy) * img.width() + sx,
                        static_cast<size_t>(n) * 4);
        });
        return;
    }
    CRect dest(destRect);
    if (!dc || !clampBlock(dest, srcPos, img.width(), img.height())) return;
    applyClip();
    ImageDC source(dc, img);
    BitBlt(dc, dest.left, dest.top, dest.width(), dest.height(), source.dc, srcPos.h, srcPos.v, SRCCOPY);
}

void Win32Surface::blendImage(const platform::Image& image, const CRect& destRect, CPoint srcPos,
                              uint8_t alpha, bool perPixel) {
    const auto& img = static_cast<const Win32Image&>(image);
    // Into memory the toolkit composites itself: no device context for the image, no clip region, and
    // the same pixels as the memory backend's.
    if (bits && const_cast<Win32Image&>(img).bits()) {
        const auto* source = reinterpret_cast<const uint32_t*>(const_cast<Win32Image&>(img).bits());
        forImageRows(img, destRect, srcPos, [&](uint32_t* out, CCoord sx, CCoord sy, CCoord n) {
            soft::blendRow(out, source + static_cast<size_t>(img.height() - 1 - sy) * img.width() + sx, n,
                           alpha, perPixel);
        });
        return;
    }
    CRect dest(destRect);
    // Without msimg32 nothing is drawn into a window: there is no blending path in GDI itself.
    const AlphaBlendFn alphaBlend = alphaBlendFunction.load();
    if (!dc || !alphaBlend || !clampBlock(dest, srcPos, img.width(), img.height())) return;
    applyClip();
    ImageDC source(dc, img);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, static_cast<BYTE>(perPixel ? AC_SRC_ALPHA : 0)};
    alphaBlend(dc, dest.left, dest.top, dest.width(), dest.height(), source.dc, srcPos.h, srcPos.v,
               dest.width(), dest.height(), blend);
}

void Win32Surface::keyImage(const platform::Image& image, const CRect& destRect, CPoint srcPos, CColor key) {
    const auto& img = static_cast<const Win32Image&>(image);
    CRect dest(destRect);
    if (!dc || !clampBlock(dest, srcPos, img.width(), img.height())) return;
    applyClip();
    ImageDC source(dc, img);
    const int w = dest.width(), h = dest.height();
    if (const TransparentBltFn transparentBlt = transparentBltFunction.load()) {
        transparentBlt(dc, dest.left, dest.top, w, h, source.dc, srcPos.h, srcPos.v, w, h, rgb(key));
        return;
    }
    // A one-bit mask from the key colour: XOR the image, AND the mask, XOR again.
    HDC maskDC = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ previous = SelectObject(maskDC, mask);
    const COLORREF oldBk = SetBkColor(source.dc, rgb(key));
    BitBlt(maskDC, 0, 0, w, h, source.dc, srcPos.h, srcPos.v, SRCCOPY);
    SetBkColor(source.dc, oldBk);
    const COLORREF oldDestBk = SetBkColor(dc, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, dest.left, dest.top, w, h, source.dc, srcPos.h, srcPos.v, SRCINVERT);
    BitBlt(dc, dest.left, dest.top, w, h, maskDC, 0, 0, SRCAND);
    BitBlt(dc, dest.left, dest.top, w, h, source.dc, srcPos.h, srcPos.v, SRCINVERT);
    SetBkColor(dc, oldDestBk);
    SetTextColor(dc, oldText);
    SelectObject(maskDC, previous);
    DeleteObject(mask);
    DeleteDC(maskDC);
}

bool Win32Surface::readPixels(const CRect& r, uint32_t* out) {
    if (!dc || r.isEmpty()) return false;
    void* bits = nullptr;
    HBITMAP copy = createDib32(r.width(), r.height(), true, &bits);
    if (!copy) return false;
    HDC copyDC = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(copyDC, copy);
    const bool ok = BitBlt(copyDC, 0, 0, r.width(), r.height(), dc, r.left, r.top, SRCCOPY) != 0;
    GdiFlush();
    if (ok) std::memcpy(out, bits, static_cast<size_t>(r.width()) * r.height() * 4);
    SelectObject(copyDC, previous);
    DeleteDC(copyDC);
    DeleteObject(copy);
    return ok;
}

} // namespace VSTGUI::win32
