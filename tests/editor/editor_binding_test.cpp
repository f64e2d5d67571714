// The editor of the VR58-G build bound to its effect: the layout at every opening, parameter changes from
// any thread shown at the next idle pass, user edits automating the host, and meters that follow the
// audio only while the window is open.
#include "editor/QuorvanePeakLed.h"
#include "vst2/QuorvaneTapedeckGUI.h"
#include "editor/QuorvaneVU.h"
#include "editor/editor_layout.h"
#include "editor/value_readout.h"
#include "editor_host.h"

#include "vstgui/ccontrol.h"
#include "vstgui/cframe.h"

#include <cmath>
#include <thread>
#include <vector>

using namespace VSTGUI;
using namespace vr58::testing;

namespace {

constexpr CPoint kScreenOrigin(100, 50); // where the host's window lies

class EditorBinding : public EditorTest {
protected:
    EditorBinding() {
        effect = new QuorvaneTapedeck(EditorHost::callback, vr58::kEditorBuild);
        editor = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
        record = effect->getAeffect();
        effect->setSampleRate(48000.0f);
    }
    ~EditorBinding() override { dispatch(record, effClose); }

    void open() {
        ASSERT_EQ(dispatch(record, effEditOpen, 0, 0, &window), 1);
        window.child->paint(window.child->screen().bounds()); // the system's first paint
    }
    void idle() { dispatch(record, effEditIdle); }
    std::vector<uint32_t> shown(const CRect& r) {
        std::vector<uint32_t> pixels;
        for (CCoord y = r.top; y < r.bottom; ++y)
            for (CCoord x = r.left; x < r.right; ++x) pixels.push_back(window.child->screen().at(x, y));
        return pixels;
    }
    // A block of a steady sine at this amplitude on both channels, through the float process call.
    void play(float amplitude, int frames = 4800) {
        std::vector<float> left(frames), right(frames);
        for (int i = 0; i < frames; ++i) left[i] = right[i] = amplitude * std::sin(0.05f * i);
        float* io[] = {left.data(), right.data()};
        effect->processReplacing(io, io, frames);
    }

    QuorvaneTapedeck* effect;
    QuorvaneTapedeckGUI* editor;
    AEffect* record;
};

TEST_F(EditorBinding, EveryOpeningBuildsTheLayoutFromTheStoredValues) {
    effect->setParameter(vr58::kTrim, 0.25f);
    effect->setParameter(vr58::kEditorBuild.vuHoldIndex, 0.5f); // exactly 0.5: no hold needle
    effect->setParameter(vr58::kEditorBuild.headRoomIndex, 0.2f);
    for (int opening = 0; opening < 2; ++opening) {
        open();
        CFrame* frame = editor->getFrame();
        ASSERT_EQ(frame->getNbViews(), 18); // the layout, then the read-out over it
        EXPECT_EQ(frame->getView(17), editor->valueReadout());
        int position = 0;
        for (const vr58::EditorViewLayout& view : vr58::kEditorLayout) {
            CView* shownView = frame->getView(position++);
            EXPECT_EQ(shownView->getViewSize(), CRect(view.left, view.top, view.right, view.bottom));
            if (view.kind == vr58::EditorViewKind::VuMeter) {
                EXPECT_EQ(shownView, editor->vuMeter());
            } else if (view.kind == vr58::EditorViewKind::PeakLed) {
                EXPECT_EQ(shownView, editor->peakLed());
            } else {
                CControl* c = editor->control(view.tag);
                ASSERT_EQ(shownView, c) << view.parameter().name;
                EXPECT_TRUE(
                    c->isTypeOf(view.kind == vr58::EditorViewKind::Knob ? "CAnimKnob" : "CHorizontalSwitch"));
                EXPECT_EQ(c->getValue(), effect->getParameter(view.tag)) << view.parameter().name;
                EXPECT_EQ(c->getDefaultValue(), view.parameter().defaultValue) << view.parameter().name;
                EXPECT_EQ(c->getListener(), &editor->face());
            }
        }
        EXPECT_EQ(editor->vuMeter()->getHoldBitmap() != nullptr, opening == 1);
        EXPECT_NEAR(editor->vuMeter()->threshold(7), 0.228209, 5e-7); // the 0 mark at -12 dB
        dispatch(record, effEditClose);
        EXPECT_EQ(editor->control(vr58::kTrim), nullptr);
        effect->setParameter(vr58::kTrim, 0.75f); // while closed: read again at the next opening
        effect->setParameter(vr58::kEditorBuild.vuHoldIndex, 0.51f);
    }
}

TEST_F(EditorBinding, ChangesFromAnyThreadShowAtTheNextIdlePassAndOutOfRangeIndicesNowhere) {
    open();
    std::thread audio([&] {
        effect->setParameter(vr58::kTrim, 1.5f); // stored clamped
        effect->setParameter(vr58::kEditorBuild.vuHoldIndex, 1.0f);
        effect->setParameter(15, 0.3f);
        effect->setParameter(-1, 0.3f);
    });
    audio.join();
    EXPECT_EQ(editor->control(vr58::kTrim)->getValue(), 0.5f); // no view touched off the UI thread
    EXPECT_EQ(editor->vuMeter()->getHoldBitmap(), nullptr);
    idle();
    EXPECT_EQ(editor->control(vr58::kTrim)->getValue(), 1.0f);
    EXPECT_NE(editor->vuMeter()->getHoldBitmap(), nullptr);
    effect->setParameter(vr58::kEditorBuild.vuHoldIndex, 0.0f);
    idle();
    EXPECT_EQ(editor->vuMeter()->getHoldBitmap(), nullptr);
    editor->setParameter(15, 0.3f);
    editor->setParameter(-1, 0.3f);
    idle();
}

TEST_F(EditorBinding, SwitchesShowTheNearestPositionWhileTheEffectUsesItsOwnThresholds) {
    effect->setParameter(vr58::kEditorBuild.headRoomIndex, 0.2f);
    effect->setParameter(vr58::kEqCurve, 0.3f);
    open();
    const CRect headRoom(160, 5, 200, 35), curve(240, 230, 280, 270);
    const auto headRoomAt02 = shown(headRoom), curveAt03 = shown(curve);
    EXPECT_NEAR(editor->vuMeter()->threshold(7), 0.228209, 5e-7); // the meter at -12 dB

    effect->setParameter(vr58::kEditorBuild.headRoomIndex, 1.0f / 3.0f); // the "14" position
    effect->setParameter(vr58::kEqCurve, 0.5f);                          // IEC
    idle();
    EXPECT_EQ(shown(headRoom), headRoomAt02);
    EXPECT_EQ(shown(curve), curveAt03);
    EXPECT_NEAR(editor->vuMeter()->threshold(7), 0.181273, 5e-7); // -14 dB
    effect->setParameter(vr58::kEditorBuild.headRoomIndex, 0.0f);
    idle();
    EXPECT_NE(shown(headRoom), headRoomAt02);
}

TEST_F(EditorBinding, DraggingAKnobAndClickingASwitchAutomateTheHost) {
    open();
    // Trim's knob: pressed at its centre, dragged 40 pixels up in linear mode, let go.
    std::deque<soft::PointerStep> steps;
    for (int up = 0; up <= 40; up += 10)
        steps.push_back({CPoint(kScreenOrigin.h + 70, kScreenOrigin.v + 107 - up), {true}});
    steps.push_back({CPoint(kScreenOrigin.h + 70, kScreenOrigin.v + 67), {}});
    soft().setPointer(CPoint(kScreenOrigin.h + 70, kScreenOrigin.v + 107));
    soft().script(steps);
    window.child->press(CPoint(70, 107));
    EXPECT_EQ(effect->getParameter(vr58::kTrim), 0.7f);
    EXPECT_EQ(editor->control(vr58::kTrim)->getValue(), 0.7f);
    ASSERT_FALSE(host.calls.empty());
    std::vector<int32_t> opcodes;
    for (const HostCall& c : host.calls)
        if (c.opcode != audioMasterIdle) opcodes.push_back(c.opcode);
    EXPECT_EQ(opcodes.front(), audioMasterBeginEdit);
    EXPECT_EQ(opcodes.back(), audioMasterEndEdit);
    EXPECT_GE(host.count(audioMasterAutomate), 1);
    EXPECT_EQ(host.calls.back().index, vr58::kTrim);

    // Noise's switch, clicked in its left half: off.
    host.calls.clear();
    const CPoint noiseSwitch(kScreenOrigin.h + 445, kScreenOrigin.v + 410);
    soft().script({{noiseSwitch, {true}}, {noiseSwitch, {}}});
    window.child->press(CPoint(445, 410));
    EXPECT_EQ(effect->getParameter(vr58::kEditorBuild.noiseIndex), 0.0f);
    EXPECT_EQ(host.count(audioMasterAutomate), 1);
    EXPECT_EQ(host.count(audioMasterBeginEdit), 1);
    EXPECT_EQ(host.count(audioMasterEndEdit), 1);
}

TEST_F(EditorBinding, MetersFollowTheAudioOnlyWhileTheWindowIsOpen) {
    play(2.0f); // closed: nothing is metered
    EXPECT_EQ(effect->meterFeed().takePeak(), 0.0);
    open();
    play(2.0f);
    idle();
    EXPECT_TRUE(editor->peakLed()->isLit());
    EXPECT_GT(editor->vuMeter()->heldFrame(), 100u);

    dispatch(record, effEditClose);
    EXPECT_FALSE(effect->meterFeed().running());
    play(2.0f);
    open();
    idle();
    EXPECT_FALSE(editor->peakLed()->isLit()); // a fresh lamp and a fresh feed
    EXPECT_EQ(editor->vuMeter()->heldFrame(), 0u);
}

} // namespace
