#include "vstgui/platform/win32/win32_surface.h"

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
    memoryBitmap = CreateCompatibleBitmap(windowDC, width, height);
    if (dc && memoryBitmap) previousBitmap = SelectObject(dc, memoryBitmap);
    ReleaseDC(window, windowDC);
    retainOriginals();
}

void Win32Surface::retainOriginals() {
    if (!dc) return;
    originalBrush = GetCurrentObject(dc, OBJ_BRUSH);
    originalPen = GetCurrentObject(dc, OBJ_PEN);
    originalFont = GetCurrentObject(dc, OBJ_FONT);
    SetBkMode(dc, TRANSPARENT);
}

Win32Surface::~Win32Surface() {
    if (dc) {
        SelectObject(dc, originalBrush);
        SelectObject(dc, originalPen);
        SelectObject(dc, originalFont);
    }
    if (brush) DeleteObject(brush);
    if (pen) DeleteObject(pen);
    if (font) DeleteObject(font);
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
    if (!dc) return;
    LOGPEN logPen{PS_SOLID, {width, 0}, rgb(color)};
    HPEN created = CreatePenIndirect(&logPen);
    if (!created) return;
    SelectObject(dc, created);
    if (pen) DeleteObject(pen);
    pen = created;
}

bool Win32Surface::setBrush(CColor color) {
    if (!dc) return false;
    LOGBRUSH logBrush{BS_SOLID, rgb(color), 0};
    HBRUSH created = CreateBrushIndirect(&logBrush);
    if (!created) return false;
    SelectObject(dc, created);
    SetBkColor(dc, rgb(color));
    if (brush) DeleteObject(brush);
    brush = created;
    return true;
}

void Win32Surface::setFont(const platform::FontRequest& request) {
    if (!dc) return;
    LOGFONTA logFont{};
    logFont.lfHeight = -request.height;
    logFont.lfWeight = request.bold ? 700 : 400;
    logFont.lfItalic = request.italic;
    logFont.lfUnderline = request.underline;
    logFont.lfCharSet = ANSI_CHARSET;
    logFont.lfOutPrecision = OUT_STRING_PRECIS;
    logFont.lfClipPrecision = CLIP_STROKE_PRECIS;
    logFont.lfQuality = DEFAULT_QUALITY;
    logFont.lfPitchAndFamily = request.symbol ? (DEFAULT_PITCH | FF_DECORATIVE) : (VARIABLE_PITCH | FF_SWISS);
    std::strncpy(logFont.lfFaceName, request.face, LF_FACESIZE - 1);
    HFONT created = CreateFontIndirectA(&logFont);
    if (!created) return;
    SelectObject(dc, created);
    if (font) DeleteObject(font);
    font = created;
}

void Win32Surface::setTextColor(CColor color) {
    if (dc) SetTextColor(dc, rgb(color));
}

void Win32Surface::setCopyMode() {
    if (dc) SetROP2(dc, R2_COPYPEN);
}

void Win32Surface::fillRect(const CRect& r) {
    if (!dc || !brush || r.isEmpty()) return;
    RECT rc{r.left, r.top, r.right, r.bottom};
    FillRect(dc, &rc, brush);
}

void Win32Surface::moveTo(CPoint p) {
    if (dc) MoveToEx(dc, p.h, p.v, nullptr);
}

void Win32Surface::lineTo(CPoint p) {
    if (dc) LineTo(dc, p.h, p.v);
}

void Win32Surface::setClip(const CRect& r) {
    if (!dc) return;
    HRGN region = CreateRectRgn(r.left, r.top, r.right, r.bottom);
    SelectClipRgn(dc, region);
    DeleteObject(region);
}

void Win32Surface::copyTo(platform::Surface& dest, const CRect& destRect, CPoint srcPos) {
    auto& d = static_cast<Win32Surface&>(dest);
    if (!dc || !d.dc) return;
    BitBlt(d.dc, destRect.left, destRect.top, destRect.width(), destRect.height(), dc, srcPos.h, srcPos.v,
           SRCCOPY);
}

void Win32Surface::copyImage(const platform::Image& image, const CRect& destRect, CPoint srcPos) {
    const auto& img = static_cast<const Win32Image&>(image);
    CRect dest(destRect);
    if (!dc || !clampBlock(dest, srcPos, img.width(), img.height())) return;
    ImageDC source(dc, img);
    BitBlt(dc, dest.left, dest.top, dest.width(), dest.height(), source.dc, srcPos.h, srcPos.v, SRCCOPY);
}

void Win32Surface::blendImage(const platform::Image& image, const CRect& destRect, CPoint srcPos,
                              uint8_t alpha, bool perPixel) {
    const auto& img = static_cast<const Win32Image&>(image);
    CRect dest(destRect);
    // Without msimg32 nothing is drawn: there is no blending path in GDI itself.
    const AlphaBlendFn alphaBlend = alphaBlendFunction.load();
    if (!dc || !alphaBlend || !clampBlock(dest, srcPos, img.width(), img.height())) return;
    ImageDC source(dc, img);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, static_cast<BYTE>(perPixel ? AC_SRC_ALPHA : 0)};
    alphaBlend(dc, dest.left, dest.top, dest.width(), dest.height(), source.dc, srcPos.h, srcPos.v,
               dest.width(), dest.height(), blend);
}

void Win32Surface::keyImage(const platform::Image& image, const CRect& destRect, CPoint srcPos, CColor key) {
    const auto& img = static_cast<const Win32Image&>(image);
    CRect dest(destRect);
    if (!dc || !clampBlock(dest, srcPos, img.width(), img.height())) return;
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
