// An image from the module's embedded resources, kept as premultiplied bottom-up BGRA so drawing is a
// single compositing call per rectangle. A filmstrip is kept frame by frame, each frame only as large as
// its pixels that are not fully transparent; frames of a PNG that carries a frame index are made when
// first drawn, so a knob costs the frames it shows and not the ninety-seven it could.
#pragma once

#include "vstgui/ccolor.h"
#include "vstgui/cgeometry.h"
#include "vstgui/creferencecounter.h"
#include "vstgui/pngdecoder.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

namespace VSTGUI {

namespace platform {
class Backend;
class Image;
} // namespace platform
class CDrawContext;
struct PixelBlock;

class CBitmap : public CReferenceCounter {
public:
    explicit CBitmap(int32_t resourceID);
    // The image for an editor scale (percent): at 100 the resource itself; at 200 resource2x, drawn at
    // twice the resolution; between them resource2x shrunk frame by frame (`frames` stacked vertically),
    // so no frame borrows pixels from its neighbours. Width and height stay in logical pixels.
    CBitmap(int32_t resourceID, int32_t resource2x, int32_t scalePercent, int32_t frames);
    ~CBitmap() override;

    // Drawing may happen on several threads at once (editors of several instances share bitmaps).
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
    // The whole strip as one image in device pixels, every frame made; null when nothing loaded. Made at
    // the first call and kept, for tools and tests that read pixels: drawing never needs it.
    platform::Image* getImage() const;
    // A new bitmap of the same size and scale whose every pixel is `colour` at this one's alpha: text in
    // any colour from a white glyph atlas. Count 1, owned by the caller; null when it cannot be made.
    CBitmap* createTinted(CColor colour) const;
    // Device pixels per 100 logical ones of the decoded image; it draws only into contexts of this scale.
    int32_t getScale() const { return scalePercent; }
    // For each of `frames` frames stacked top to bottom: the logical rectangle, from the frame's top-left,
    // that covers every pixel drawing the frame can change (every pixel not wholly transparent); empty
    // for a frame that changes nothing. Pixels the toolkit cannot read count as drawn. For the bitmap's own
    // frames this makes no frame: it comes from the frame index, widened by the resampling kernel's reach
    // between the drawn resolutions. The first count asked for is worked out once and kept.
    std::vector<CRect> frameBounds(int32_t frames) const;

    // Process-wide: the bytes of pixels all bitmaps hold now, and the frames decoded or resampled so far.
    static int64_t pixelBytesHeld();
    static int64_t framesMade();

private:
    // One frame: the device rectangle of its drawn pixels, from the frame's top-left, and those pixels.
    struct Frame {
        CRect area;
        std::unique_ptr<platform::Image> image;
        std::atomic<bool> ready{false};
    };

    CBitmap();
    bool loadPng(const uint8_t* data, size_t size);
    bool loadScaled(int32_t resource2x, int32_t percent, int32_t frames);
    // Splits a premultiplied block of `frames` frames (rows top first) into kept frames.
    bool keepFrames(const PixelBlock& block, int32_t frames);
    void setFrames(int32_t count);
    // Makes a frame of an indexed source unless made; any thread.
    const Frame& frame(int32_t k) const;
    void makeFrame(Frame& f, int32_t k) const;
    void makeAllFrames() const;
    CRect estimatedArea(int32_t k) const;
    // The device rectangle and source position of a draw, or false when the context's scale differs.
    bool toDevice(const CDrawContext& context, const CRect& rect, const CPoint& srcOffset, CRect& dest,
                  CPoint& source) const;
    enum class Paint { Copy, Key, Blend };
    void paint(CDrawContext* context, const CRect& rect, const CPoint& srcOffset, Paint how, uint8_t alpha);

    int32_t resourceID;
    CCoord width = 0;
    CCoord height = 0;
    CColor transparentCColor = kTransparentCColor;
    bool opaque = true;
    int32_t scalePercent = 100;
    int32_t frameCount = 0;
    CCoord deviceWidth = 0;
    CCoord deviceFrameHeight = 0;
    std::unique_ptr<Frame[]> frames;
    // The indexed PNG frames are made from (at 100 %, or the 2x image); none once every frame is made.
    PngFrames source;
    bool lazy = false;
    // The window system the frames' images are made by: the one of the thread that loaded the bitmap.
    platform::Backend* maker = nullptr;
    mutable std::mutex making;
    mutable std::unique_ptr<platform::Image> whole;
    mutable std::once_flag boundsOnce;
    mutable std::vector<CRect> keptBounds;
    mutable int32_t keptBoundsFrames = 0;
};

} // namespace VSTGUI
