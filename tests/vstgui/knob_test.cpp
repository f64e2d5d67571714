#include "control_fixture.h"

#include "vstgui/cknob.h"

#include <cmath>
#include <limits>

using namespace VSTGUI;
using vr58test::held;
using vr58test::key;
using vr58test::released;

namespace {

// An 80-pixel knob at (20, 10); its centre is (60, 50) in frame coordinates. No strip: behaviour only.
class KnobTest : public vr58test::ControlFixture {
protected:
    KnobTest() { knob = add(new CAnimKnob(CRect(20, 10, 100, 90), nullptr, 7, 97, 80, nullptr)); }

    void startAt(float value) {
        knob->setValue(value);
        paint(); // drawn and clean, as in the open editor
        editor.log.clear();
        listener.values.clear();
    }
    CPoint pointOf(float value) {
        knob->setValue(value);
        CPoint p;
        knob->valueToPoint(p);
        return p;
    }
    float valueAt(CCoord h, CCoord v) {
        CPoint p(h, v);
        return knob->valueFromPoint(p);
    }

    CAnimKnob* knob;
};

TEST_F(KnobTest, DialGeometryInSinglePrecision) {
    EXPECT_EQ(pointOf(0.0f), CPoint(12, 68));
    EXPECT_EQ(pointOf(0.5f), CPoint(40, 0));
    EXPECT_EQ(pointOf(1.0f), CPoint(68, 68));
    EXPECT_EQ(knob->getInsetValue(), 0);
    EXPECT_FLOAT_EQ(knob->getStartAngle(), 3.9269907f);
    EXPECT_FLOAT_EQ(knob->getRangeAngle(), -4.712389f);

    EXPECT_NEAR(valueAt(0, 40), 1.0f / 6.0f, 1e-6);
    EXPECT_NEAR(valueAt(40, 0), 0.5f, 1e-6);
    EXPECT_NEAR(valueAt(80, 40), 5.0f / 6.0f, 1e-6);
    // The dead zone at the bottom: each half gives its end.
    EXPECT_EQ(valueAt(40, 79), 0.0f);
    EXPECT_EQ(valueAt(39, 79), 0.0f);
    EXPECT_EQ(valueAt(41, 79), 1.0f);

    CKnob plain(CRect(0, 0, 40, 40), nullptr, 0, nullptr, nullptr);
    EXPECT_EQ(plain.getInsetValue(), 3);
    EXPECT_TRUE(plain.wantsFocus());
    EXPECT_TRUE(knob->isTypeOf("CAnimKnob") && knob->isTypeOf("CKnob") && knob->isTypeOf("CControl"));
}

TEST_F(KnobTest, CircularDragFollowsTheAngleAndNeverJumpsAcrossTheDeadZone) {
    editor.knobMode = kCircularMode;
    startAt(0.9f);
    // The press sets the angle of the press point at once; the lower left nears the minimum; crossing
    // the dead zone to the lower right keeps the minimum until the pointer is back on the near half.
    press({{CPoint(20, 50), held()},
           {CPoint(27, 82), held()},
           {CPoint(95, 84), held()},
           {CPoint(20, 50), held()},
           {CPoint(20, 50), released()}});
    ASSERT_EQ(listener.values.size(), 4u);
    EXPECT_NEAR(listener.values[0], 1.0f / 6.0f, 1e-6);
    EXPECT_LT(listener.values[1], 0.05f);
    EXPECT_EQ(listener.values[2], 0.0f);
    EXPECT_NEAR(listener.values[3], 1.0f / 6.0f, 1e-6);
    EXPECT_EQ(log().front(), "begin7");
    EXPECT_EQ(log().back(), "end7");
    EXPECT_EQ(count("idle"), 4); // one per loop turn
    EXPECT_EQ(frame->getFocusView(), knob);
}

TEST_F(KnobTest, LinearDragTakes200PixelsFor300WithShiftAndRescalesWithoutAJump) {
    startAt(0.5f);
    press({{CPoint(60, 50), held()}, {CPoint(80, 10), held()}, {CPoint(80, 10), released()}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.8f); // 40 up and 20 right
    // Taking the focus dirties the knob, so the press's own turn reports the unchanged value.
    ASSERT_EQ(listener.values.size(), 2u);
    EXPECT_EQ(listener.values[0], 0.5f);

    startAt(0.5f);
    press({{CPoint(60, 50), held(true)}, {CPoint(80, 10), held(true)}, {CPoint(80, 10), released()}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.7f);

    // Shift pressed after 40 pixels, released after 30 more, then 20 more.
    startAt(0.5f);
    press({{CPoint(60, 50), held()},
           {CPoint(60, 10), held()},
           {CPoint(60, -20), held(true)},
           {CPoint(60, -40), held()},
           {CPoint(60, -40), held()},
           {CPoint(60, -40), released()}});
    ASSERT_EQ(listener.values.size(), 4u);
    EXPECT_FLOAT_EQ(listener.values[1], 0.7f);
    EXPECT_FLOAT_EQ(listener.values[2], 0.8f);
    EXPECT_FLOAT_EQ(listener.values[3], 0.9f);
}

TEST_F(KnobTest, LinearDragPastTheEndWaitsForThePointWhereTheEndWasReached) {
    startAt(0.5f);
    press({{CPoint(60, 50), held()},
           {CPoint(60, -250), held()},
           {CPoint(60, -150), held()},
           {CPoint(60, -49), held()},
           {CPoint(60, -49), released()}});
    // At the end, 100 back still at the end (and no report, nothing changed), then within 100 pixels.
    ASSERT_EQ(listener.values.size(), 3u);
    EXPECT_EQ(listener.values[1], 1.0f);
    EXPECT_FLOAT_EQ(listener.values[2], 0.995f);
    EXPECT_EQ(count("begin7"), 1);
    EXPECT_EQ(count("end7"), 1);
}

TEST_F(KnobTest, AltSwapsTheDragModes) {
    // Linear frame mode, Alt held: circular, so the press at the top point sets 0.5.
    editor.knobMode = kLinearMode;
    startAt(0.2f);
    press({{CPoint(60, 10), held(false, false, true)}, {CPoint(60, 10), released()}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);

    // Circular frame mode, Alt held: linear, so the same press leaves the value.
    editor.knobMode = kCircularMode;
    startAt(0.2f);
    press({{CPoint(60, 10), held(false, false, true)}, {CPoint(60, 0), held()}, {CPoint(60, 0), released()}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.25f);
}

TEST_F(KnobTest, ControlClickSetsTheDefaultAndControlShiftClickDrags) {
    startAt(0.3f);
    press({{CPoint(60, 50), held(false, true)}, {CPoint(60, 30), held(false, true)}});
    EXPECT_EQ(knob->getValue(), 0.5f);
    EXPECT_EQ(log(), (std::vector<std::string>{"begin7", "changed", "end7"})); // no drag loop
    EXPECT_EQ(soft().pendingSteps(), 1u);

    startAt(0.3f);
    press({{CPoint(60, 50), held(true, true)},
           {CPoint(60, 20), held(true, true)},
           {CPoint(60, 20), released()}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.4f);
    EXPECT_EQ(count("idle"), 2);
}

TEST_F(KnobTest, WheelStepsAndStopsReportingAtADrawnEnd) {
    startAt(0.5f);
    EXPECT_TRUE(host.child->wheel(CPoint(kOrigin.h + 60, kOrigin.v + 50), 120));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f);
    EXPECT_EQ(log(), (std::vector<std::string>{"begin7", "changed", "end7"}));

    soft().setInput(held(true));
    knob->onWheel(nullptr, CPoint(), 1.0f);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.61f);

    startAt(1.0f);
    soft().setInput(released());
    EXPECT_TRUE(knob->onWheel(nullptr, CPoint(), 1.0f));
    EXPECT_EQ(knob->getValue(), 1.0f);
    EXPECT_TRUE(log().empty());

    knob->setMouseEnabled(false);
    EXPECT_FALSE(knob->onWheel(nullptr, CPoint(), -1.0f));
    EXPECT_EQ(knob->getValue(), 1.0f);
}

TEST_F(KnobTest, ArrowKeysStepTheFocusedKnob) {
    startAt(0.5f);
    frame->setFocusView(knob);
    VstKeyCode up = key(VKEY_UP), fineDown = key(VKEY_DOWN, MODIFIER_SHIFT), left = key(VKEY_LEFT),
               other = key(VKEY_TAB + 40);
    EXPECT_EQ(frame->onKeyDown(up), 1);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f);
    EXPECT_EQ(frame->onKeyDown(fineDown), 1);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.59f);
    EXPECT_EQ(knob->onKeyDown(other), kKeyNotHandled);
    EXPECT_EQ(log(), (std::vector<std::string>{"begin7", "changed", "end7", "begin7", "changed", "end7"}));

    // Taken at the end too, without a report once the end is drawn; mouse enabling is not asked.
    startAt(0.0f);
    knob->setMouseEnabled(false);
    EXPECT_EQ(knob->onKeyDown(left), 1);
    EXPECT_TRUE(log().empty());
}

TEST_F(KnobTest, AnimatedKnobShowsTheFloorFrameAndIgnoresSubPixelChanges) {
    auto frameOf = [this](float value) {
        knob->setValue(value);
        return knob->frameOffset().v / 80;
    };
    EXPECT_EQ(frameOf(0.0f), 0);
    EXPECT_EQ(frameOf(0.5f), 48);
    EXPECT_EQ(frameOf(0.999f), 95);
    EXPECT_EQ(frameOf(1.0f), 96);
    EXPECT_EQ(frameOf(-0.2f), 0);
    // Beyond the strip: the last frame rather than an offset past its end; NaN shows the first.
    EXPECT_EQ(frameOf(1.5f), 96);
    EXPECT_EQ(frameOf(1e30f), 96);
    EXPECT_EQ(frameOf(std::numeric_limits<float>::quiet_NaN()), 0);

    startAt(0.5f);
    EXPECT_FALSE(knob->isDirty());
    knob->setValue(0.501f); // the handle point stays on its pixel
    EXPECT_FALSE(knob->isDirty());
    knob->setDirty(true);
    EXPECT_TRUE(knob->isDirty());
    frame->idle();
    knob->setValue(0.53f);
    EXPECT_TRUE(knob->isDirty());
}

TEST_F(KnobTest, KnobsWithoutStripsDrawAndTakeClicks) {
    CKnob* plain = add(new CKnob(CRect(110, 10, 150, 50), nullptr, 3, nullptr, nullptr));
    plain->setValue(0.5f);
    startAt(0.5f);
    plain->setDirty(true);
    knob->setDirty(true);
    frame->idle();
    EXPECT_FALSE(plain->isDirty());
    press({{CPoint(130, 30), held()}, {CPoint(130, 20), held()}, {CPoint(130, 20), released()}});
    EXPECT_FLOAT_EQ(plain->getValue(), 0.55f);
}

} // namespace
