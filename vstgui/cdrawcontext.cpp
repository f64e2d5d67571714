#include "vstgui/cdrawcontext.h"

#include "vstgui/cbuttons.h"
#include "vstgui/cframe.h"
#include "vstgui/cscale.h"
#include "vstgui/platform/platform.h"

namespace VSTGUI {

namespace {

// The heights of the standard fonts; text itself is drawn from glyph images.
constexpr CCoord standardFontHeights[kNumStandardFonts] = {12, 18, 14, 12, 11, 10, 9, 13};

// A frame's contexts draw with the frame's own window system.
platform::Backend& backendOf(CFrame* frame) {
    return frame ? frame->getBackend() : platform::backend();
}

int32_t scaleOf(CFrame* frame) {
    return frame ? frame->getScale() : kUnscaled;
}

CRect initialClip(CFrame* frame) {
    if (!frame) return CRect(0, 0, 1000, 1000);
    CRect r;
    return frame->getViewSize(r);
}

} // namespace

CDrawContext::CDrawContext(CFrame* frame, void* systemContext, void* window)
    : frame(frame), window(window),
      surface(systemContext || window ? backendOf(frame).createWindowSurface(systemContext, window)
                                      : nullptr),
      clipRect(initialClip(frame)), scalePercent(scaleOf(frame)) {
    if (window) offsetScreen = backendOf(frame).windowScreenOrigin(window);
    applyDefaults();
}

CDrawContext::CDrawContext(CFrame* frame, std::unique_ptr<platform::Surface> s, const CRect& clip)
    : frame(frame), surface(std::move(s)), clipRect(clip), scalePercent(scaleOf(frame)) {
    applyDefaults();
}

CCoord CDrawContext::toSurface(CCoord logical) const {
    return toDevice(logical, scalePercent);
}

CRect CDrawContext::toSurface(const CRect& logical) const {
    return toDevice(logical, scalePercent);
}

CDrawContext::~CDrawContext() = default;

void CDrawContext::applyDefaults() {
    setFrameColor(kWhiteCColor);
    setLineStyle(kLineSolid);
    setLineWidth(1);
    setFillColor(kBlackCColor);
    setFontColor(kWhiteCColor);
    setFont(kSystemFont, 0, 0);
    setDrawMode(kCopyMode);
}

void CDrawContext::setFrameColor(CColor color) {
    if (frameColor == color) return;
    frameColor = color;
    if (surface) surface->setPen(frameColor, frameWidth);
}

void CDrawContext::setLineWidth(CCoord width) {
    if (frameWidth == width) return;
    frameWidth = width;
    if (surface) surface->setPen(frameColor, frameWidth);
}

void CDrawContext::setLineStyle(int32_t style) {
    if (lineStyle == style) return;
    lineStyle = style;
    // Only solid pens exist on this platform; the style is context state.
    if (surface) surface->setPen(frameColor, frameWidth);
}

void CDrawContext::setFillColor(CColor color) {
    if (fillColor == color) return;
    fillColor = color;
    if (surface) surface->setBrush(fillColor);
}

void CDrawContext::setFontColor(CColor color) {
    fontColor = color;
}

void CDrawContext::setFont(int32_t id, int32_t /*size*/, int32_t style) {
    if (id < 0 || id >= kNumStandardFonts) id = kSystemFont;
    fontId = id;
    fontSize = standardFontHeights[id];
    fontStyle = style;
}

void CDrawContext::setDrawMode(int32_t mode) {
    if (drawMode == mode) return;
    drawMode = mode;
    if (surface && mode == kCopyMode) surface->setCopyMode();
}

void CDrawContext::fillRect(const CRect& r) {
    if (!surface) return;
    surface->fillRect(toSurface(
        CRect(r.left + 1 + offset.h, r.top + 1 + offset.v, r.right + offset.h, r.bottom + offset.v)));
}

void CDrawContext::moveTo(const CPoint& p) {
    penPosition = p;
    if (surface) surface->moveTo(CPoint(toSurface(p.h + offset.h), toSurface(p.v + offset.v)));
}

void CDrawContext::lineTo(const CPoint& p) {
    if (surface) surface->lineTo(CPoint(toSurface(p.h + offset.h), toSurface(p.v + offset.v)));
    penPosition = p;
}

void CDrawContext::setClipRect(const CRect& clip) {
    clipRect = clip;
    if (surface) surface->setClip(toSurface(clip));
}

int32_t CDrawContext::getMouseButtons() {
    const platform::InputState s = platform::backend().inputState();
    const bool swapMouseButtons = platform::swapsMouseButtons();
    int32_t buttons = 0;
    if (s.left) buttons |= swapMouseButtons ? kRButton : kLButton;
    if (s.middle) buttons |= kMButton;
    if (s.right) buttons |= swapMouseButtons ? kLButton : kRButton;
    if (s.shift) buttons |= kShift;
    if (s.control) buttons |= kControl;
    if (s.alt) buttons |= kAlt;
    return buttons;
}

void CDrawContext::getMouseLocation(CPoint& point) const {
    const CPoint global = backendOf(frame).cursorPosition();
    point = toLogical(CPoint(global.h - offsetScreen.h, global.v - offsetScreen.v), scalePercent);
}

} // namespace VSTGUI
