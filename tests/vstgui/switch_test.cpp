#include "control_fixture.h"
#include "test_png.h"

#include "vstgui/cbitmap.h"
#include "vstgui/chorizontalswitch.h"

#include <cmath>

using namespace VSTGUI;
using vr58test::held;
using vr58test::released;

namespace {

constexpr int32_t kStripId = 990;

// A 40-pixel switch strip of four 30-pixel frames, frame k filled with red 60 k.
class SwitchTest : public vr58test::ControlFixture {
protected:
    SwitchTest() {
        std::vector<uint8_t> rgba;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 40; ++x) rgba.insert(rgba.end(), {uint8_t(60 * (y / 30)), 0, 90, 255});
        resources.addPng(kStripId, 40, 120, 4, rgba);
        strip = new CBitmap(kStripId);
    }
    ~SwitchTest() override { strip->release(); }

    CHorizontalSwitch* make(int32_t positions) {
        return new CHorizontalSwitch(CRect(100, 20, 140, 50), nullptr, 4, positions, 30, positions, strip);
    }
    // The frame the window shows at the switch.
    int shownFrame() { return int((host.child->screen().at(120, 35) >> 16) & 0xFF) / 60; }

    vr58test::TestResources resources;
    CBitmap* strip;
};

TEST_F(SwitchTest, ZonesDivideTheStripWidthEquallyFromLeftToRight) {
    auto zones = [this](int32_t positions) {
        CHorizontalSwitch* s = make(positions);
        std::vector<float> values;
        for (CCoord h = 100; h <= 140; ++h) values.push_back(s->valueAt(h));
        s->release();
        return values;
    };
    auto expect = [](std::initializer_list<std::pair<int, float>> runs) {
        std::vector<float> values;
        for (auto [pixels, value] : runs) values.insert(values.end(), pixels, value);
        return values;
    };
    EXPECT_EQ(zones(2), expect({{20, 0.0f}, {21, 1.0f}}));
    EXPECT_EQ(zones(3), expect({{14, 0.0f}, {13, 0.5f}, {14, 1.0f}}));
    EXPECT_EQ(zones(4), expect({{10, 0.0f}, {10, 1.0f / 3}, {10, 2.0f / 3}, {11, 1.0f}}));

    CHorizontalSwitch* four = add(make(4));
    four->setValue(1.0f);
    paint();
    press({{CPoint(125, 30), held()}, {CPoint(125, 30), released()}});
    EXPECT_EQ(four->getValue(), 2.0f / 3);
    frame->idle();
    EXPECT_EQ(shownFrame(), 2);
    EXPECT_EQ(four->getDefaultValue(), 0.0f);
}

TEST_F(SwitchTest, DragsSidewaysUntilButtonsOrModifiersChange) {
    CHorizontalSwitch* four = add(make(4));
    four->setValue(1.0f);
    paint();
    editor.log.clear();
    press({{CPoint(105, 30), held()},
           {CPoint(115, 30), held()},
           {CPoint(135, 30), held()},
           {CPoint(135, 30), held()},
           {CPoint(135, 30), held(true)},
           {CPoint(105, 30), held()}});
    EXPECT_EQ(listener.values, (std::vector<float>{0.0f, 1.0f / 3, 1.0f}));
    EXPECT_EQ(soft().pendingSteps(), 1u); // Shift ended the drag
    EXPECT_EQ(log().front(), "begin4");
    EXPECT_EQ(log().back(), "end4");
    EXPECT_EQ(shownFrame(), 3); // redrawn by the idle inside the loop

    // Control-click restores the default, 0.
    press({{CPoint(135, 30), held(false, true)}});
    EXPECT_EQ(four->getValue(), 0.0f);
}

TEST_F(SwitchTest, DrawingShowsTheNearestPosition) {
    CHorizontalSwitch* four = add(make(4));
    paint();
    for (auto [value, expected] : {std::pair{0.2f, 1}, {0.5f, 2}, {1.0f / 6, 1}, {1.0f, 3}, {0.0f, 0}}) {
        four->setValue(value);
        frame->idle();
        EXPECT_EQ(shownFrame(), expected) << value;
    }
    // Values from outside the range show the nearer end instead of a frame past the strip.
    four->setValue(1.4f);
    EXPECT_EQ(four->position(), 3);
    four->setValue(-3.0f);
    EXPECT_EQ(four->position(), 0);
    four->setValue(std::nanf(""));
    EXPECT_EQ(four->position(), 0);
}

TEST_F(SwitchTest, OnePositionOrNoStripNeitherCrashesNorDividesByZero) {
    auto* single = add(new CHorizontalSwitch(CRect(10, 10, 50, 40), nullptr, 1, 1, 30, 1, strip));
    auto* bare = add(new CHorizontalSwitch(CRect(60, 10, 100, 40), nullptr, 2, 2, 30, 2, nullptr));
    single->setValue(1.0f);
    bare->setValue(0.5f);
    paint();
    EXPECT_EQ(single->position(), 0);
    press({{CPoint(45, 20), held()}, {CPoint(45, 20), released()}});
    EXPECT_EQ(single->getValue(), 0.0f);
    // Without a strip the view's width gives the zones.
    press({{CPoint(85, 20), held()}, {CPoint(85, 20), released()}});
    EXPECT_EQ(bare->getValue(), 1.0f);
    frame->idle();
    EXPECT_FALSE(frame->isDirty());
}

} // namespace
