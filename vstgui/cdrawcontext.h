// A drawing surface with two offsets, a clip rectangle and pen, fill and font state. Views draw only
// through a context; setters skip all platform work when the value is unchanged.
#pragma once

#include "vstgui/ccolor.h"
#include "vstgui/cgeometry.h"
#include "vstgui/creferencecounter.h"

#include <memory>

namespace VSTGUI {

namespace platform {
class Surface;
}
class CFrame;

enum CLineStyle : int32_t { kLineSolid = 0, kLineOnOffDash = 1 };
enum CDrawMode : int32_t { kCopyMode = 0, kOrMode = 1, kXorMode = 2, kAntialias = 3 };
enum CFontId : int32_t {
    kSystemFont = 0,
    kNormalFontVeryBig,
    kNormalFontBig,
    kNormalFont,
    kNormalFontSmall,
    kNormalFontSmaller,
    kNormalFontVerySmall,
    kSymbolFont,
    kNumStandardFonts
};

class CDrawContext : public CReferenceCounter {
public:
    // Either a native drawing handle, or a window whose handle the context obtains, or both.
    CDrawContext(CFrame* frame, void* systemContext, void* window);
    ~CDrawContext() override;

    void setFrameColor(CColor color);
    CColor getFrameColor() const { return frameColor; }
    void setFillColor(CColor color);
    CColor getFillColor() const { return fillColor; }
    void setFontColor(CColor color);
    CColor getFontColor() const { return fontColor; }
    void setLineWidth(CCoord width);
    CCoord getLineWidth() const { return frameWidth; }
    void setLineStyle(int32_t style);
    int32_t getLineStyle() const { return lineStyle; }
    void setFont(int32_t fontId, int32_t size = 0, int32_t style = 0);
    int32_t getFont() const { return fontId; }
    int32_t getFontSize() const { return fontSize; }
    int32_t getFontStyle() const { return fontStyle; }
    void setDrawMode(int32_t mode);
    int32_t getDrawMode() const { return drawMode; }

    // Leaves the rectangle's top row and left column unpainted.
    void fillRect(const CRect& rect);
    void moveTo(const CPoint& p);
    void lineTo(const CPoint& p);
    CPoint getPenPosition() const { return penPosition; }

    // Surface coordinates.
    void setClipRect(const CRect& clip);
    CRect& getClipRect(CRect& clip) const {
        clip = clipRect;
        return clip;
    }
    // Whether a drawing of `r` (view coordinates: the offset is applied) reaches all of it.
    bool clipHolds(const CRect& r) const {
        return clipRect.left <= r.left + offset.h && clipRect.top <= r.top + offset.v &&
               clipRect.right >= r.right + offset.h && clipRect.bottom >= r.bottom + offset.v;
    }

    // The button and modifier state of this moment, with swapped buttons taken into account.
    static int32_t getMouseButtons();
    void getMouseLocation(CPoint& point) const;

    // Device pixels per 100 logical ones: the frame's scale, or 100 for a context without a frame.
    int32_t getScale() const { return scalePercent; }
    CCoord toSurface(CCoord logical) const;
    CRect toSurface(const CRect& logical) const;

    CFrame* getFrame() const { return frame; }
    void* getWindow() const { return window; }
    platform::Surface* getSurface() const { return surface.get(); }

    // Screen position of the surface origin (device pixels), and the view-to-surface translation.
    CPoint offsetScreen;
    CPoint offset;

protected:
    CDrawContext(CFrame* frame, std::unique_ptr<platform::Surface> surface, const CRect& clip);

private:
    void applyDefaults();

    CFrame* frame = nullptr;
    void* window = nullptr;
    std::unique_ptr<platform::Surface> surface;
    int32_t fontSize = -1;
    int32_t fontStyle = 0;
    int32_t fontId = kNumStandardFonts;
    CColor fontColor{0, 0, 0, 0};
    CPoint penPosition;
    CCoord frameWidth = 0;
    CColor frameColor{0, 0, 0, 0};
    CColor fillColor{0, 0, 0, 0};
    int32_t lineStyle = kLineOnOffDash;
    int32_t drawMode = kAntialias;
    CRect clipRect;
    int32_t scalePercent = 100;
};

} // namespace VSTGUI
