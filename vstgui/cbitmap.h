// An image from the module's embedded resources. PNGs are converted once at load time into premultiplied
// bottom-up BGRA, so drawing is a single compositing call per rectangle.
#pragma once

#include "vstgui/ccolor.h"
#include "vstgui/cgeometry.h"
#include "vstgui/creferencecounter.h"

#include <memory>

namespace VSTGUI {

namespace platform {
class Image;
}
class CDrawContext;

class CBitmap : public CReferenceCounter {
public:
    explicit CBitmap(int32_t resourceID);
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

private:
    bool loadPng(const uint8_t* data, size_t size);

    int32_t resourceID;
    CCoord width = 0;
    CCoord height = 0;
    CColor transparentCColor = kTransparentCColor;
    bool opaque = true;
    std::unique_ptr<platform::Image> pixels;
};

} // namespace VSTGUI
