#include "soft_fixture.h"
#include "test_png.h"
#include "test_views.h"

#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/coffscreencontext.h"

using namespace VSTGUI;
using vr58test::EventLog;
using vr58test::pixelAt;
using vr58test::ProbeControl;
using vr58test::rgbOf;

namespace {

class ContainerTest : public vr58test::SoftTest {
protected:
    CFrame frame{CRect(0, 0, 200, 100), nullptr, nullptr};
    EventLog log;
};

TEST_F(ContainerTest, TopmostEnabledChildTakesTheClickAndIsFoundByGetViewAt) {
    auto* bottom = new ProbeControl(CRect(0, 0, 60, 60), &log, "bottom");
    auto* top = new ProbeControl(CRect(40, 40, 100, 100), &log, "top");
    frame.addView(bottom);
    frame.addView(top);
    CPoint where(50, 50);
    frame.mouse(nullptr, where, kLButton);
    EXPECT_EQ(log, (EventLog{"top:mouse"}));
    EXPECT_EQ(frame.getViewAt(CPoint(50, 50)), top);
    EXPECT_EQ(frame.getViewAt(CPoint(60, 60)), top); // touching edges count for both

    top->setMouseEnabled(false);
    log.clear();
    frame.mouse(nullptr, where, kLButton);
    EXPECT_EQ(log, (EventLog{"bottom:mouse"}));
    EXPECT_EQ(bottom->lastButtons, kLButton);
}

TEST_F(ContainerTest, EventsArriveInTheChildsParentCoordinates) {
    auto* inner = new CViewContainer(CRect(100, 20, 200, 100));
    auto* probe = new ProbeControl(CRect(10, 10, 30, 30), &log, "p");
    frame.addView(inner);
    inner->addView(probe);
    CPoint where(115, 35);
    frame.mouse(nullptr, where, kLButton);
    EXPECT_EQ(probe->lastWhere, CPoint(15, 15));
    EXPECT_EQ(frame.getViewAt(CPoint(115, 35), true), probe);
    EXPECT_EQ(frame.getViewAt(CPoint(115, 35), false), inner);
    EXPECT_EQ(frame.getViewAt(CPoint(105, 25), true), nullptr);

    soft::Pixels screen(200, 100, 0);
    CDrawContext ctx(&frame, &screen, nullptr);
    EXPECT_TRUE(frame.onWheel(&ctx, CPoint(120, 40), -1.0f));
    EXPECT_EQ(probe->lastWhere, CPoint(20, 20));
    EXPECT_EQ(probe->lastDistance, -1.0f);
    EXPECT_EQ(ctx.offset, CPoint(0, 0));
    EXPECT_FALSE(frame.onWheel(&ctx, CPoint(5, 5), 1.0f));

    CPoint p(0, 0);
    probe->localToFrame(p);
    EXPECT_EQ(p, CPoint(100, 20));
    frame.frameToLocal(p);
    EXPECT_EQ(p, CPoint(100, 20));
    inner->frameToLocal(p);
    EXPECT_EQ(p, CPoint(0, 0));
}

TEST_F(ContainerTest, DirtyChildOutsideTheContainerDoesNotMakeItDirty) {
    auto* inner = new CViewContainer(CRect(0, 0, 50, 50));
    frame.addView(inner);
    auto* outside = new ProbeControl(CRect(60, 0, 70, 10));
    inner->addView(outside);
    inner->setDirty(false);
    EXPECT_TRUE(outside->isDirty());
    EXPECT_FALSE(inner->isDirty());
    auto* inside = new ProbeControl(CRect(49, 49, 60, 60));
    inner->addView(inside);
    inner->setDirty(false);
    EXPECT_TRUE(inner->isDirty());
}

TEST_F(ContainerTest, RemovingTheFocusViewClearsTheFramesFocusFirst) {
    auto* a = new ProbeControl(CRect(0, 0, 10, 10), &log, "a");
    frame.addView(a);
    frame.setFocusView(a);
    frame.removeView(a, true);
    EXPECT_EQ(frame.getFocusView(), nullptr);
    EXPECT_EQ(log, (EventLog{"a:looseFocus"}));
    EXPECT_EQ(frame.getNbViews(), 0);
}

TEST_F(ContainerTest, KeysGoTopmostFirstAndStopAtTheFirstTaker) {
    auto* a = new ProbeControl(CRect(0, 0, 10, 10), &log, "a");
    auto* b = new ProbeControl(CRect(0, 0, 10, 10), &log, "b");
    auto* c = new ProbeControl(CRect(0, 0, 10, 10), &log, "c");
    auto* inner = new CViewContainer(CRect(0, 0, 50, 50));
    inner->addView(a);
    inner->addView(b);
    inner->addView(c);
    frame.addView(inner);
    b->keyAnswer = 7;
    VstKeyCode k = vr58test::key(0);
    EXPECT_EQ(inner->onKeyDown(k), 7);
    EXPECT_EQ(log, (EventLog{"c:keyDown", "b:keyDown"}));
    log.clear();
    b->keyAnswer = kKeyNotHandled;
    EXPECT_EQ(inner->onKeyUp(k), kKeyNotHandled);
    EXPECT_EQ(log, (EventLog{"c:keyUp", "b:keyUp", "a:keyUp"}));
}

TEST_F(ContainerTest, ChildListBookkeeping) {
    auto* a = new ProbeControl(CRect(0, 0, 10, 10));
    auto* b = new ProbeControl(CRect(0, 0, 10, 10));
    auto* c = new ProbeControl(CRect(0, 0, 10, 10));
    frame.addView(nullptr);
    frame.addView(a);
    frame.addView(b, CRect(1, 2, 3, 4), false);
    frame.addView(c);
    EXPECT_EQ(frame.getNbViews(), 3);
    EXPECT_EQ(frame.getView(1), b);
    EXPECT_EQ(frame.getView(3), nullptr);
    EXPECT_EQ(frame.getView(-1), nullptr);
    EXPECT_FALSE(b->getMouseEnabled());
    CRect area;
    EXPECT_EQ(b->getMouseableArea(area), CRect(1, 2, 3, 4));
    EXPECT_EQ(b->getParentView(), &frame);
    EXPECT_EQ(b->getFrame(), &frame);
    EXPECT_EQ(a->getNbReference(), 2);

    ProbeControl stranger(CRect(0, 0, 1, 1));
    frame.removeView(&stranger, true); // not a child: nothing happens
    frame.removeView(b, true);
    EXPECT_EQ(frame.getNbViews(), 2);
    EXPECT_EQ(frame.getView(0), a);
    EXPECT_EQ(frame.getView(1), c);
    EXPECT_FALSE(frame.isChild(b));
    frame.removeView(c, true);
    frame.removeView(a, true);
    EXPECT_EQ(frame.getNbViews(), 0);
    auto* d = new ProbeControl(CRect(0, 0, 10, 10));
    frame.addView(d);
    EXPECT_EQ(frame.getView(0), d);
}

TEST_F(ContainerTest, OnlyContainersAnswerTheContainerMessageByIdentity) {
    ProbeControl control(CRect(0, 0, 1, 1));
    const std::string sameCharacters = "kMsgCheckIfViewContainer";
    EXPECT_EQ(frame.notify(nullptr, kMsgCheckIfViewContainer), 1);
    EXPECT_EQ(frame.notify(nullptr, sameCharacters.c_str()), 0);
    EXPECT_EQ(control.notify(nullptr, kMsgCheckIfViewContainer), 0);
}

// Counts its own destruction, so the tree's reference bookkeeping can be checked from outside.
struct TrackedBitmap : CBitmap {
    TrackedBitmap(int32_t id, int* gone) : CBitmap(id), gone(gone) {}
    ~TrackedBitmap() override { ++*gone; }
    int* gone;
};

TEST_F(ContainerTest, TreeWithSharedBitmapsIsFreedExactlyOnce) {
    vr58test::TestResources resources;
    resources.addPng(910, 2, 2, 4, std::vector<uint8_t>(16, 200));
    int bitmapsGone = 0, viewsGone = 0;
    {
        auto* owner = new CFrame(CRect(0, 0, 100, 100), nullptr, nullptr);
        auto* shared = new TrackedBitmap(910, &bitmapsGone);
        owner->setBackground(shared);
        auto* inner = new CViewContainer(CRect(0, 0, 50, 50));
        inner->setBackground(shared);
        owner->addView(inner);
        for (int i = 0; i < 5; ++i) {
            auto* v = new ProbeControl(CRect(i, i, i + 5, i + 5));
            v->setBackground(shared);
            v->destroyed = &viewsGone;
            (i % 2 ? owner : static_cast<CViewContainer*>(inner))->addView(v);
        }
        EXPECT_EQ(shared->getNbReference(), 1 + 2 + 5);
        // The creator drops its own reference on the bitmap, as the editor does.
        shared->release();
        // Replacing a background with itself must not free it.
        inner->setBackground(inner->getBackground());
        EXPECT_EQ(shared->getNbReference(), 7);

        // Remove one view without release: only the container's node reference goes, and the view can
        // be added again with the usual two references.
        auto* kept = static_cast<ProbeControl*>(owner->getView(1));
        owner->removeView(kept, false);
        EXPECT_EQ(kept->getNbReference(), 1);
        EXPECT_EQ(kept->getParentView(), nullptr);
        owner->addView(kept);
        EXPECT_EQ(kept->getNbReference(), 2);

        delete owner;
    }
    EXPECT_EQ(viewsGone, 5);
    EXPECT_EQ(bitmapsGone, 1);
}

TEST_F(ContainerTest, HalfCoveredDirtyChildIsDrawnAndStaysDirty) {
    auto* child = new ProbeControl(CRect(20, 20, 60, 60), nullptr, "", nullptr, CColor{0, 255, 0, 255});
    frame.addView(child);
    COffscreenContext ctx(&frame, 200, 100, kBlackCColor);
    frame.setBackgroundColor(CColor{0, 0, 255, 255});
    ASSERT_TRUE(child->isDirty());

    frame.drawRect(&ctx, CRect(0, 0, 40, 100));
    EXPECT_EQ(child->draws, 1);
    EXPECT_TRUE(child->isDirty());
    EXPECT_EQ(rgbOf(pixelAt(ctx, 30, 30)), 0x00FF00u);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 45, 30)), 0x000000u); // outside the update rectangle: untouched

    frame.drawRect(&ctx, CRect(0, 0, 100, 100));
    EXPECT_EQ(child->draws, 2);
    EXPECT_FALSE(child->isDirty());
    EXPECT_EQ(rgbOf(pixelAt(ctx, 45, 30)), 0x00FF00u);

    // An update rectangle that misses the child does not draw it.
    frame.drawRect(&ctx, CRect(100, 0, 200, 100));
    EXPECT_EQ(child->draws, 2);
}

TEST_F(ContainerTest, ChildrenAreClippedToTheirRectangles) {
    struct Spill : ProbeControl {
        using ProbeControl::ProbeControl;
        void draw(CDrawContext* context) override {
            context->setFillColor(colour);
            context->fillRect(CRect(-100, -100, 300, 300));
            setDirty(false);
        }
    };
    auto* spill = new Spill(CRect(10, 10, 20, 20), nullptr, "", nullptr, CColor{255, 0, 0, 255});
    frame.addView(spill);
    frame.setBackgroundColor(kBlackCColor);
    COffscreenContext ctx(&frame, 200, 100, kWhiteCColor);
    frame.draw(&ctx);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 10, 10)), 0xFF0000u);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 19, 19)), 0xFF0000u);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 20, 19)), 0x000000u); // clips exclude right and bottom, as GDI regions do
    EXPECT_EQ(rgbOf(pixelAt(ctx, 21, 15)), 0x000000u);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 9, 15)), 0x000000u);
    // The frame's own fill spares its top row and left column, like every fill.
    EXPECT_EQ(rgbOf(pixelAt(ctx, 0, 50)), 0xFFFFFFu);
    CRect clip;
    EXPECT_EQ(ctx.getClipRect(clip), CRect(0, 0, 200, 100));
}

TEST_F(ContainerTest, OffscreenContainerDrawsThroughItsBufferAtItsPosition) {
    auto* inner = new CViewContainer(CRect(100, 50, 150, 100));
    inner->useOffscreen(true);
    inner->setBackgroundColor(CColor{0, 0, 200, 255});
    inner->addView(new ProbeControl(CRect(9, 9, 20, 20), nullptr, "", nullptr, CColor{200, 0, 0, 255}));
    frame.addView(inner);
    ASSERT_NE(inner->getOffscreen(), nullptr);
    COffscreenContext ctx(&frame, 200, 100, kWhiteCColor);
    frame.draw(&ctx);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 115, 65)), 0xC80000u);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 130, 80)), 0x0000C8u);
    EXPECT_EQ(rgbOf(pixelAt(ctx, 100, 50)), 0x000000u); // the offscreen's own black border row
    frame.removeView(inner, true);
}

TEST_F(ContainerTest, FocusTraversalSkipsUpToTheOldFocusAndDescends) {
    auto* a = new ProbeControl(CRect(0, 0, 10, 10));
    auto* plain = new ProbeControl(CRect(0, 0, 10, 10));
    auto* inner = new CViewContainer(CRect(0, 0, 50, 50));
    auto* nested = new ProbeControl(CRect(0, 0, 10, 10));
    a->setWantsFocus(true);
    nested->setWantsFocus(true);
    inner->addView(nested);
    frame.addView(a);
    frame.addView(plain);
    frame.addView(inner);
    EXPECT_TRUE(frame.CViewContainer::advanceNextFocusView(nullptr, false));
    EXPECT_EQ(frame.getFocusView(), a);
    EXPECT_TRUE(frame.CViewContainer::advanceNextFocusView(a, false));
    EXPECT_EQ(frame.getFocusView(), nested);
    EXPECT_FALSE(frame.CViewContainer::advanceNextFocusView(inner, false));
    EXPECT_TRUE(frame.CViewContainer::advanceNextFocusView(nullptr, true));
    EXPECT_EQ(frame.getFocusView(), nested);
}

TEST_F(ContainerTest, UpdateRedrawsOnlyDirtyChildren) {
    auto* inner = new CViewContainer(CRect(0, 0, 100, 100));
    auto* a = new ProbeControl(CRect(0, 0, 10, 10));
    auto* b = new ProbeControl(CRect(50, 50, 60, 60));
    inner->addView(a);
    inner->addView(b);
    frame.addView(inner);
    COffscreenContext ctx(&frame, 200, 100, kBlackCColor);
    frame.draw(&ctx);
    ASSERT_FALSE(frame.isDirty());
    b->setValue(0.7f);
    inner->update(&ctx);
    EXPECT_EQ(a->draws, 1);
    EXPECT_EQ(b->draws, 2);
    EXPECT_FALSE(inner->isDirty());

    inner->setMode(kNormalUpdate);
    a->setDirty(true);
    inner->update(&ctx);
    EXPECT_EQ(a->draws, 2);
    EXPECT_EQ(b->draws, 3); // the whole container is redrawn
}

} // namespace
