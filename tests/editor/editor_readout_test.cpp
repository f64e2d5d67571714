// The read-out beside a control: shown by the user's drags, wheel turns and keys and by a resting pointer,
// following the value, gone a second later, never for the host's changes, never over the control being
// moved, redrawing only its own area, and drawn from the 2x glyphs at 200 %.
#include "editor/QuorvanePeakLed.h"
#include "vst2/QuorvaneTapedeckGUI.h"
#include "editor/QuorvaneVU.h"
#include "editor/editor_layout.h"
#include "editor/value_readout.h"
#include "editor_host.h"

#include "vstgui/ccontrol.h"
#include "vstgui/cframe.h"

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

using namespace VSTGUI;
using namespace vr58::testing;

namespace {

constexpr CPoint kScreenOrigin(100, 50);
constexpr uint32_t kBoxRgb = 0x222226u; // the label's dark box
constexpr CPoint kNowhere(300, 300);    // a point of the face on no control

bool intersects(const CRect& a, const CRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

CRect controlRect(int32_t tag) {
    for (const vr58::EditorViewLayout& v : vr58::kEditorLayout)
        if (v.hasParameter() && v.tag == tag) return CRect(v.left, v.top, v.right, v.bottom);
    return CRect();
}

CPoint centreOf(const CRect& r) {
    return CPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

class EditorReadout : public EditorTest {
protected:
    EditorReadout() {
        effect = new QuorvaneTapedeck(EditorHost::callback, vr58::kEditorBuild);
        editor = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
        record = effect->getAeffect();
        effect->setSampleRate(48000.0f);
    }
    ~EditorReadout() override { dispatch(record, effClose); }

    void open(int32_t scale = 100) {
        editor->setNextOpeningScale(scale);
        ERect* r = nullptr;
        dispatch(record, effEditGetRect, 0, 0, &r);
        window.width = r->right;
        window.height = r->bottom;
        ASSERT_EQ(dispatch(record, effEditOpen, 0, 0, &window), 1);
        window.child->paint(window.child->screen().bounds()); // the system's first paint
        pointAt(CPoint(-50, -50));                            // off the window
        idleAt(0);
    }
    int32_t scale() const { return editor->getFrame()->getScale(); }
    void idleAt(uint32_t ms) {
        soft().setTicks(ms);
        dispatch(record, effEditIdle);
    }
    // The pointer at a logical position of the face.
    void pointAt(CPoint logical) {
        soft().setPointer(
            CPoint(kScreenOrigin.h + logical.h * scale() / 100, kScreenOrigin.v + logical.v * scale() / 100));
    }
    void wheelAt(CPoint logical, int16_t delta) {
        pointAt(logical);
        window.child->wheel(soft().cursorPosition(), delta);
    }
    intptr_t key(uint8_t virt) { return dispatch(record, effEditKeyDown, 0, virt, nullptr, 0); }
    // Rests the pointer on a control from `ms` until its label shows.
    void hover(int32_t tag, uint32_t ms) {
        pointAt(centreOf(controlRect(tag)));
        idleAt(ms);
        idleAt(ms + ValueReadout::kHoverDelay);
    }

    ValueReadout& readout() { return *editor->valueReadout(); }
    std::vector<uint32_t> screen() const { return window.child->screen().data; }
    CRect device(const CRect& r) const {
        const int32_t s = editor->getFrame()->getScale();
        return CRect(r.left * s / 100, r.top * s / 100, r.right * s / 100, r.bottom * s / 100);
    }
    // Pixels of the label's dark box on the screen, inside its box.
    int boxPixels(const CRect& logical) const {
        const CRect r = device(logical);
        int n = 0;
        for (CCoord y = r.top; y < r.bottom; ++y)
            for (CCoord x = r.left; x < r.right; ++x)
                n += (window.child->screen().at(x, y) & 0xFFFFFFu) == kBoxRgb;
        return n;
    }
    // The areas the last idle pass copied to the window, the meters' (redrawn at every pass) left out.
    std::vector<CRect> updatedBesideTheMeters() const {
        std::vector<CRect> areas;
        for (const CRect& a : editor->getFrame()->lastUpdatedAreas())
            if (a != editor->vuMeter()->getViewSize() && a != editor->peakLed()->getViewSize())
                areas.push_back(a);
        return areas;
    }

    QuorvaneTapedeck* effect;
    QuorvaneTapedeckGUI* editor;
    AEffect* record;
};

TEST_F(EditorReadout, RestingPointerShowsItAfterHalfASecondAndLeavingTakesItAwayASecondLater) {
    open();
    host.calls.clear();
    const std::vector<uint32_t> face = screen();
    const CControl* path = editor->control(vr58::kEditorBuild.vuPathIndex);
    pointAt(centreOf(path->getViewSize()));
    idleAt(2000);
    idleAt(2499);
    EXPECT_FALSE(readout().isShowing());
    idleAt(2500);
    ASSERT_TRUE(readout().isShowing());
    EXPECT_EQ(readout().getTarget(), path);
    EXPECT_EQ(readout().getText(), "VU Path Output");
    const CRect box = readout().getBox();
    EXPECT_GT(boxPixels(box), box.width() * box.height() / 2);
    // The pass drew the label's area and nothing else.
    EXPECT_EQ(updatedBesideTheMeters(), std::vector<CRect>{box});
    idleAt(2600);
    EXPECT_TRUE(updatedBesideTheMeters().empty());

    // Resting on: it stays. Leaving: a second later it goes, and the face is as before.
    idleAt(9000);
    EXPECT_TRUE(readout().isShowing());
    pointAt(kNowhere);
    idleAt(9100);
    idleAt(10099);
    EXPECT_TRUE(readout().isShowing());
    idleAt(10100);
    EXPECT_FALSE(readout().isShowing());
    EXPECT_EQ(updatedBesideTheMeters(), std::vector<CRect>{box});
    EXPECT_EQ(screen(), face);
    // The same rest does not bring it back; nothing of it reached the host.
    pointAt(centreOf(path->getViewSize()));
    idleAt(10200);
    EXPECT_FALSE(readout().isShowing());
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(EditorReadout, DragShowsItAndItFollowsTheValueUntilASecondAfterTheRelease) {
    open();
    const CRect trim = controlRect(vr58::kTrim);
    std::vector<std::string> seen;
    host.inside = [&](int32_t opcode) {
        if (opcode != audioMasterIdle) return;
        // Each of the drag loop's idle passes has drawn the label beside the knob, never over it.
        seen.push_back(readout().getText());
        EXPECT_FALSE(intersects(readout().getBox(), trim));
        EXPECT_GT(boxPixels(readout().getBox()), 100);
    };
    // Pressed at the knob's centre, 10 pixels up at a time, each held for over 100 ms, let go above it.
    std::deque<soft::PointerStep> steps;
    for (int up = 0; up <= 40; up += 10)
        for (int turn = 0; turn < 40; ++turn)
            steps.push_back({CPoint(kScreenOrigin.h + 70, kScreenOrigin.v + 107 - up), {true}});
    steps.push_back({CPoint(kScreenOrigin.h + 70, kScreenOrigin.v + 30), {}});
    soft().setPointer(CPoint(kScreenOrigin.h + 70, kScreenOrigin.v + 107));
    soft().script(steps);
    window.child->press(CPoint(70, 107));
    host.inside = nullptr;
    // The host's next idle, right after the release, sees the pointer gone from the knob.
    const uint32_t released = soft().tickCount();
    idleAt(released);

    ASSERT_EQ(effect->getParameter(vr58::kTrim), 0.7f);
    const std::vector<std::string> expected = {"Trim +2.4 dB", "Trim +4.8 dB", "Trim +7.2 dB",
                                               "Trim +9.6 dB"};
    for (const std::string& text : expected)
        EXPECT_NE(std::find(seen.begin(), seen.end(), text), seen.end()) << text;
    EXPECT_EQ(readout().getText(), "Trim +9.6 dB");

    idleAt(released + ValueReadout::kLinger - 1);
    EXPECT_TRUE(readout().isShowing());
    idleAt(released + ValueReadout::kLinger);
    EXPECT_FALSE(readout().isShowing());
}

TEST_F(EditorReadout, WheelAndKeysShowItAndAFarMoveClearsTheOldPlaceFirst) {
    open();
    wheelAt(centreOf(controlRect(vr58::kGain)), 120);
    ASSERT_TRUE(readout().isShowing());
    EXPECT_EQ(readout().getText(), "Gain +4.8 dB");
    idleAt(100);
    const CRect gainBox = readout().getBox();
    EXPECT_FALSE(intersects(gainBox, controlRect(vr58::kGain)));
    EXPECT_GT(boxPixels(gainBox), 100);

    // The wheel made Gain the focus: a key moves it while the pointer is elsewhere.
    pointAt(kNowhere);
    idleAt(200);
    ASSERT_EQ(key(VKEY_DOWN), 1);
    EXPECT_EQ(readout().getText(), "Gain 0 dB");
    idleAt(1199);
    EXPECT_TRUE(readout().isShowing());
    idleAt(1200);
    EXPECT_FALSE(readout().isShowing());

    // Trim's label after Gain's: the old place is cleared in one pass, the new one drawn in the next;
    // nothing around both is redrawn.
    wheelAt(centreOf(controlRect(vr58::kGain)), -120);
    idleAt(1300);
    const CRect lastGainBox = readout().getBox();
    wheelAt(centreOf(controlRect(vr58::kTrim)), 120);
    EXPECT_EQ(readout().getText(), "Trim +4.8 dB");
    idleAt(1400);
    // The knobs are redrawn too: Trim turned, and Gain lost the focus to it.
    EXPECT_EQ(updatedBesideTheMeters(),
              (std::vector<CRect>{controlRect(vr58::kTrim), controlRect(vr58::kGain), lastGainBox}));
    EXPECT_EQ(boxPixels(lastGainBox), 0);
    idleAt(1500);
    EXPECT_EQ(updatedBesideTheMeters(), std::vector<CRect>{readout().getBox()});
    EXPECT_GT(boxPixels(readout().getBox()), 100);
}

TEST_F(EditorReadout, HostChangesNeverShowItButAShownLabelFollowsThem) {
    open();
    for (uint32_t ms = 100; ms <= 3000; ms += 100) {
        record->setParameter(record, vr58::kTrim, ms / 3000.0f);
        record->setParameter(record, vr58::kEditorBuild.noiseIndex, (ms / 100) % 2 ? 1.0f : 0.0f);
        idleAt(ms);
        ASSERT_FALSE(readout().isShowing()) << ms;
    }

    // Bump's dB depend on Head and HB Att: the label follows them too.
    hover(vr58::kBump, 4000);
    EXPECT_EQ(readout().getText(), "Bump +2 dB"); // Head at 65 Hz, HB Att at -2 dB
    record->setParameter(record, vr58::kEditorBuild.hbAttIndex, 0.0f);
    idleAt(4600);
    EXPECT_EQ(readout().getText(), "Bump +4 dB");
    record->setParameter(record, vr58::kBump, 1.0f);
    idleAt(4700);
    EXPECT_EQ(readout().getText(), "Bump +8 dB");
    EXPECT_GT(boxPixels(readout().getBox()), 100);
}

class EditorReadoutAtEverySize : public EditorReadout, public ::testing::WithParamInterface<int32_t> {};

TEST_P(EditorReadoutAtEverySize, BesideEveryControlInsideTheFaceOffTheMetersAndClickThrough) {
    open(GetParam());
    ASSERT_EQ(scale(), GetParam());
    const CRect face(0, 0, vr58::kFaceWidth, vr58::kFaceHeight);
    uint32_t ms = 1000;
    for (const vr58::EditorViewLayout& view : vr58::kEditorLayout) {
        if (!view.hasParameter()) continue;
        SCOPED_TRACE(view.parameter().name);
        hover(view.tag, ms);
        ms += 1000;
        ASSERT_EQ(readout().getTarget(), editor->control(view.tag));
        const CRect box = readout().getBox();
        EXPECT_TRUE(box.left >= 0 && box.top >= 0 && box.right <= face.right && box.bottom <= face.bottom);
        EXPECT_FALSE(intersects(box, controlRect(view.tag)));
        EXPECT_FALSE(intersects(box, editor->vuMeter()->getViewSize()));
        EXPECT_FALSE(intersects(box, editor->peakLed()->getViewSize()));
        // Clicks and wheel turns on the label reach what lies under it.
        EXPECT_NE(editor->getFrame()->getViewAt(centreOf(box)), static_cast<CView*>(&readout()));
        idleAt(ms);
        EXPECT_GT(boxPixels(box), box.width() * box.height() / 2);
    }
}

TEST_P(EditorReadoutAtEverySize, TextIsDrawnForTheSizesPixels) {
    open(GetParam());
    hover(vr58::kHiss, 1000);
    EXPECT_EQ(readout().getText(), "Hiss \u221266 dB");
    const CRect r = device(readout().getBox());
    // Light text strokes; at 200 % glyph edges from the 2x images vary within 2 x 2 blocks of pixels,
    // which a 1x glyph made larger never does.
    int light = 0, finerThanLogical = 0;
    for (CCoord y = r.top; y + 1 < r.bottom; y += 2)
        for (CCoord x = r.left; x + 1 < r.right; x += 2) {
            const uint32_t a = window.child->screen().at(x, y), b = window.child->screen().at(x + 1, y),
                           c = window.child->screen().at(x, y + 1),
                           d = window.child->screen().at(x + 1, y + 1);
            for (uint32_t p : {a, b, c, d}) light += ((p >> 8) & 0xFF) > 150;
            finerThanLogical += a != b || a != c || a != d;
        }
    EXPECT_GT(light, 40 * GetParam() / 100);
    if (GetParam() == 200) {
        EXPECT_GT(finerThanLogical, 40);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, EditorReadoutAtEverySize, ::testing::Values(100, 200));

} // namespace
