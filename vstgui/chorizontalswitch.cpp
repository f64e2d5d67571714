#include "vstgui/chorizontalswitch.h"

#include "vstgui/cbitmap.h"
#include "vstgui/ccontrollistener.h"
#include "vstgui/cdrawcontext.h"

#include <cstring>

namespace VSTGUI {

namespace {
constexpr int32_t kModifierMask = kShift | kControl | kAlt | kCommandKey;
}

CHorizontalSwitch::CHorizontalSwitch(const CRect& size, CControlListener* listener, int32_t tag,
                                     int32_t subPixmaps, CCoord heightOfOneImage, int32_t maxPositions,
                                     CBitmap* background, const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset), subPixmaps(subPixmaps),
      maxPositions(maxPositions), heightOfOneImage(heightOfOneImage) {
    setDefaultValue(0.0f);
}

bool CHorizontalSwitch::isTypeOf(const char* name) const {
    return std::strcmp(name, "CHorizontalSwitch") == 0 || CControl::isTypeOf(name);
}

int32_t CHorizontalSwitch::position() const {
    // A switch of one position has nothing to choose; values outside 0..1 show the nearer end.
    if (maxPositions <= 1) return 0;
    const float nearest = static_cast<float>(maxPositions - 1) * value + 0.5f;
    if (!(nearest >= 0.0f)) return 0;
    if (nearest >= static_cast<float>(maxPositions)) return maxPositions - 1;
    return static_cast<int32_t>(nearest);
}

float CHorizontalSwitch::valueAt(CCoord h) const {
    if (maxPositions <= 1) return 0.0f;
    // Zones come from the strip's width; without a strip the view's width stands in.
    const CCoord width = background ? background->getWidth() : size.width();
    const double zoneWidth = static_cast<double>(width) / maxPositions;
    if (zoneWidth <= 0.0) return 0.0f;
    const auto zone = static_cast<int32_t>(static_cast<double>(h - size.left) / zoneWidth);
    const float v = static_cast<float>(zone) / static_cast<float>(maxPositions - 1);
    return v > 1.0f ? 1.0f : (v < 0.0f ? 0.0f : v);
}

void CHorizontalSwitch::draw(CDrawContext* context) {
    if (background) {
        const CPoint frame(0, heightOfOneImage * position());
        if (transparencyEnabled)
            background->drawTransparent(context, size, frame);
        else
            background->draw(context, size, frame);
    }
    setDirty(false);
}

void CHorizontalSwitch::mouse(CDrawContext* context, CPoint& where, int32_t buttons) {
    if (!getMouseEnabled()) return;
    if (buttons == kButtonsToBeRead) buttons = CDrawContext::getMouseButtons();
    if (listener && (buttons & kModifierMask) &&
        listener->controlModifierClicked(context, this, buttons) != 0)
        return;
    if (!(buttons & kLButton)) return;
    if (checkDefaultValue(context, buttons)) return;

    beginEdit();
    do {
        value = valueAt(where.h);
        if (isDirty() && listener) listener->valueChanged(context, this);
        getMouseLocation(context, where);
        doIdleStuff();
    } while (CDrawContext::getMouseButtons() == buttons);
    endEdit();
}

} // namespace VSTGUI
