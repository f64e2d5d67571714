// The frame picture the native and the Wine tests both render: the skin background, a large knob at
// its middle frame and the peak LED lit.
#pragma once

#include "strip_view.h"

#include "vstgui/cframe.h"

namespace vr58test {

constexpr VSTGUI::CCoord kSceneWidth = 520;
constexpr VSTGUI::CCoord kSceneHeight = 440;

inline void populateScene(VSTGUI::CFrame& frame) {
    using namespace VSTGUI;
    CBitmap* background = new CBitmap(101);
    frame.setBackground(background);
    background->release();
    CBitmap* knob = new CBitmap(102);
    frame.addView(new StripView(CRect(30, 67, 110, 147), knob, 48 * 80));
    knob->release();
    CBitmap* led = new CBitmap(107);
    frame.addView(new StripView(CRect(328, 71, 356, 99), led, 28));
    led->release();
}

} // namespace vr58test
