#include "editor/QuorvanePeakLed.h"

#include "tape/meter_feed.h"
#include "vstgui/cbitmap.h"
#include "vstgui/platform/platform.h"

#include <cstring>

using namespace VSTGUI;

QuorvanePeakLed::QuorvanePeakLed(const CRect& size, vr58::MeterFeed* feed, CBitmap* background)
    : CControl(size, nullptr, 0, nullptr), feed(feed), litTick(platform::backend().tickCount()) {
    setBackground(background);
    setDirty(true);
}

bool QuorvanePeakLed::isTypeOf(const char* name) const {
    return std::strcmp(name, "QuorvanePeakLed") == 0 || CControl::isTypeOf(name);
}

void QuorvanePeakLed::draw(CDrawContext* context) {
    if (!background) return;
    const uint32_t now = platform::backend().tickCount();
    // Taking the peak clears it, so every drawing starts a new collection period.
    const double heldMaximum = feed ? feed->takePeak() : 0.0;
    CPoint source;
    if (heldMaximum > 1.0) {
        litTick = now;
        lit = true;
        source.v = size.height();
    } else if (lit && now - litTick < holdTime) {
        source.v = size.height();
    } else {
        litTick = now;
        lit = false;
    }
    if (transparencyEnabled)
        background->drawTransparent(context, size, source);
    else
        background->draw(context, size, source);
    setDirty(false);
}
