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
constexpr int32_t kWideNeedleId = 994; // 8 x 4 frames, one pixel each
constexpr int32_t kWideHoldId = 995;
constexpr int32_t kWideNeedle2xId = 996;
constexpr int32_t kSparseId = 997;
constexpr int32_t kFaceId = 998; // 200 x 100, three channels, every pixel its own colour
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
        // Frame k of the wide strips paints one pixel: the needle's at (k % 8, k / 8 % 4), red = k; the
        // hold needle's at the mirrored place, green = k. The 2x needle paints the lower right device
        // pixel of the needle's.
        std::vector<uint8_t> wide(8 * 4 * 130 * 4), wideHold(wide.size()), wide2x(wide.size() * 4);
        for (uint8_t k = 0; k < 130; ++k) {
            const int x = k % 8, y = k / 8 % 4;
            const size_t at = (static_cast<size_t>(k) * 4 + y) * 8 + x;
            const size_t mirrored = (static_cast<size_t>(k) * 4 + 3 - y) * 8 + 7 - x;
            const size_t at2x = (static_cast<size_t>(k) * 8 + 2 * y + 1) * 16 + 2 * x + 1;
            std::copy_n(std::begin({k, uint8_t(30), uint8_t(0), uint8_t(255)}), 4, wide.begin() + at * 4);
            std::copy_n(std::begin({uint8_t(0), k, uint8_t(40), uint8_t(255)}), 4,
                        wideHold.begin() + mirrored * 4);
            std::copy_n(std::begin({k, uint8_t(30), uint8_t(0), uint8_t(255)}), 4, wide2x.begin() + at2x * 4);
        }
        std::vector<uint8_t> face;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) face.insert(face.end(), {uint8_t(x), uint8_t(y), uint8_t(77)});
        resources.addPng(kFaceId, 200, 100, 3, face);
        resources.addPng(kWideNeedleId, 8, 4 * 130, 4, wide);
        resources.addPng(kWideHoldId, 8, 4 * 130, 4, wideHold);
        resources.addPng(kWideNeedle2xId, 16, 8 * 130, 4, wide2x);
        // Three 2 x 2 frames: nothing; colour under alpha 0 (nothing once premultiplied); two corners.
        resources.addPng(kSparseId, 2, 6, 4, {0,  0,  0,  0, 0, 0, 0, 0, 0, 0, 0, 0,   0,   0, 0, 0, //
                                              90, 90, 90, 0, 0, 0, 0, 0, 0, 0, 0, 0,   200, 9, 9, 0, //
                                              0,  0,  0,  0, 1, 1, 1, 1, 5, 5, 5, 255, 0,   0, 0, 0});
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
    // The window's pixels after the last pass equal those of a redraw of the whole frame.
    void expectWindowIsAWholeRedraw(const char* when) {
        const std::vector<uint32_t> shown = host.child->screen().data;
        frame->setDirty(true);
        frame->idle();
        const std::vector<uint32_t>& whole = host.child->screen().data;
        for (size_t i = 0; i < shown.size(); ++i)
            if (shown[i] != whole[i])
                ADD_FAILURE() << when << ": pixel " << i % host.child->screen().width << ", "
                              << i / host.child->screen().width << " shows " << std::hex << shown[i]
                              << " where a whole redraw shows " << whole[i];
    }

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

TEST_F(MeterViewTest, FrameBoundsCoverEachFramesDrawnPixels) {
    CBitmap wide(kWideNeedleId);
    const std::vector<CRect> bounds = wide.frameBounds(130);
    ASSERT_EQ(bounds.size(), 130u);
    EXPECT_EQ(bounds[0], CRect(0, 0, 1, 1));
    EXPECT_EQ(bounds[13], CRect(5, 1, 6, 2));
    EXPECT_EQ(bounds[129], CRect(1, 0, 2, 1));
    // Another count is worked out anew, not taken from the kept one: frames 0 and 1 of the strip.
    const std::vector<CRect> pairs = wide.frameBounds(65);
    ASSERT_EQ(pairs.size(), 65u);
    EXPECT_EQ(pairs[0], CRect(0, 0, 2, 5));
    EXPECT_EQ(wide.frameBounds(130)[13], CRect(5, 1, 6, 2));

    // Wholly transparent frames change nothing, whatever colour their pixels carried.
    CBitmap sparse(kSparseId);
    const std::vector<CRect> sparseBounds = sparse.frameBounds(3);
    EXPECT_TRUE(sparseBounds[0].isEmpty());
    EXPECT_TRUE(sparseBounds[1].isEmpty());
    EXPECT_EQ(sparseBounds[2], CRect(0, 0, 2, 2));

    // At 200 % the device pixels of a frame are covered in logical pixels.
    CBitmap doubled(kWideNeedleId, kWideNeedle2xId, 200, 130);
    ASSERT_EQ(doubled.getScale(), 200);
    EXPECT_EQ(doubled.frameBounds(130)[13], CRect(5, 1, 6, 2));
}

TEST_F(MeterViewTest, IdlePassesRedrawOnlyWhereTheNeedlesMoved) {
    // Over a face, as in the editor: a redrawn area shows the face again under the needles.
    CBitmap face(kFaceId), wide(kWideNeedleId), wideHold(kWideHoldId);
    frame->setBackground(&face);
    soft().setTicks(0);
    auto* vu = new QuorvaneVU(CRect(40, 20, 48, 24), &meter, &wide);
    vu->setHoldBitmap(&wideHold);
    frame->addView(vu);
    paint();
    const std::vector<CRect>& areas = frame->lastUpdatedAreas();
    // The paint drew outside a pass: the first pass redraws the whole view once.
    frame->idle();
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0], CRect(40, 20, 48, 24));

    // Nothing moved: nothing is drawn or sent, so a mark on the window stays.
    soft::Pixels& screen = host.child->screen();
    const uint32_t under = screen.at(47, 23);
    screen.at(47, 23) = 0x12345678u;
    frame->idle();
    EXPECT_TRUE(areas.empty());
    EXPECT_EQ(screen.at(47, 23), 0x12345678u);
    screen.at(47, 23) = under;

    // Frame 0 at (0, 0) to frame 13 at (5, 1): only the rectangle holding both.
    settleOn(*vu, 13);
    soft().setTicks(100);
    frame->idle();
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0], CRect(40, 20, 46, 22));
    EXPECT_EQ((screen.at(45, 21) >> 16) & 0xFF, 13u);
    expectWindowIsAWholeRedraw("needle moved");

    // Down to frame 10 at (2, 1) within the second: the hold needle appears at frame 13's mirror (2, 2).
    settleOn(*vu, 10);
    soft().setTicks(300);
    frame->idle();
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0], CRect(42, 21, 46, 23));
    EXPECT_EQ((screen.at(42, 22) >> 8) & 0xFF, 13u);
    expectWindowIsAWholeRedraw("hold needle shown");

    // A second after the peak the hold needle goes: its area and nothing of the resting needle.
    soft().setTicks(1100);
    frame->idle();
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0], CRect(42, 22, 43, 23));
    EXPECT_EQ(screen.at(42, 22), 0xFF2A164Du); // the face
    expectWindowIsAWholeRedraw("hold needle gone");

    // Taking the hold strip away while its needle shows redraws the whole view.
    settleOn(*vu, 20);
    soft().setTicks(1200);
    frame->idle();
    settleOn(*vu, 16);
    soft().setTicks(1300);
    frame->idle();
    vu->setHoldBitmap(nullptr);
    frame->idle();
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0], CRect(40, 20, 48, 24));
    expectWindowIsAWholeRedraw("hold strip taken away");
    frame->removeView(vu);
    frame->setBackground(nullptr);
}

TEST_F(MeterViewTest, TheLampIsRedrawnOnlyWhenItTurnsOnOrOff) {
    soft().setTicks(1000);
    auto* led = new QuorvanePeakLed(CRect(60, 20, 61, 21), &meter, ledStrip);
    frame->addView(led);
    paint();
    const std::vector<CRect>& areas = frame->lastUpdatedAreas();
    frame->idle();
    ASSERT_EQ(areas.size(), 1u);
    frame->idle();
    EXPECT_TRUE(areas.empty());

    push({1.5});
    frame->idle();
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0], CRect(60, 20, 61, 21));
    EXPECT_EQ(vr58test::rgbOf(host.child->screen().at(60, 20)), 0xFF0000u);
    // Lit again, and lit for 300 ms: the lamp stays as it is on the window.
    push({1.5});
    soft().setTicks(1100);
    frame->idle();
    EXPECT_TRUE(areas.empty());
    EXPECT_EQ(meter.takePeak(), 0.0); // the pass took the peak all the same
    soft().setTicks(1399);
    frame->idle();
    EXPECT_TRUE(areas.empty());
    soft().setTicks(1400);
    frame->idle();
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(vr58test::rgbOf(host.child->screen().at(60, 20)), 0x0000FFu);
    expectWindowIsAWholeRedraw("lamp out");
}

} // namespace
