// The overload lamp beside the VU meter. Each drawing takes the largest meter value the effect's meter feed
// saw since the previous drawing; above full scale the lamp lights and stays lit for every drawing less
// than 300 ms after the last drawing that saw an over.
#pragma once

#include "vstgui/ccontrol.h"

#include <cstdint>

namespace vr58 {
class MeterFeed;
}

class QuorvanePeakLed : public VSTGUI::CControl {
public:
    // `feed` may be null (the lamp then never lights); `background` is the two-frame strip, retained.
    QuorvanePeakLed(const VSTGUI::CRect& size, vr58::MeterFeed* feed, VSTGUI::CBitmap* background);

    // Frame idle pass, user-interface thread. Inside a pass of the frame the lamp takes the peak and
    // decides once, at the pass's first drawing or update; any other drawing decides anew.
    void draw(VSTGUI::CDrawContext* context) override;
    // Frame idle pass: decides, and redraws the lamp only when it changes between lit and unlit.
    void update(VSTGUI::CDrawContext* context) override;
    // Only the flag: the old value stays -1, so the lamp is redrawn at every idle pass.
    void setDirty(bool val = true) override { CView::setDirty(val); }
    bool isTypeOf(const char* name) const override;

    bool isLit() const { return lit; }

private:
    void decide();
    void decideOncePerPass();

    vr58::MeterFeed* feed;
    uint32_t holdTime = 300;
    uint32_t litTick;
    bool lit = false;
    // Whether the frame's back buffer shows the lamp lit, when `paintedKnown`.
    bool paintedLit = false;
    bool paintedKnown = false;
    uint32_t decidedInPass = 0;
};
