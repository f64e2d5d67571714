// A GDI device context with the pen, brush and font the toolkit created for it. The objects selected
// before are put back and the created ones deleted at the end.
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
    void setFont(const platform::FontRequest& font) override;
    void setTextColor(CColor color) override;
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

    HDC dc = nullptr;
    HWND releaseWindow = nullptr;
    bool obtainedDC = false;
    bool memoryDC = false;
    HBITMAP memoryBitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    HGDIOBJ originalBrush = nullptr;
    HGDIOBJ originalPen = nullptr;
    HGDIOBJ originalFont = nullptr;
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    HFONT font = nullptr;
};

} // namespace VSTGUI::win32
