#include "editor/QuorvaneVU.h"

#include "tape/decibels.h"
#include "tape/meter_feed.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/cscale.h"
#include "vstgui/platform/platform.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace VSTGUI;

namespace {
// The scale marks in dB relative to the reference level, and the filmstrip frame on each.
constexpr double kMarkDb[QuorvaneVU::kMarks] = {-20, -10, -7, -5, -3, -2, -1, 0, 1, 2, 3, 3.5};
constexpr uint32_t kMarkFrame[QuorvaneVU::kMarks] = {4, 21, 32, 42, 56, 65, 74, 84, 97, 109, 123, 129};
} // namespace

QuorvaneVU::QuorvaneVU(const CRect& size, vr58::MeterFeed* feed, CBitmap* needle)
    : CControl(size, nullptr, 0, nullptr), feed(feed), needle(needle),
      holdTick(platform::backend().tickCount()) {
    setReferenceLevel(-18.0);
    if (needle) {
        needle->retain();
        needleBounds = needle->frameBounds(kLastFrame + 1);
    }
}

QuorvaneVU::~QuorvaneVU() {
    if (needle) needle->release();
    if (hold) hold->release();
}

bool QuorvaneVU::isTypeOf(const char* name) const {
    return std::strcmp(name, "QuorvaneVU") == 0 || CControl::isTypeOf(name);
}

void QuorvaneVU::setReferenceLevel(double referenceDb) {
    for (int i = 0; i < kMarks; ++i)
        thresholds[i] = std::exp((referenceDb + kMarkDb[i] - 0.8333333333333334) * vr58::kDbToGain);
}

void QuorvaneVU::setHoldBitmap(CBitmap* bitmap) {
    if (bitmap == hold) return;
    if (bitmap) bitmap->retain();
    if (hold) hold->release();
    hold = bitmap;
    holdBounds = hold ? hold->frameBounds(kLastFrame + 1) : std::vector<CRect>();
    // The back buffer's hold needle was drawn from another strip, whose area is not known here.
    if (painted.hold != kNoHold) paintedKnown = false;
}

uint32_t QuorvaneVU::needleFrame(double m) const {
    if (!(m > 0.0)) m = 0.0;
    double f = kLastFrame;
    if (m < thresholds[0]) {
        f = m / thresholds[0] * kMarkFrame[0];
    } else {
        // Strict comparisons: a level exactly on a threshold shows that mark's frame.
        for (int i = 1; i < kMarks; ++i) {
            if (m < thresholds[i]) {
                f = (m - thresholds[i - 1]) / (thresholds[i] - thresholds[i - 1]) *
                        (kMarkFrame[i] - kMarkFrame[i - 1]) +
                    kMarkFrame[i - 1];
                break;
            }
        }
    }
    // Thresholds half rewritten by a concurrent reference change cannot push the needle off its strip.
    if (!(f > 0.0)) return 0;
    return f >= kLastFrame ? kLastFrame : static_cast<uint32_t>(f);
}

void QuorvaneVU::drawFrame(CDrawContext* context, CBitmap* strip, uint32_t frame) {
    const CPoint source(0, static_cast<CCoord>(frame) * size.height());
    if (transparencyEnabled)
        strip->drawTransparent(context, size, source);
    else
        strip->draw(context, size, source);
}

void QuorvaneVU::place() {
    const double level = feed ? feed->smoothedLevel() : 0.0;
    const uint32_t frame = needleFrame(level * kLevelScale);

    // The held frame follows every new maximum and stays for holdTime after it was last set; the hold
    // needle shows only when the needle is at least two frames below it.
    const uint32_t now = platform::backend().tickCount();
    shown.needle = frame;
    shown.hold = kNoHold;
    if (frame > held || now - holdTick >= holdTime) {
        held = frame;
        holdTick = now;
    } else if (hold && held - frame > 1) {
        shown.hold = held;
    }
}

void QuorvaneVU::placeOncePerPass() {
    const CFrame* frame = getFrame();
    const uint32_t pass = frame ? frame->runningUpdatePass() : 0;
    if (pass != 0 && pass == placedInPass) return;
    place();
    placedInPass = pass;
}

CRect QuorvaneVU::frameArea(const std::vector<CRect>& bounds, uint32_t frame) const {
    const CRect whole(0, 0, size.width(), size.height());
    if (frame >= bounds.size()) return whole;
    CRect area = bounds[frame];
    if (area.isEmpty() || needle->getScale() == kUnscaled) return area.bound(whole);
    // A pixel more on every side: at other scales the view's own position rounds the frame's edges to
    // neighbouring device pixels.
    area = CRect(area.left - 1, area.top - 1, area.right + 1, area.bottom + 1);
    return area.bound(whole);
}

CRect QuorvaneVU::changedArea() const {
    const CRect whole(0, 0, size.width(), size.height());
    if (!paintedKnown) return whole;
    if (painted == shown) return CRect();
    CRect area;
    const auto join = [&area](const CRect& r) {
        if (r.isEmpty()) return;
        area = area.isEmpty() ? r
                              : CRect(std::min(area.left, r.left), std::min(area.top, r.top),
                                      std::max(area.right, r.right), std::max(area.bottom, r.bottom));
    };
    if (painted.needle != shown.needle) {
        join(frameArea(needleBounds, painted.needle));
        join(frameArea(needleBounds, shown.needle));
    }
    if (painted.hold != shown.hold) {
        for (uint32_t h : {painted.hold, shown.hold})
            if (h != kNoHold) join(frameArea(holdBounds, h));
    }
    return area;
}

void QuorvaneVU::update(CDrawContext* context) {
    if (!isDirty()) return;
    if (!context || !needle) {
        CControl::update(context);
        return;
    }
    placeOncePerPass();
    CRect area = changedArea();
    if (!area.isEmpty()) {
        area.offset(size.left, size.top);
        redrawRect(context, area);
    }
    painted = shown;
    paintedKnown = true;
    setDirty(false);
}

void QuorvaneVU::draw(CDrawContext* context) {
    if (!needle) return;
    const CFrame* frame = getFrame();
    const bool inPass = frame && frame->runningUpdatePass() != 0;
    placeOncePerPass();
    if (shown.hold != kNoHold && hold) drawFrame(context, hold, shown.hold);
    drawFrame(context, needle, shown.needle);
    if (!inPass) {
        // Drawn outside a pass (a paint, or another target): the back buffer may now hold this placing
        // in part only, so the next pass redraws the whole view.
        paintedKnown = false;
    } else if (context && context->clipHolds(size)) {
        painted = shown;
        paintedKnown = true;
    }
    setDirty(false);
}
