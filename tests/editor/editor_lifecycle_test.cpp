// The editor through the effect's record: its size before the first opening, opening and closing in
// every order a host may choose, the drag-loop idle timing, and hosts that close the editor or destroy
// the effect from inside a callback the editor made.
#include "vst2/QuorvaneTapedeckGUI.h"
#include "editor/skin_bitmaps.h"
#include "editor_host.h"

#include "vstgui/ccontrol.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"

#include <cstdint>
#include <deque>

using namespace VSTGUI;
using namespace vr58::testing;

namespace {

// Runs a modal loop on a press, as the knobs and switches do: one edit per turn, idling the editor,
// until the button is let go.
class DragControl : public CControl {
public:
    DragControl(const CRect& size, CControlListener* listener, int32_t tag) : CControl(size, listener, tag) {}
    void draw(CDrawContext*) override {
        ++draws;
        setDirty(false);
    }
    void mouse(CDrawContext* context, CPoint& where, int32_t) override {
        beginEdit();
        int32_t buttons;
        do {
            buttons = CDrawContext::getMouseButtons();
            value += 0.01f;
            if (listener) listener->valueChanged(context, this);
            getMouseLocation(context, where);
            doIdleStuff();
        } while (buttons & kLButton);
        endEdit();
    }
    int32_t onKeyDown(VSTGUI::VstKeyCode&) override {
        beginEdit();
        value += 0.1f;
        if (listener) listener->valueChanged(nullptr, this);
        endEdit();
        return 1;
    }
    bool onWheel(CDrawContext*, const CPoint& where, float) override {
        lastWhere = where;
        return true;
    }
    int draws = 0;
    CPoint lastWhere;
};

class EditorLifecycle : public EditorTest {
protected:
    EditorLifecycle() {
        effect = new QuorvaneTapedeck(EditorHost::callback, vr58::kEditorBuild);
        editor = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
        record = effect->getAeffect();
    }
    ~EditorLifecycle() override {
        if (record) dispatch(record, effClose);
    }
    intptr_t open() { return dispatch(record, effEditOpen, 0, 0, &window); }
    // A control of Trim at (10, 10, 50, 50), bound to the editor, as the skin's knobs are.
    DragControl* addControl() {
        auto* c = new DragControl(CRect(10, 10, 50, 50), &editor->face(), 0);
        editor->getFrame()->addView(c);
        return c;
    }

    QuorvaneTapedeck* effect;
    QuorvaneTapedeckGUI* editor;
    AEffect* record;
};

TEST_F(EditorLifecycle, TheSizeIsKnownBeforeTheFirstOpeningAndTheRecordAdvertisesTheEditor) {
    EXPECT_EQ(record->flags, 0x1031);
    ERect* rect = nullptr;
    ASSERT_EQ(dispatch(record, effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 440);
    EXPECT_EQ(rect->right, 520);
    EXPECT_EQ(window.child, nullptr);
}

TEST_F(EditorLifecycle, EveryOpeningOrderLeavesAtMostOneWindow) {
    EXPECT_EQ(dispatch(record, effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(editor->getFrame(), nullptr);

    ASSERT_EQ(open(), 1);
    ASSERT_NE(window.child, nullptr);
    EXPECT_EQ(editor->getFrame()->getSystemWindow(), &window);
    // A second opening without a close replaces the window instead of leaving the first one behind.
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(window.childWindowsCreated, 2);

    dispatch(record, effEditClose);
    EXPECT_EQ(window.child, nullptr);
    EXPECT_EQ(editor->getFrame(), nullptr);
    dispatch(record, effEditClose); // a second close is harmless
    ASSERT_EQ(open(), 1);
    EXPECT_NE(window.child, nullptr);
}

TEST_F(EditorLifecycle, DestroyingTheEffectWithTheWindowOpenClosesIt) {
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(dispatch(record, effClose), 1);
    record = nullptr;
    EXPECT_EQ(window.child, nullptr);
}

TEST_F(EditorLifecycle, EveryOpeningMakesTheKnobsLinearAndTheHostMayChangeThatWhileOpen) {
    EXPECT_EQ(dispatch(record, effSetEditKnobMode, 0, 0), 1);
    ASSERT_EQ(open(), 1);
    EXPECT_EQ(AEffGUIEditor::knobMode.load(), 2);
    EXPECT_EQ(editor->getFrame()->getKnobMode(), 2);
    dispatch(record, effSetEditKnobMode, 0, 1);
    EXPECT_EQ(editor->getFrame()->getKnobMode(), 1);
}

TEST_F(EditorLifecycle, DragLoopsIdleTheHostAtMostEvery50Milliseconds) {
    soft().setTicks(1000);
    dispatch(record, effClose);
    effect = new QuorvaneTapedeck(EditorHost::callback, vr58::kEditorBuild);
    editor = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
    record = effect->getAeffect();
    ASSERT_EQ(open(), 1);

    editor->doIdleStuff(); // the first turn idles at once
    EXPECT_EQ(host.count(audioMasterIdle), 1);
    editor->doIdleStuff(); // within the waiting time: sleeps 4 ms and returns
    EXPECT_EQ(soft().tickCount(), 1004u);
    EXPECT_EQ(host.count(audioMasterIdle), 1);
    soft().setTicks(1045);
    editor->doIdleStuff();
    EXPECT_EQ(host.count(audioMasterIdle), 1);
    soft().setTicks(1046); // 1050 after the sleep: 50 ms before the next due time
    editor->doIdleStuff();
    EXPECT_EQ(host.count(audioMasterIdle), 2);
}

TEST_F(EditorLifecycle, DragLoopsKeepIdlingTheHostWhenTheMillisecondCountWraps) {
    dispatch(record, effClose);
    soft().setTicks(0xFFFFFF00u);
    effect = new QuorvaneTapedeck(EditorHost::callback, vr58::kEditorBuild);
    editor = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
    record = effect->getAeffect();
    ASSERT_EQ(open(), 1);
    editor->doIdleStuff();
    soft().setTicks(0x20); // 288 ms later, past the wrap
    editor->doIdleStuff();
    EXPECT_EQ(host.count(audioMasterIdle), 2);
}

TEST_F(EditorLifecycle, AHostIdlingTheEditorFromInsideAudioMasterIdleGetsNothingDone) {
    ASSERT_EQ(open(), 1);
    DragControl* c = addControl();
    window.child->paint(window.child->screen().bounds());
    bool drawnInside = true;
    host.inside = [&](int32_t opcode) {
        if (opcode != audioMasterIdle) return;
        c->setDirty(true);
        const int before = c->draws;
        dispatch(record, effEditIdle);
        drawnInside = c->draws != before;
    };
    editor->doIdleStuff();
    EXPECT_FALSE(drawnInside);
    const int before = c->draws;
    dispatch(record, effEditIdle);
    EXPECT_EQ(c->draws, before + 1);
}

TEST_F(EditorLifecycle, KeysReachTheFocusedControlAndTheWheelTheViewUnderTheCursor) {
    ASSERT_EQ(open(), 1);
    DragControl* c = addControl();
    EXPECT_EQ(dispatch(record, effEditKeyDown, 0, VSTGUI::VKEY_UP), 0); // no view has focus
    editor->getFrame()->setFocusView(c);
    EXPECT_EQ(dispatch(record, effEditKeyDown, 0, VSTGUI::VKEY_UP), 1);
    EXPECT_EQ(host.count(audioMasterBeginEdit), 1);
    EXPECT_EQ(host.count(audioMasterAutomate), 1);
    EXPECT_EQ(host.count(audioMasterEndEdit), 1);

    soft().setPointer(CPoint(100 + 30, 50 + 20)); // the window's screen origin is (100, 50)
    EXPECT_TRUE(editor->onWheel(1.0f));
    EXPECT_EQ(c->lastWhere, CPoint(30, 20));
}

// Where a host acts from inside a callback made during a drag or a key edit, and what it does there.
struct Reentry {
    int32_t during;
    int32_t action;
};

class HostActsDuringAnEdit : public EditorLifecycle, public ::testing::WithParamInterface<Reentry> {};

TEST_P(HostActsDuringAnEdit, TheDragEndsWithoutTouchingAFreedFrameOrControl) {
    ASSERT_EQ(open(), 1);
    addControl();
    bool acted = false;
    host.inside = [&](int32_t opcode) {
        if (acted || opcode != GetParam().during) return;
        acted = true;
        dispatch(record, GetParam().action);
        if (GetParam().action == effClose) record = nullptr;
    };
    std::deque<soft::PointerStep> steps;
    for (int turn = 0; turn < 6; ++turn) steps.push_back({CPoint(120, 60 + turn), {true}});
    steps.push_back({CPoint(120, 70), {}});
    soft().script(steps);
    window.child->press(CPoint(20, 10));

    EXPECT_TRUE(acted);
    EXPECT_EQ(soft().pendingSteps(), 0u); // the loop ran until the button was let go
    EXPECT_EQ(window.child, nullptr);     // and then the frame went, with its window
    if (record) {
        EXPECT_EQ(editor->getFrame(), nullptr);
    }
}

// A key edit makes no idle call, so only the edit's own callbacks apply.
class HostActsDuringAKeyEdit : public HostActsDuringAnEdit {};

TEST_P(HostActsDuringAKeyEdit, TheKeyEditSurvivesIt) {
    ASSERT_EQ(open(), 1);
    editor->getFrame()->setFocusView(addControl());
    host.inside = [&](int32_t opcode) {
        if (opcode != GetParam().during || !record) return;
        const int32_t action = GetParam().action;
        if (action == effClose) record = nullptr;
        effect->getAeffect()->dispatcher(effect->getAeffect(), action, 0, 0, nullptr, 0.0f);
    };
    AEffect* e = record;
    EXPECT_EQ(e->dispatcher(e, effEditKeyDown, 0, VSTGUI::VKEY_UP, nullptr, 0.0f), 1);
    EXPECT_EQ(window.child, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Callbacks, HostActsDuringAnEdit,
                         ::testing::Values(Reentry{audioMasterIdle, effEditClose},
                                           Reentry{audioMasterIdle, effClose},
                                           Reentry{audioMasterAutomate, effEditClose},
                                           Reentry{audioMasterAutomate, effClose},
                                           Reentry{audioMasterBeginEdit, effClose}));
INSTANTIATE_TEST_SUITE_P(Callbacks, HostActsDuringAKeyEdit,
                         ::testing::Values(Reentry{audioMasterAutomate, effEditClose},
                                           Reentry{audioMasterAutomate, effClose},
                                           Reentry{audioMasterBeginEdit, effClose}));

// A gesture the host saw begin reaches its endEdit exactly once when the host closes the editor from
// inside a callback of that edit (a drag of the real Trim knob, a wheel step, an arrow key), and none at
// all when the host destroys the effect there instead.
enum class Edit { Drag, Wheel, Key };
struct GestureCase {
    Edit edit;
    int32_t during;
    int32_t action;
};

class HostClosesDuringAGesture : public EditorLifecycle, public ::testing::WithParamInterface<GestureCase> {};

TEST_P(HostClosesDuringAGesture, TheGestureEndsOnceWhileTheEffectLives) {
    ASSERT_EQ(open(), 1);
    CControl* knob = editor->control(vr58::kTrim);
    const CRect& box = knob->getViewSize();
    const CPoint centre((box.left + box.right) / 2, (box.top + box.bottom) / 2);
    AEffect* e = record;
    bool acted = false;
    host.inside = [&](int32_t opcode) {
        if (acted || opcode != GetParam().during) return;
        acted = true;
        if (GetParam().action == effClose) record = nullptr;
        e->dispatcher(e, GetParam().action, 0, 0, nullptr, 0.0f);
    };
    switch (GetParam().edit) {
    case Edit::Drag: {
        std::deque<soft::PointerStep> steps;
        for (int turn = 1; turn <= 6; ++turn)
            steps.push_back({CPoint(centre.h, centre.v - 2 * turn), {true}});
        steps.push_back({CPoint(centre.h, centre.v - 12), {}});
        soft().script(steps);
        window.child->press(centre);
        break;
    }
    case Edit::Wheel:
        soft().setPointer(CPoint(100 + centre.h, 50 + centre.v));
        window.child->wheel(CPoint(100 + centre.h, 50 + centre.v), 120);
        break;
    case Edit::Key:
        editor->getFrame()->setFocusView(knob);
        e->dispatcher(e, effEditKeyDown, 0, VSTGUI::VKEY_UP, nullptr, 0.0f);
        break;
    }

    ASSERT_TRUE(acted);
    EXPECT_EQ(host.count(audioMasterBeginEdit), 1);
    EXPECT_EQ(host.count(audioMasterEndEdit), GetParam().action == effEditClose ? 1 : 0);
    if (record) {
        // After the gesture's end nothing is owed: closing again, reopening and closing send nothing.
        dispatch(record, effEditClose);
        ASSERT_EQ(open(), 1);
        dispatch(record, effEditClose);
        EXPECT_EQ(host.count(audioMasterEndEdit), 1);
    }
}

// Every parameter, the first and the last included.
TEST_F(EditorLifecycle, AGestureOpenWhenTheHostClosesTheEditorEndsThenAndNotAgainAtItsOwnEnd) {
    ASSERT_EQ(open(), 1);
    std::vector<int32_t> begun;
    for (int32_t i = 0; i < record->numParams; ++i) {
        editor->face().beginEdit(i);
        begun.push_back(i);
    }
    dispatch(record, effEditClose);
    std::vector<int32_t> ended;
    for (const HostCall& call : host.calls)
        if (call.opcode == audioMasterEndEdit) ended.push_back(call.index);
    EXPECT_EQ(ended, begun);
    editor->face().endEdit(vr58::kTrim); // the gesture's own end, after the close: already sent
    EXPECT_EQ(host.count(audioMasterEndEdit), record->numParams);
}

TEST_F(EditorLifecycle, DestroyingTheEffectDuringAGestureSendsTheHostNothing) {
    ASSERT_EQ(open(), 1);
    editor->face().beginEdit(vr58::kTrim);
    const size_t before = host.calls.size();
    dispatch(record, effClose);
    record = nullptr;
    EXPECT_EQ(host.calls.size(), before);
}

INSTANTIATE_TEST_SUITE_P(Callbacks, HostClosesDuringAGesture,
                         ::testing::Values(GestureCase{Edit::Drag, audioMasterBeginEdit, effEditClose},
                                           GestureCase{Edit::Drag, audioMasterAutomate, effEditClose},
                                           GestureCase{Edit::Drag, audioMasterIdle, effEditClose},
                                           GestureCase{Edit::Wheel, audioMasterBeginEdit, effEditClose},
                                           GestureCase{Edit::Wheel, audioMasterAutomate, effEditClose},
                                           GestureCase{Edit::Key, audioMasterBeginEdit, effEditClose},
                                           GestureCase{Edit::Key, audioMasterAutomate, effEditClose},
                                           GestureCase{Edit::Drag, audioMasterBeginEdit, effClose},
                                           GestureCase{Edit::Drag, audioMasterAutomate, effClose},
                                           GestureCase{Edit::Drag, audioMasterIdle, effClose},
                                           GestureCase{Edit::Wheel, audioMasterAutomate, effClose},
                                           GestureCase{Edit::Key, audioMasterAutomate, effClose}));

// Only the ten skin ids and the text face (111) have a slot; any other id answers null instead of
// reaching past the table, at any size.
TEST(SkinBitmaps, AnswersNullForIdsOutsideTheSkin) {
    vr58::SkinBitmaps::attach();
    for (int32_t id : {INT32_MIN, -1, 0, 100, 112, 201, 1000, INT32_MAX}) {
        EXPECT_EQ(vr58::SkinBitmaps::get(id), nullptr) << "id " << id;
        EXPECT_EQ(vr58::SkinBitmaps::get(id, 200), nullptr) << "id " << id;
    }
    EXPECT_NE(vr58::SkinBitmaps::get(101), nullptr);
    EXPECT_NE(vr58::SkinBitmaps::get(110), nullptr);
    vr58::SkinBitmaps::detach();
}

} // namespace
