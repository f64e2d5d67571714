#include "editor/QuorvanePeakLed.h"

#include "tape/meter_feed.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
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

void QuorvanePeakLed::decide() {
    const uint32_t now = platform::backend().tickCount();
    // Taking the peak clears it, so every decision starts a new collection period.
    const double heldMaximum = feed ? feed->takePeak() : 0.0;
    if (heldMaximum > 1.0) {
        litTick = now;
        lit = true;
    } else if (!(lit && now - litTick < holdTime)) {
        litTick = now;
        lit = false;
    }
}

void QuorvanePeakLed::decideOncePerPass() {
    const CFrame* frame = getFrame();
    const uint32_t pass = frame ? frame->runningUpdatePass() : 0;
    if (pass != 0 && pass == decidedInPass) return;
    decide();
    decidedInPass = pass;
}

void QuorvanePeakLed::update(CDrawContext* context) {
    if (!isDirty()) return;
    if (!context || !background) {
        CControl::update(context);
        return;
    }
    decideOncePerPass();
    if (!paintedKnown || paintedLit != lit) redrawRect(context, size);
    paintedLit = lit;
    paintedKnown = true;
    setDirty(false);
}

void QuorvanePeakLed::draw(CDrawContext* context) {
    if (!background) return;
    const CFrame* frame = getFrame();
    const bool inPass = frame && frame->runningUpdatePass() != 0;
    decideOncePerPass();
    const CPoint source(0, lit ? size.height() : 0);
    if (transparencyEnabled)
        background->drawTransparent(context, size, source);
    else
        background->draw(context, size, source);
    // Drawn outside a pass, the back buffer may show this decision in part only.
    if (!inPass) {
        paintedKnown = false;
    } else if (context && context->clipHolds(size)) {
        paintedLit = lit;
        paintedKnown = true;
    }
    setDirty(false);
}
