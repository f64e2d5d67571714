#include "soft_fixture.h"
#include "test_png.h"
#include "test_views.h"

#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/coffscreencontext.h"
#include "vstgui/platform/soft/soft_window.h"

#include <memory>

using namespace VSTGUI;
using vr58test::EventLog;
using vr58test::key;
using vr58test::ProbeControl;

namespace {

class FrameTest : public vr58test::SoftTest {
protected:
    FrameTest() {
        host.screenOrigin = CPoint(300, 200);
        host.width = 200;
        host.height = 100;
        frame = std::make_unique<CFrame>(CRect(0, 0, 200, 100), &host, &editor);
    }

    soft::HeadlessWindow& window() { return *static_cast<soft::HeadlessWindow*>(frame->getPlatformWindow()); }
    ProbeControl* add(const CRect& r, const std::string& name, bool focusable = false) {
        auto* v = new ProbeControl(r, &log, name);
        v->setWantsFocus(focusable);
        frame->addView(v);
        return v;
    }

    soft::HostWindow host;
    vr58test::RecordingEditor editor;
    std::unique_ptr<CFrame> frame;
    EventLog log;
};

TEST_F(FrameTest, ConstructionMakesTheWindowAndDestructionTakesItAway) {
    ASSERT_NE(frame->getWindowHandle(), nullptr);
    EXPECT_EQ(host.child, &window());
    EXPECT_TRUE(frame->isOpen());
    EXPECT_EQ(frame->getFrame(), frame.get());
    frame.reset();
    EXPECT_EQ(host.child, nullptr);

    CFrame windowless(CRect(0, 0, 10, 10), nullptr, nullptr);
    EXPECT_EQ(windowless.getWindowHandle(), nullptr);
}

TEST_F(FrameTest, ButtonSwapIsReadWhenAFrameWindowIsMade) {
    platform::InputState left;
    left.left = true;
    soft().setInput(left);
    EXPECT_EQ(CDrawContext::getMouseButtons(), kLButton);
    soft().setSwapButtons(true);
    soft::HostWindow otherHost;
    CFrame second(CRect(0, 0, 10, 10), &otherHost, nullptr);
    EXPECT_EQ(CDrawContext::getMouseButtons(), kRButton);
}

TEST_F(FrameTest, IdleDrawsNothingBeforeTheFirstPaintNorWhenClean) {
    ProbeControl* v = add(CRect(10, 10, 30, 30), "v");
    frame->idle();
    EXPECT_EQ(v->draws, 0);
    EXPECT_TRUE(v->isDirty());

    EXPECT_TRUE(window().paint(CRect(0, 0, 200, 100)));
    EXPECT_EQ(v->draws, 1);
    frame->idle();
    EXPECT_EQ(v->draws, 1); // clean: nothing to do

    v->setValue(0.25f);
    frame->idle();
    EXPECT_EQ(v->draws, 2);
    EXPECT_FALSE(frame->isDirty());

    frame->setUpdatesDisabled(true);
    v->setValue(0.5f);
    frame->idle();
    EXPECT_EQ(v->draws, 2);
    EXPECT_TRUE(frame->setUpdatesDisabled(false));
    frame->idle();
    EXPECT_EQ(v->draws, 3);
}

TEST_F(FrameTest, EmptyPaintRegionGetsDefaultProcessing) {
    ProbeControl* v = add(CRect(10, 10, 30, 30), "v");
    EXPECT_FALSE(window().paint(CRect(50, 50, 50, 80)));
    EXPECT_EQ(window().defaultProcessed(), 1);
    EXPECT_EQ(v->draws, 0);
    frame->idle();
    EXPECT_EQ(v->draws, 0); // still no first paint
}

TEST_F(FrameTest, ClickClearsTheFocusBeforeItIsDispatched) {
    ProbeControl* knob = add(CRect(0, 0, 50, 50), "knob", true);
    ProbeControl* other = add(CRect(100, 0, 150, 50), "other");
    frame->setFocusView(knob);
    platform::InputState left;
    left.left = true;
    soft().setInput(left);
    window().press(CPoint(120, 10));
    EXPECT_EQ(log, (EventLog{"knob:looseFocus", "other:mouse"}));
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_EQ(other->lastButtons, kLButton);
    EXPECT_EQ(other->lastWhere, CPoint(120, 10));
}

TEST_F(FrameTest, TabTraversalLeavesAfterTheLastFocusableViewAndShiftTabStartsAtTheEnd) {
    ProbeControl* a = add(CRect(0, 0, 10, 10), "a", true);
    add(CRect(0, 0, 10, 10), "plain");
    ProbeControl* c = add(CRect(0, 0, 10, 10), "c", true);
    VstKeyCode tab = key(VKEY_TAB);
    VstKeyCode shiftTab = key(VKEY_TAB, MODIFIER_SHIFT);

    EXPECT_EQ(frame->onKeyDown(shiftTab), 1);
    EXPECT_EQ(frame->getFocusView(), c);
    EXPECT_EQ(frame->onKeyDown(shiftTab), 1);
    EXPECT_EQ(frame->getFocusView(), a);
    EXPECT_EQ(frame->onKeyDown(tab), 1);
    EXPECT_EQ(frame->getFocusView(), c);
    EXPECT_EQ(frame->onKeyDown(tab), kKeyNotHandled);
    EXPECT_EQ(frame->getFocusView(), nullptr);
    EXPECT_EQ(frame->onKeyDown(tab), 1);
    EXPECT_EQ(frame->getFocusView(), a);
}

TEST_F(FrameTest, KeysGoToTheFocusViewThenTheModalViewThenTab) {
    ProbeControl* focus = add(CRect(0, 0, 10, 10), "focus", true);
    auto* modal = new ProbeControl(CRect(50, 0, 60, 10), &log, "modal");
    add(CRect(0, 0, 10, 10), "unfocused")->keyAnswer = 5;
    VstKeyCode k = key(0);
    EXPECT_EQ(frame->onKeyDown(k), kKeyNotHandled); // views without focus are never asked
    EXPECT_TRUE(log.empty());

    frame->setFocusView(focus);
    ASSERT_EQ(frame->setModalView(modal), 1);
    modal->keyAnswer = 3;
    EXPECT_EQ(frame->onKeyDown(k), 3);
    EXPECT_EQ(frame->onKeyUp(k), 3);
    EXPECT_EQ(log, (EventLog{"focus:keyDown", "modal:keyDown", "focus:keyUp", "modal:keyUp"}));
    focus->keyAnswer = 9;
    log.clear();
    EXPECT_EQ(frame->onKeyDown(k), 9);
    EXPECT_EQ(log, (EventLog{"focus:keyDown"}));

    // With a modal view, Tab moves nothing.
    modal->keyAnswer = kKeyNotHandled;
    focus->keyAnswer = kKeyNotHandled;
    VstKeyCode tab = key(VKEY_TAB);
    EXPECT_EQ(frame->onKeyDown(tab), kKeyNotHandled);
    EXPECT_EQ(frame->getFocusView(), focus);
    frame->setModalView(nullptr);
    modal->release();
}

TEST_F(FrameTest, ModalViewAloneTakesClicksAndThereIsOnlyOne) {
    ProbeControl* below = add(CRect(0, 0, 200, 100), "below");
    auto* modal = new ProbeControl(CRect(50, 20, 100, 60), &log, "modal");
    auto* second = new ProbeControl(CRect(0, 0, 5, 5), &log, "second");
    EXPECT_EQ(frame->setModalView(modal), 1);
    EXPECT_EQ(frame->setModalView(second), 0);
    EXPECT_EQ(frame->getModalView(), modal);
    EXPECT_TRUE(frame->isChild(modal));
    EXPECT_FALSE(frame->isChild(second));
    EXPECT_EQ(frame->getCurrentView(), modal);

    CPoint outside(10, 10), inside(60, 30);
    frame->mouse(nullptr, outside, kLButton);
    frame->mouse(nullptr, inside, kLButton);
    EXPECT_EQ(log, (EventLog{"modal:mouse"}));
    EXPECT_EQ(below->draws, 0);

    EXPECT_EQ(frame->setModalView(nullptr), 1);
    EXPECT_FALSE(frame->isChild(modal));
    frame->mouse(nullptr, outside, kLButton);
    EXPECT_EQ(log.back(), "below:mouse");
    modal->release();
    second->release();
}

TEST_F(FrameTest, WheelNotchesBecomeUnitDistances) {
    ProbeControl* v = add(CRect(20, 20, 80, 80), "v");
    EXPECT_TRUE(window().wheel(CPoint(300 + 30, 200 + 40), 120));
    EXPECT_EQ(v->lastDistance, 1.0f);
    EXPECT_EQ(v->lastWhere, CPoint(30, 40));
    EXPECT_TRUE(window().wheel(CPoint(300 + 30, 200 + 40), -120));
    EXPECT_EQ(v->lastDistance, -1.0f);
    EXPECT_FALSE(window().wheel(CPoint(300 + 150, 200 + 40), 120)); // no view there
}

TEST_F(FrameTest, EditGesturesIdleAndKnobModeReachTheEditor) {
    ProbeControl* v = add(CRect(0, 0, 10, 10), "v");
    v->setTag(4);
    v->beginEdit();
    v->doIdleStuff();
    v->endEdit();
    EXPECT_EQ(editor.log, (std::vector<std::string>{"begin4", "idle", "end4"}));
    EXPECT_EQ(frame->getFocusView(), v);
    EXPECT_EQ(frame->getKnobMode(), 2);
    soft().setTicks(12345);
    EXPECT_EQ(frame->getTicks(), 12345u);
    EXPECT_EQ(v->getEditor(), &editor);

    CFrame orphan(CRect(0, 0, 10, 10), nullptr, nullptr);
    EXPECT_EQ(orphan.getTicks(), 0u);
    orphan.beginEdit(1); // no editor: nothing happens
    orphan.doIdleStuff();
}

TEST_F(FrameTest, LocationsAreMeasuredFromTheWindowOrigin) {
    soft().setPointer(CPoint(345, 267));
    CPoint where;
    EXPECT_TRUE(frame->getCurrentLocation(where));
    EXPECT_EQ(where, CPoint(45, 67));
    ProbeControl* v = add(CRect(40, 60, 50, 70), "v");
    EXPECT_EQ(frame->getCurrentView(), v);
    CCoord x = 0, y = 0;
    EXPECT_TRUE(frame->getPosition(x, y));
    EXPECT_EQ(CPoint(x, y), CPoint(300, 200));

    // The editor makes wheel contexts for the host's window: measured from it, drawing nowhere.
    CDrawContext hostContext(frame.get(), nullptr, frame->getSystemWindow());
    EXPECT_EQ(hostContext.offsetScreen, CPoint(300, 200));
    EXPECT_EQ(hostContext.getSurface(), nullptr);
    hostContext.getMouseLocation(where);
    EXPECT_EQ(where, CPoint(45, 67));
    EXPECT_TRUE(frame->onWheel(&hostContext, where, 1.0f));
    EXPECT_EQ(v->lastDistance, 1.0f);
}

TEST_F(FrameTest, FocusChangesMarkFocusableViewsDirty) {
    ProbeControl* a = add(CRect(0, 0, 10, 10), "a", true);
    ProbeControl* plain = add(CRect(20, 0, 30, 10), "plain");
    a->setDirty(false);
    plain->setDirty(false);
    frame->setFocusView(a);
    EXPECT_TRUE(a->isDirty());
    a->setDirty(false);
    frame->setFocusView(plain);
    EXPECT_FALSE(plain->isDirty());
    EXPECT_TRUE(a->isDirty());
    EXPECT_EQ(log, (EventLog{"a:looseFocus"}));
}

TEST_F(FrameTest, InvalidateMarksOverlappingChildrenIncludingTouchingOnes) {
    ProbeControl* a = add(CRect(0, 0, 10, 10), "a");
    ProbeControl* b = add(CRect(10, 10, 20, 20), "b");
    ProbeControl* c = add(CRect(50, 50, 60, 60), "c");
    for (auto* v : {a, b, c}) v->setDirty(false);
    frame->invalidate(CRect(20, 20, 40, 40));
    EXPECT_FALSE(a->isDirty());
    EXPECT_TRUE(b->isDirty());
    EXPECT_FALSE(c->isDirty());
}

TEST_F(FrameTest, HostDestroyingItsWindowFirstLeavesAQuietFrame) {
    ProbeControl* v = add(CRect(0, 0, 10, 10), "v");
    window().paint(CRect(0, 0, 200, 100));
    host.destroy();
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getSystemWindow(), nullptr);
    EXPECT_EQ(frame->getWindowHandle(), nullptr);
    v->setValue(0.9f);
    frame->idle();
    EXPECT_EQ(v->draws, 1);
    EXPECT_FALSE(frame->setSize(300, 300));
    frame.reset();
}

// The default cursor is the one the frame found at its first change: not read again later, kept even when
// no cursor was shown, and put back when the frame goes.
TEST_F(FrameTest, CursorTypesWithoutASystemCursorShowTheOneFoundAtTheFirstChange) {
    int hostCursor = 0, laterCursor = 0;
    soft().showCursor(&hostCursor);
    frame->setCursor(kCursorWait);
    EXPECT_EQ(soft().currentCursor(), soft::SoftBackend::systemCursor(kCursorWait));
    soft().showCursor(&laterCursor);
    frame->setCursor(kCursorCopy);
    EXPECT_EQ(soft().currentCursor(), &hostCursor);
    frame->setCursor(kCursorHand);

    soft().showCursor(nullptr);
    soft::HostWindow otherHost;
    auto other = std::make_unique<CFrame>(CRect(0, 0, 10, 10), &otherHost, nullptr);
    other->setCursor(kCursorNotAllowed);
    other->setCursor(kCursorDefault);
    EXPECT_EQ(soft().currentCursor(), nullptr);

    frame.reset();
    EXPECT_EQ(soft().currentCursor(), &hostCursor);
}

TEST_F(FrameTest, SetSizeResizesTheWindowAndDropsTheBackBuffer) {
    window().paint(CRect(0, 0, 200, 100));
    ASSERT_NE(frame->getBackBuffer(), nullptr);
    EXPECT_FALSE(frame->setSize(200, 100));
    EXPECT_TRUE(frame->setSize(300, 150));
    CRect r;
    EXPECT_EQ(frame->getViewSize(r), CRect(0, 0, 300, 150));
    EXPECT_EQ(window().screen().width, 300);
    EXPECT_EQ(frame->getBackBuffer()->getWidth(), 300);
    EXPECT_TRUE(frame->isDirty());
}

// Views that draw translucent bitmaps over each other, so a wrong redraw order or clip shows in pixels.
class BitmapView : public CView {
public:
    BitmapView(const CRect& size, CBitmap* bitmap) : CView(size) { setBackground(bitmap); }
};

TEST_F(FrameTest, IdleRedrawOfDirtyViewsEqualsAFullRedrawPixelForPixel) {
    vr58test::TestResources resources;
    std::vector<uint8_t> bg, blob;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) bg.insert(bg.end(), {uint8_t(x), uint8_t(y * 2), uint8_t(x ^ y), 255});
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const uint8_t a = uint8_t((x * 6 + y * 3) % 256);
            blob.insert(blob.end(), {uint8_t(255 - x * 3), uint8_t(y * 6), 90, a});
        }
    resources.addPng(920, 200, 100, 4, bg);
    resources.addPng(921, 40, 40, 4, blob);
    CBitmap* background = new CBitmap(920);
    CBitmap* sprite = new CBitmap(921);
    frame->setBackground(background);
    std::vector<CView*> views;
    for (const CRect& r : {CRect(10, 10, 50, 50), CRect(30, 30, 70, 70), CRect(50, 20, 90, 60),
                           CRect(120, 40, 160, 80), CRect(140, 50, 180, 90)}) {
        views.push_back(new BitmapView(r, sprite));
        frame->addView(views.back());
    }
    background->release();
    sprite->release();

    window().paint(CRect(0, 0, 200, 100));
    const std::vector<uint32_t> full = window().screen().data;

    // Dirty the middle of an overlapping pile and one lone view: the idle pass redraws each through
    // the frame's drawRect, which repaints background and every overlapping view in list order.
    views[1]->setDirty(true);
    views[4]->setDirty(true);
    std::fill(window().screen().data.begin(), window().screen().data.end(), 0u);
    std::fill(static_cast<soft::SoftSurface*>(frame->getBackBuffer()->getSurface())->pixels().data.begin(),
              static_cast<soft::SoftSurface*>(frame->getBackBuffer()->getSurface())->pixels().data.end(), 0u);
    // Only the two dirty rectangles are redrawn into the cleared back buffer ...
    frame->idle();
    const auto& buffer = static_cast<soft::SoftSurface*>(frame->getBackBuffer()->getSurface())->pixels();
    for (const CView* v : {views[1], views[4]}) {
        const CRect r = v->getViewSize();
        for (CCoord y = r.top; y < r.bottom; ++y)
            for (CCoord x = r.left; x < r.right; ++x)
                ASSERT_EQ(buffer.at(x, y), full[size_t(y) * 200 + x]) << x << "," << y;
    }
    EXPECT_EQ(buffer.at(5, 5), 0u); // ... and nothing else
    EXPECT_FALSE(frame->isDirty());
    // ... and the whole back buffer is copied to the window.
    EXPECT_EQ(window().screen().data, buffer.data);

    // A dirty view after a normal paint gives exactly the full picture.
    window().paint(CRect(0, 0, 200, 100));
    views[2]->setDirty(true);
    frame->idle();
    EXPECT_EQ(window().screen().data, full);

    const std::string out = std::string(VR58_TEST_OUTPUT_DIR) + "/frame-redraw-soft.png";
    EXPECT_TRUE(soft::writePng(out.c_str(), window().screen()));
}

} // namespace
