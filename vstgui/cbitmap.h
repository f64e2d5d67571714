// An image from the module's embedded resources. PNGs are converted once at load time into premultiplied
// bottom-up BGRA, so drawing is a single compositing call per rectangle.
#pragma once

#include "vstgui/ccolor.h"
#include "vstgui/cgeometry.h"
#include "vstgui/creferencecounter.h"

#include <memory>
#include <mutex>
#include <vector>

namespace VSTGUI {

namespace platform {
class Image;
}
class CDrawContext;

class CBitmap : public CReferenceCounter {
public:
    explicit CBitmap(int32_t resourceID);
    // The image for an editor scale (percent): at 100 the resource itself; at 200 resource2x, drawn at
    // twice the resolution; between them resource2x shrunk frame by frame (`frames` stacked vertically),
    // so no frame borrows pixels from its neighbours. Width and height stay in logical pixels.
    CBitmap(int32_t resourceID, int32_t resource2x, int32_t scalePercent, int32_t frames);
    ~CBitmap() override;

    virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& srcOffset = CPoint());
    virtual void drawTransparent(CDrawContext* context, const CRect& rect,
                                 const CPoint& srcOffset = CPoint());
    virtual void drawAlphaBlend(CDrawContext* context, const CRect& rect, const CPoint& srcOffset,
                                uint8_t alpha);
    virtual void dispose();
    virtual bool loadFromResource(int32_t resourceID);
    // Loading from files is not offered: the bitmap is emptied and false answered.
    virtual bool loadFromPath(const void* path);

    CCoord getWidth() const { return width; }
    CCoord getHeight() const { return height; }
    int32_t getResourceID() const { return resourceID; }
    bool isOpaque() const { return opaque; }
    void setTransparentColor(CColor color) { transparentCColor = color; }
    CColor getTransparentColor() const { return transparentCColor; }
    platform::Image* getImage() const { return pixels.get(); }
    // A new bitmap of the same size and scale whose every pixel is `colour` at this one's alpha: text in
    // any colour from a white glyph atlas. Count 1, owned by the caller; null when it cannot be made.
    CBitmap* createTinted(CColor colour) const;
    // Device pixels per 100 logical ones of the decoded image; it draws only into contexts of this scale.
    int32_t getScale() const { return scalePercent; }
    // For each of `frames` frames stacked top to bottom: the logical rectangle, from the frame's top-left,
    // that covers every pixel drawing the frame can change (every pixel not wholly transparent); empty
    // for a frame that changes nothing. Pixels the toolkit cannot read count as drawn. The first count
    // asked for is worked out once and kept (bitmaps are shared by editors on several threads).
    std::vector<CRect> frameBounds(int32_t frames) const;

private:
    CBitmap();
    bool loadPng(const uint8_t* data, size_t size);
    bool loadScaled(int32_t resource2x, int32_t percent, int32_t frames);
    // The device rectangle and source position of a draw, or false when the context's scale differs.
    bool toDevice(const CDrawContext& context, const CRect& rect, const CPoint& srcOffset, CRect& dest,
                  CPoint& source) const;

    int32_t resourceID;
    CCoord width = 0;
    CCoord height = 0;
    CColor transparentCColor = kTransparentCColor;
    bool opaque = true;
    std::unique_ptr<platform::Image> pixels;
    int32_t scalePercent = 100;
    int32_t frameCount = 1;
    CCoord deviceFrameHeight = 0;
    mutable std::once_flag boundsOnce;
    mutable std::vector<CRect> keptBounds;
    mutable int32_t keptBoundsFrames = 0;
};

} // namespace VSTGUI
