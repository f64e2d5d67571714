// The editor's needle meter. It reads the smoothed level that the effect's meter feed publishes, maps it
// onto twelve scale marks placed relative to a reference level, and draws the needle (and, optionally, a
// hold needle that shows the highest recent position for one second) from 130-frame filmstrips.
#pragma once

#include "vstgui/ccontrol.h"

#include <cstdint>

namespace vr58 {
class MeterFeed;
}

class QuorvaneVU : public VSTGUI::CControl {
public:
    static constexpr int kMarks = 12;
    static constexpr uint32_t kLastFrame = 129;
    // The smoothed level is scaled by this before it is placed on the marks.
    static constexpr double kLevelScale = 1.433934302386369;

    // `feed` may be null (the needle then rests); the needle strip is retained.
    QuorvaneVU(const VSTGUI::CRect& size, vr58::MeterFeed* feed, VSTGUI::CBitmap* needle);
    ~QuorvaneVU() override;

    // Frame idle pass, user-interface thread: the hold needle (under) and the needle.
    void draw(VSTGUI::CDrawContext* context) override;
    // Only the flag: the old value stays -1, so the meter is redrawn at every idle pass.
    void setDirty(bool val = true) override { CView::setDirty(val); }
    bool isTypeOf(const char* name) const override;

    // The level, in dB, at which the needle shows the 0 mark (-18 until set).
    void setReferenceLevel(double referenceDb);
    // The hold needle's strip, retained; null shows no hold needle (its timing still runs).
    void setHoldBitmap(VSTGUI::CBitmap* hold);
    VSTGUI::CBitmap* getHoldBitmap() const { return hold; }

    // The filmstrip frame for a scaled level, 0 (rest) to 129 (right stop).
    uint32_t needleFrame(double scaledLevel) const;
    double threshold(int mark) const { return thresholds[mark]; }
    uint32_t heldFrame() const { return held; }

private:
    void drawFrame(VSTGUI::CDrawContext* context, VSTGUI::CBitmap* strip, uint32_t frame);

    vr58::MeterFeed* feed;
    double thresholds[kMarks] = {};
    VSTGUI::CBitmap* needle;
    VSTGUI::CBitmap* hold = nullptr;
    uint32_t holdTime = 1000;
    uint32_t holdTick;
    uint32_t held = 0;
};
