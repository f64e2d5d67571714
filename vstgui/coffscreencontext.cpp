#include "vstgui/coffscreencontext.h"

#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/platform/platform.h"

namespace VSTGUI {

namespace {

CRect normalised(CCoord width, CCoord height) {
    return CRect(std::min<CCoord>(0, width), std::min<CCoord>(0, height), std::max<CCoord>(0, width),
                 std::max<CCoord>(0, height));
}

std::unique_ptr<platform::Surface> makeSurface(CFrame* frame, CCoord width, CCoord height) {
    void* window = frame ? frame->getWindowHandle() : nullptr;
    platform::Backend& system = frame ? frame->getBackend() : platform::backend();
    return system.createOffscreen(window, std::max<CCoord>(width, 0), std::max<CCoord>(height, 0));
}

} // namespace

COffscreenContext::COffscreenContext(CFrame* frame, CCoord width, CCoord height, CColor backgroundColor)
    : CDrawContext(frame, makeSurface(frame, width, height), normalised(width, height)), height(height),
      width(width), backgroundColor(backgroundColor) {
    setFillColor(backgroundColor);
    setFrameColor(backgroundColor);
    const CRect r(0, 0, width, height);
    fillRect(r);
    // fillRect leaves the top row and left column out; the outline covers them and the far edges.
    moveTo(CPoint(0, 0));
    lineTo(CPoint(width - 1, 0));
    lineTo(CPoint(width - 1, height - 1));
    lineTo(CPoint(0, height - 1));
    lineTo(CPoint(0, 0));
}

COffscreenContext::~COffscreenContext() {
    if (bitmap) bitmap->release();
}

void COffscreenContext::copyFrom(CDrawContext* dest, const CRect& destRect, const CPoint& srcOffset) {
    if (!dest || !dest->getSurface() || !getSurface()) return;
    if (&dest->getSurface()->owner != &getSurface()->owner) return;
    CRect target = destRect;
    target.offset(dest->offset.h, dest->offset.v);
    getSurface()->copyTo(*dest->getSurface(), target, srcOffset);
}

void COffscreenContext::copyTo(CDrawContext* src, const CRect& srcRect, const CPoint& destOffset) {
    if (!src || !src->getSurface() || !getSurface()) return;
    if (&src->getSurface()->owner != &getSurface()->owner) return;
    const CRect target(destOffset.h, destOffset.v, destOffset.h + srcRect.width(),
                       destOffset.v + srcRect.height());
    src->getSurface()->copyTo(*getSurface(), target,
                              CPoint(srcRect.left + src->offset.h, srcRect.top + src->offset.v));
}

} // namespace VSTGUI
