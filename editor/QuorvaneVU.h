// The editor's needle meter. It reads the smoothed level that the effect's meter feed publishes, maps it
// onto twelve scale marks placed relative to a reference level, and draws the needle (and, optionally, a
// hold needle that shows the highest recent position for one second) from 130-frame filmstrips.
#pragma once

#include "vstgui/ccontrol.h"

#include <cstdint>
#include <vector>

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

    // Frame idle pass, user-interface thread: the hold needle (under) and the needle. Inside a pass of
    // the frame the needles are placed once, at the pass's first drawing or update; any other drawing
    // places them anew.
    void draw(VSTGUI::CDrawContext* context) override;
    // Frame idle pass: places the needles and redraws only the area where the frames shown differ from
    // those in the frame's back buffer (nothing when neither needle moved).
    void update(VSTGUI::CDrawContext* context) override;
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
    // The needle frame of the latest placing.
    uint32_t shownFrame() const { return shown.needle; }

private:
    static constexpr uint32_t kNoHold = 0xFFFFFFFFu;
    // What the view shows: the needle's frame and the hold needle's, or kNoHold.
    struct Shown {
        uint32_t needle = 0;
        uint32_t hold = kNoHold;
        bool operator==(const Shown& o) const { return needle == o.needle && hold == o.hold; }
    };

    void drawFrame(VSTGUI::CDrawContext* context, VSTGUI::CBitmap* strip, uint32_t frame);
    // Reads the level and runs the hold timing: the frames to show now.
    void place();
    // Places the needles unless this drawing belongs to a pass that placed them already.
    void placeOncePerPass();
    // The view-relative area a strip's frame covers; the whole view where unknown.
    VSTGUI::CRect frameArea(const std::vector<VSTGUI::CRect>& bounds, uint32_t frame) const;
    VSTGUI::CRect changedArea() const;

    vr58::MeterFeed* feed;
    double thresholds[kMarks] = {};
    VSTGUI::CBitmap* needle;
    VSTGUI::CBitmap* hold = nullptr;
    uint32_t holdTime = 1000;
    uint32_t holdTick;
    uint32_t held = 0;

    Shown shown;
    // What the frame's back buffer holds over the whole view, when `paintedKnown`.
    Shown painted;
    bool paintedKnown = false;
    uint32_t placedInPass = 0;
    std::vector<VSTGUI::CRect> needleBounds;
    std::vector<VSTGUI::CRect> holdBounds;
};
