// The editor's kinds of controls and meters over the skin, at values that show inner frames, the hold
// needle under the needle and the lit LED: rendered natively and through GDI for comparison.
#pragma once

#include "editor/QuorvanePeakLed.h"
#include "editor/QuorvaneVU.h"
#include "tape/meter_feed.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/chorizontalswitch.h"
#include "vstgui/cknob.h"

#include <vector>

namespace vr58test {

// Steady meter values for a few seconds, so the needle settles on their level, then one value `last`.
inline void settleMeter(vr58::MeterFeed& feed, double level, double last = 0.0) {
    vr58::MeterFeed::Block block = feed.beginBlock(44100.0);
    for (int i = 0; i < 4 * 44100; ++i) block.push(level);
    block.push(last);
    feed.endBlock(block);
}

// Adds the views to a frame of 520 x 440; the feed should be started.
inline void populateControls(VSTGUI::CFrame& frame, vr58::MeterFeed& feed) {
    using namespace VSTGUI;
    auto bitmap = [](int32_t id) { return new CBitmap(id); };
    CBitmap* background = bitmap(101);
    frame.setBackground(background);
    background->release();

    struct Knob {
        CRect size;
        int32_t strip;
        CCoord frameHeight;
        float value;
    };
    for (const Knob& k :
         {Knob{CRect(30, 67, 110, 147), 102, 80, 0.37f}, Knob{CRect(30, 220, 90, 280), 103, 60, 0.81f}}) {
        CBitmap* strip = bitmap(k.strip);
        auto* knob = new CAnimKnob(k.size, nullptr, 0, 97, k.frameHeight, strip);
        knob->setValue(k.value);
        frame.addView(knob);
        strip->release();
    }
    struct Switch {
        CRect size;
        int32_t strip;
        int32_t positions;
        CCoord frameHeight;
        float value;
    };
    for (const Switch& s : {Switch{CRect(240, 230, 280, 270), 104, 3, 40, 0.5f},
                            Switch{CRect(160, 5, 200, 35), 108, 4, 30, 0.625f}}) {
        CBitmap* strip = bitmap(s.strip);
        auto* control =
            new CHorizontalSwitch(s.size, nullptr, 0, s.positions, s.frameHeight, s.positions, strip);
        control->setValue(s.value);
        frame.addView(control);
        strip->release();
    }

    CBitmap* needle = bitmap(105);
    CBitmap* hold = bitmap(106);
    auto* vu = new QuorvaneVU(CRect(165, 62, 355, 152), &feed, needle);
    vu->setHoldBitmap(hold);
    frame.addView(vu);
    needle->release();
    hold->release();
    CBitmap* led = bitmap(107);
    frame.addView(new QuorvanePeakLed(CRect(328, 71, 356, 99), &feed, led));
    led->release();
}

} // namespace vr58test
