#include "control_fixture.h"
#include "test_png.h"

#include "editor/QuorvanePeakLed.h"
#include "editor/QuorvaneVU.h"
#include "tape/meter_feed.h"
#include "vstgui/cbitmap.h"
#include "vstgui/coffscreencontext.h"

#include <cmath>
#include <limits>

using namespace VSTGUI;

namespace {

constexpr int32_t kNeedleId = 991;
constexpr int32_t kHoldId = 992;
constexpr int32_t kLedId = 993;
constexpr double kRate = 48000.0;

// Strips of one-pixel-high frames that say which frame was drawn: the needle strip paints the left pixel
// red = frame, the hold strip the right pixel red = frame (green 20); both are transparent elsewhere.
// The LED strip is one pixel per frame: blue unlit, red lit.
class MeterViewTest : public vr58test::ControlFixture {
protected:
    MeterViewTest() {
        std::vector<uint8_t> needle, hold;
        for (uint8_t k = 0; k < 130; ++k) {
            needle.insert(needle.end(), {k, 10, 0, 255, 0, 0, 0, 0});
            hold.insert(hold.end(), {0, 0, 0, 0, k, 20, 0, 255});
        }
        resources.addPng(kNeedleId, 2, 130, 4, needle);
        resources.addPng(kHoldId, 2, 130, 4, hold);
        resources.addPng(kLedId, 1, 2, 4, {0, 0, 255, 255, 255, 0, 0, 255});
        needleStrip = new CBitmap(kNeedleId);
        holdStrip = new CBitmap(kHoldId);
        ledStrip = new CBitmap(kLedId);
        meter.start();
    }
    ~MeterViewTest() override {
        needleStrip->release();
        holdStrip->release();
        ledStrip->release();
    }

    struct Shown {
        int needle;
        int hold; // -1: not drawn
    };
    Shown drawAt(QuorvaneVU& vu, uint32_t ticks) {
        soft().setTicks(ticks);
        COffscreenContext ctx(nullptr, 2, 1, kBlackCColor);
        vu.draw(&ctx);
        const uint32_t left = vr58test::pixelAt(ctx, 0, 0), right = vr58test::pixelAt(ctx, 1, 0);
        return {int((left >> 16) & 0xFF), right == 0xFF000000u ? -1 : int((right >> 16) & 0xFF)};
    }
    bool litAt(QuorvanePeakLed& led, uint32_t ticks) {
        soft().setTicks(ticks);
        COffscreenContext ctx(nullptr, 1, 1, kBlackCColor);
        led.draw(&ctx);
        return vr58test::rgbOf(vr58test::pixelAt(ctx, 0, 0)) == 0xFF0000u;
    }
    // Settles the needle on `frame`: a steady level in the middle of that frame, fed for four seconds.
    void settleOn(const QuorvaneVU& vu, uint32_t frame) {
        auto lowest = [&](uint32_t f) {
            double lo = 0.0, hi = 1.0;
            for (int i = 0; i < 60; ++i) (vu.needleFrame((lo + hi) / 2) >= f ? hi : lo) = (lo + hi) / 2;
            return hi;
        };
        const double level = (lowest(frame) + lowest(frame + 1)) / 2 / QuorvaneVU::kLevelScale;
        push(std::vector<double>(static_cast<size_t>(4 * kRate), level));
    }
    void push(const std::vector<double>& values) {
        vr58::MeterFeed::Block block = meter.beginBlock(kRate);
        for (double v : values) block.push(v);
        meter.endBlock(block);
    }

    vr58test::TestResources resources;
    CBitmap* needleStrip;
    CBitmap* holdStrip;
    CBitmap* ledStrip;
    vr58::MeterFeed meter;
};

TEST_F(MeterViewTest, ThresholdsFollowTheReferenceLevel) {
    QuorvaneVU vu(CRect(0, 0, 2, 1), &meter, needleStrip);
    const double atMinus18[] = {0.011438, 0.036169, 0.05109,  0.064318, 0.080972, 0.090852,
                                0.101937, 0.114376, 0.128332, 0.14399,  0.16156,  0.171133};
    for (int i = 0; i < QuorvaneVU::kMarks; ++i) EXPECT_NEAR(vu.threshold(i), atMinus18[i], 5e-7) << i;
    for (auto [reference, zeroMark] : {std::pair{-12.0, 0.228209}, {-14.0, 0.181273}, {-20.0, 0.090852}}) {
        vu.setReferenceLevel(reference);
        EXPECT_NEAR(vu.threshold(7), zeroMark, 5e-7) << reference;
    }
    // The same steady level sits about 6 dB lower on the scale at -12 than at -18.
    vu.setReferenceLevel(-12.0);
    EXPECT_EQ(vu.needleFrame(0.2283), 84u);
    vu.setReferenceLevel(-18.0);
    EXPECT_EQ(vu.needleFrame(0.2283), 129u);
}

TEST_F(MeterViewTest, NeedleFrameMappingIsStrict) {
    QuorvaneVU vu(CRect(0, 0, 2, 1), &meter, needleStrip);
    EXPECT_EQ(vu.needleFrame(0.0), 0u);
    EXPECT_EQ(vu.needleFrame(vu.threshold(0) / 2), 2u);
    EXPECT_EQ(vu.needleFrame(vu.threshold(0)), 4u);
    EXPECT_EQ(vu.needleFrame(0.114376), 84u);
    EXPECT_EQ(vu.needleFrame(0.114375), 83u);
    EXPECT_EQ(vu.needleFrame(1.0), 129u);
    EXPECT_EQ(vu.needleFrame(-0.3), 0u);
    EXPECT_EQ(vu.needleFrame(std::numeric_limits<double>::quiet_NaN()), 0u);

    // Drawing reads the feed's smoothed level: 0.0798 steady is the 0 mark at -18 dB.
    EXPECT_EQ(drawAt(vu, 0).needle, 0);
    push(std::vector<double>(static_cast<size_t>(4 * kRate), 0.0798));
    EXPECT_EQ(drawAt(vu, 0).needle, 84);
    QuorvaneVU unfed(CRect(0, 0, 2, 1), nullptr, needleStrip);
    EXPECT_EQ(drawAt(unfed, 0).needle, 0);
}

TEST_F(MeterViewTest, HoldNeedleKeepsTheMaximumForOneSecond) {
    soft().setTicks(0);
    QuorvaneVU vu(CRect(0, 0, 2, 1), &meter, needleStrip);
    vu.setHoldBitmap(holdStrip);
    settleOn(vu, 100);
    EXPECT_EQ(drawAt(vu, 100).hold, -1); // a new maximum: the hold needle moves with the needle
    settleOn(vu, 99);
    EXPECT_EQ(drawAt(vu, 300).hold, -1); // one frame below: not drawn
    settleOn(vu, 98);
    const Shown shown = drawAt(vu, 500);
    EXPECT_EQ(shown.needle, 98);
    EXPECT_EQ(shown.hold, 100);
    EXPECT_EQ(drawAt(vu, 1099).hold, 100);
    EXPECT_EQ(drawAt(vu, 1100).hold, -1); // a second after the peak: drops to the needle
    EXPECT_EQ(vu.heldFrame(), 98u);

    // Without a hold strip the timing still runs; setting one shows a recent peak at once.
    vu.setHoldBitmap(nullptr);
    settleOn(vu, 120);
    drawAt(vu, 2000);
    settleOn(vu, 100);
    EXPECT_EQ(drawAt(vu, 2100).hold, -1);
    vu.setHoldBitmap(holdStrip);
    EXPECT_EQ(drawAt(vu, 2200).hold, 120);
}

TEST_F(MeterViewTest, MetersAreRedrawnAtEveryIdlePass) {
    auto* vu = new QuorvaneVU(CRect(10, 10, 12, 11), &meter, needleStrip);
    auto* led = new QuorvanePeakLed(CRect(20, 10, 21, 11), &meter, ledStrip);
    frame->addView(vu);
    frame->addView(led);
    paint();
    EXPECT_TRUE(vu->isDirty() && led->isDirty());
    EXPECT_TRUE(vu->isTypeOf("QuorvaneVU") && led->isTypeOf("QuorvanePeakLed") && vu->isTypeOf("CControl"));
    const soft::Pixels& screen = host.child->screen();
    EXPECT_EQ((screen.at(10, 10) >> 16) & 0xFF, 0u);

    // Nothing marks them dirty: the audio side only writes the feed.
    push(std::vector<double>(static_cast<size_t>(4 * kRate), 0.0798));
    push({1.5});
    frame->idle();
    EXPECT_EQ((screen.at(10, 10) >> 16) & 0xFF, 84u);
    EXPECT_EQ(vr58test::rgbOf(screen.at(20, 10)), 0xFF0000u);
    frame->idle();
    EXPECT_EQ((screen.at(10, 10) >> 16) & 0xFF, 84u); // no audio: the needle stays
}

TEST_F(MeterViewTest, PeakLedLightsAboveFullScaleAndHolds300Ms) {
    soft().setTicks(1000);
    QuorvanePeakLed led(CRect(0, 0, 1, 1), &meter, ledStrip);
    push({0.5, 1.0});
    EXPECT_FALSE(litAt(led, 1000)); // exactly full scale is no over
    push({1.0001});
    EXPECT_TRUE(litAt(led, 1100));
    EXPECT_EQ(meter.takePeak(), 0.0); // the drawing took the held maximum
    EXPECT_TRUE(litAt(led, 1399));
    EXPECT_FALSE(litAt(led, 1400));

    for (uint32_t t = 2000; t <= 4000; t += 250) {
        push({1.2});
        EXPECT_TRUE(litAt(led, t)) << t;
    }
    EXPECT_TRUE(litAt(led, 4299));
    EXPECT_FALSE(litAt(led, 4300));

    push({std::numeric_limits<double>::quiet_NaN()});
    EXPECT_FALSE(litAt(led, 5000));
    push({std::numeric_limits<double>::infinity()});
    EXPECT_TRUE(litAt(led, 5100));
    EXPECT_TRUE(led.isDirty());

    QuorvanePeakLed unfed(CRect(0, 0, 1, 1), nullptr, ledStrip);
    EXPECT_FALSE(litAt(unfed, 6000));
    QuorvanePeakLed bare(CRect(0, 0, 1, 1), &meter, nullptr);
    push({2.0});
    EXPECT_FALSE(litAt(bare, 6100));
}

} // namespace
