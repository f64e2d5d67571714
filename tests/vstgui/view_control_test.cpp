#include "soft_fixture.h"
#include "test_views.h"

#include "vstgui/cframe.h"

using namespace VSTGUI;
using vr58test::CountingListener;
using vr58test::ProbeControl;

namespace {

class ControlTest : public vr58test::SoftTest {};

TEST_F(ControlTest, DirtyStateFollowsValueAndFlag) {
    ProbeControl control(CRect(0, 0, 10, 10));
    EXPECT_TRUE(control.isDirty());
    EXPECT_EQ(control.getOldValue(), -1.0f);
    control.setDirty(false);
    EXPECT_FALSE(control.isDirty());
    control.setValue(0);
    EXPECT_FALSE(control.isDirty());
    control.setValue(0.5f);
    EXPECT_TRUE(control.isDirty());
    control.setDirty(false);
    EXPECT_FALSE(control.isDirty());

    control.setValue(-1.0f);
    control.setDirty(true);
    EXPECT_EQ(control.getOldValue(), 0.0f);
    EXPECT_TRUE(control.isDirty());
    control.setDirty(false);
    EXPECT_FALSE(control.isDirty());
}

TEST_F(ControlTest, NaNValueAlwaysCountsAsChanged) {
    ProbeControl control(CRect(0, 0, 10, 10));
    control.setValue(std::numeric_limits<float>::quiet_NaN());
    control.setDirty(false);
    EXPECT_TRUE(control.isDirty());
}

TEST_F(ControlTest, DefaultValueClickNeedsExactlyLeftAndControl) {
    CountingListener listener;
    ProbeControl control(CRect(0, 0, 10, 10), nullptr, "", &listener);
    control.setValue(0.3f);
    control.setDirty(false);

    EXPECT_FALSE(control.checkDefaultValue(nullptr, kLButton | kControl | kShift));
    EXPECT_EQ(control.getValue(), 0.3f);
    EXPECT_EQ(listener.changes, 0);

    EXPECT_TRUE(control.checkDefaultValue(nullptr, kLButton | kControl));
    EXPECT_EQ(control.getValue(), 0.5f);
    EXPECT_EQ(listener.changes, 1);

    control.setDirty(false);
    EXPECT_TRUE(control.checkDefaultValue(nullptr, kLButton | kControl));
    EXPECT_EQ(listener.changes, 1);
}

TEST_F(ControlTest, DefaultValueClickIsOneEditGestureThroughTheFrame) {
    vr58test::RecordingEditor editor;
    CFrame frame(CRect(0, 0, 100, 100), nullptr, &editor);
    auto* control = new ProbeControl(CRect(0, 0, 10, 10));
    control->setTag(7);
    frame.addView(control);
    EXPECT_TRUE(control->checkDefaultValue(nullptr, kLButton | kControl));
    EXPECT_EQ(frame.getFocusView(), control);
    EXPECT_EQ(editor.log, (std::vector<std::string>{"begin7", "end7"}));
    control->doIdleStuff();
    EXPECT_EQ(editor.log.back(), "idle");
}

TEST_F(ControlTest, BounceClampsButSetValueDoesNot) {
    ProbeControl control(CRect(0, 0, 10, 10));
    control.setValue(1.5f);
    EXPECT_EQ(control.getValue(), 1.5f);
    control.bounceValue();
    EXPECT_EQ(control.getValue(), 1.0f);
    control.setValue(-0.2f);
    control.bounceValue();
    EXPECT_EQ(control.getValue(), 0.0f);
}

TEST_F(ControlTest, HitTestCountsBothEdgesAndIgnoresButtons) {
    CView view(CRect(10, 20, 50, 60));
    EXPECT_TRUE(view.hitTest(CPoint(10, 20), kLButton));
    EXPECT_TRUE(view.hitTest(CPoint(50, 60), 0));
    EXPECT_TRUE(view.hitTest(CPoint(50, 20), kRButton | kShift));
    EXPECT_FALSE(view.hitTest(CPoint(51, 30), kLButton));
    EXPECT_FALSE(view.hitTest(CPoint(30, 19), kLButton));
}

TEST_F(ControlTest, SetViewSizeKeepsTheMouseableArea) {
    CView view(CRect(0, 0, 10, 10));
    view.setDirty(false);
    view.setViewSize(CRect(100, 100, 110, 110));
    CRect area;
    EXPECT_EQ(view.getMouseableArea(area), CRect(0, 0, 10, 10));
    EXPECT_TRUE(view.isDirty());
    EXPECT_TRUE(view.hitTest(CPoint(5, 5)));
}

TEST_F(ControlTest, ViewWithoutFrameClearsDirtOnUpdateAndHasNoEditor) {
    ProbeControl control(CRect(0, 0, 10, 10));
    EXPECT_EQ(control.getEditor(), nullptr);
    control.update(nullptr);
    EXPECT_FALSE(control.isDirty());
    EXPECT_EQ(control.draws, 0);
    control.doIdleStuff(); // no frame: nothing happens
}

TEST_F(ControlTest, MouseLocationGoesThroughContainersToTheScreen) {
    soft::Pixels screen(300, 300, 0);
    CFrame frame(CRect(0, 0, 300, 300), nullptr, nullptr);
    auto* inner = new CViewContainer(CRect(50, 40, 250, 240));
    auto* control = new ProbeControl(CRect(10, 10, 20, 20));
    frame.addView(inner);
    inner->addView(control);
    CDrawContext ctx(&frame, &screen, nullptr);
    ctx.offsetScreen = CPoint(1000, 500);
    soft().setPointer(CPoint(1070, 560));
    CPoint where;
    control->getMouseLocation(&ctx, where);
    // In the control's parent coordinates: screen minus window origin minus container origin.
    EXPECT_EQ(where, CPoint(20, 20));
    EXPECT_EQ(ctx.offsetScreen, CPoint(1000, 500));
    EXPECT_EQ(ctx.offset, CPoint(0, 0));
}

} // namespace
