// A GDI device context with the pen and brush the toolkit created for it. The objects selected before are
// put back and the created ones deleted at the end. Pen and brush are made when a drawing first needs
// them, so a context that only copies pixels (the window's, at every idle pass) makes none. Text is drawn
// from the toolkit's own glyph images, never through GDI. A memory surface is a DIB section whose pixels
// the toolkit composites itself.
#pragma once

#include "vstgui/platform/platform.h"

#include <windows.h>

namespace VSTGUI::win32 {

class Win32Surface : public platform::Surface {
public:
    // A context obtained for `releaseWindow` is released at the end; a memory context owns its bitmap.
    Win32Surface(const platform::Backend& owner, HDC dc, HWND releaseWindow, bool obtained);
    Win32Surface(const platform::Backend& owner, HWND window, CCoord width, CCoord height);
    ~Win32Surface() override;

    void setPen(CColor color, CCoord width) override;
    bool setBrush(CColor color) override;
    void setCopyMode() override;

    void fillRect(const CRect& r) override;
    void moveTo(CPoint p) override;
    void lineTo(CPoint p) override;
    void setClip(const CRect& r) override;

    void copyTo(platform::Surface& dest, const CRect& destRect, CPoint srcPos) override;
    void copyImage(const platform::Image& image, const CRect& destRect, CPoint srcPos) override;
    void blendImage(const platform::Image& image, const CRect& destRect, CPoint srcPos, uint8_t alpha,
                    bool perPixel) override;
    void keyImage(const platform::Image& image, const CRect& destRect, CPoint srcPos, CColor key) override;
    bool readPixels(const CRect& r, uint32_t* out) override;

    HDC handle() const { return dc; }
    bool valid() const { return dc != nullptr; }

private:
    void retainOriginals();
    bool realizePen();
    // The clip region GDI needs, made when GDI next draws here: the toolkit's own compositing needs none.
    void applyClip();
    bool realizeBrush();
    // The top-down pixels of a memory surface, GDI's pending drawing into them finished; null for a
    // window's context.
    uint32_t* memoryPixels() const;
    // Calls fn(destRow, srcX, srcY, count) for every row of a block of the image inside the clip and
    // both bounds; the source row is counted from the image's top.
    template <typename Fn>
    void forImageRows(const platform::Image& image, const CRect& destRect, CPoint srcPos, Fn fn);

    HDC dc = nullptr;
    HWND releaseWindow = nullptr;
    bool obtainedDC = false;
    bool memoryDC = false;
    HBITMAP memoryBitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    HGDIOBJ originalBrush = nullptr;
    HGDIOBJ originalPen = nullptr;
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    // What the toolkit asked for, made into GDI objects when first drawn with.
    CColor penColour{0, 0, 0, 0};
    CCoord penWidth = 0;
    bool penWanted = false;
    CColor brushColour{0, 0, 0, 0};
    bool brushWanted = false;
    uint32_t* bits = nullptr;
    CCoord bitsWidth = 0;
    CCoord bitsHeight = 0;
    CRect clipRect;
    CRect regionRect;
    bool regionWanted = false;
};

} // namespace VSTGUI::win32
