#include "vstgui/cdrawcontext.h"

#include "vstgui/cbuttons.h"
#include "vstgui/cframe.h"
#include "vstgui/platform/platform.h"

#include <atomic>

namespace VSTGUI {

namespace {

// Written by every frame window's creation, read by any editor's drag on its own thread.
std::atomic<bool> swapMouseButtons{false};

struct StandardFont {
    const char* face;
    CCoord height;
};
constexpr StandardFont standardFonts[kNumStandardFonts] = {
    {"Arial", 12}, {"Arial", 18}, {"Arial", 14}, {"Arial", 12},
    {"Arial", 11}, {"Arial", 10}, {"Arial", 9},  {"Symbol", 13},
};

// A frame's contexts draw with the frame's own window system.
platform::Backend& backendOf(CFrame* frame) {
    return frame ? frame->getBackend() : platform::backend();
}

CRect initialClip(CFrame* frame) {
    if (!frame) return CRect(0, 0, 1000, 1000);
    CRect r;
    return frame->getViewSize(r);
}

} // namespace

void setSwapMouseButtons(bool swapped) {
    swapMouseButtons.store(swapped, std::memory_order_relaxed);
}
bool getSwapMouseButtons() {
    return swapMouseButtons.load(std::memory_order_relaxed);
}

CDrawContext::CDrawContext(CFrame* frame, void* systemContext, void* window)
    : frame(frame), window(window),
      surface(systemContext || window ? backendOf(frame).createWindowSurface(systemContext, window)
                                      : nullptr),
      clipRect(initialClip(frame)) {
    if (window) offsetScreen = backendOf(frame).windowScreenOrigin(window);
    applyDefaults();
}

CDrawContext::CDrawContext(CFrame* frame, std::unique_ptr<platform::Surface> s, const CRect& clip)
    : frame(frame), surface(std::move(s)), clipRect(clip) {
    applyDefaults();
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
    if (fontColor == color) return;
    fontColor = color;
    if (surface) surface->setTextColor(fontColor);
}

void CDrawContext::setFont(int32_t id, int32_t /*size*/, int32_t style) {
    if (id < 0 || id >= kNumStandardFonts) id = kSystemFont;
    const CCoord height = standardFonts[id].height;
    if (id == fontId && height == fontSize && style == fontStyle) return;
    fontId = id;
    fontSize = height;
    fontStyle = style;
    if (!surface) return;
    platform::FontRequest request;
    request.face = standardFonts[id].face;
    request.height = height;
    request.bold = (style & 1) || id == kSystemFont;
    request.italic = (style & 2) != 0;
    request.underline = (style & 4) != 0;
    request.symbol = id == kSymbolFont;
    surface->setFont(request);
}

void CDrawContext::setDrawMode(int32_t mode) {
    if (drawMode == mode) return;
    drawMode = mode;
    if (surface && mode == kCopyMode) surface->setCopyMode();
}

void CDrawContext::fillRect(const CRect& r) {
    if (!surface) return;
    surface->fillRect(
        CRect(r.left + 1 + offset.h, r.top + 1 + offset.v, r.right + offset.h, r.bottom + offset.v));
}

void CDrawContext::moveTo(const CPoint& p) {
    penPosition = p;
    if (surface) surface->moveTo(CPoint(p.h + offset.h, p.v + offset.v));
}

void CDrawContext::lineTo(const CPoint& p) {
    if (surface) surface->lineTo(CPoint(p.h + offset.h, p.v + offset.v));
    penPosition = p;
}

void CDrawContext::setClipRect(const CRect& clip) {
    clipRect = clip;
    if (surface) surface->setClip(clip);
}

int32_t CDrawContext::getMouseButtons() {
    const platform::InputState s = platform::backend().inputState();
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
    point = CPoint(global.h - offsetScreen.h, global.v - offsetScreen.v);
}

} // namespace VSTGUI
