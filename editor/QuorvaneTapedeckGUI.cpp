#include "editor/QuorvaneTapedeckGUI.h"

#include "editor/QuorvanePeakLed.h"
#include "editor/QuorvaneVU.h"
#include "editor/editor_layout.h"
#include "editor/skin_bitmaps.h"
#include "effect/build_config.h"
#include "shell/AudioEffectX.h"
#include "tape/meter_feed.h"
#include "tape/parameter_mapping.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/chorizontalswitch.h"
#include "vstgui/cknob.h"

using namespace VSTGUI;

QuorvaneTapedeckGUI::QuorvaneTapedeckGUI(AudioEffectX* effect, vr58::MeterFeed& meterFeed)
    : AEffGUIEditor(effect, vr58::kSkinBackgroundId), meterFeed(meterFeed) {}

QuorvaneTapedeckGUI::~QuorvaneTapedeckGUI() {
    QuorvaneTapedeckGUI::close();
}

bool QuorvaneTapedeckGUI::open(void* parentWindow) {
    if (!parentWindow) return false;
    if (frame) close();
    AEffEditor::open(parentWindow);
    // Changes noted before this point are read below with all the other values.
    pendingParameters.store(0, std::memory_order_relaxed);

    const auto skin = [](int32_t id) { return vr58::SkinBitmaps::get(id); };
    setKnobMode(2); // linear at every opening, whatever the host chose before
    CFrame* newFrame = createFrame(parentWindow, skin(vr58::kSkinBackgroundId));
    QuorvaneVU* newVu = nullptr;
    QuorvanePeakLed* newLed = nullptr;
    for (const vr58::EditorViewLayout& view : vr58::kEditorLayout) {
        const CRect size(view.left, view.top, view.right, view.bottom);
        CBitmap* strip = skin(view.bitmapId);
        CControl* c = nullptr;
        switch (view.kind) {
        case vr58::EditorViewKind::Knob:
            c = new CAnimKnob(size, this, view.tag, view.frames, view.frameHeight, strip, CPoint());
            break;
        case vr58::EditorViewKind::Switch:
            c = new CHorizontalSwitch(size, this, view.tag, view.frames, view.frameHeight, view.frames, strip,
                                      CPoint());
            break;
        case vr58::EditorViewKind::VuMeter:
            newVu = new QuorvaneVU(size, &meterFeed, strip);
            newFrame->addView(newVu);
            continue;
        case vr58::EditorViewKind::PeakLed:
            // A square of the lamp image's width with its top-right corner at the layout's.
            newLed = new QuorvanePeakLed(
                CRect(view.right - strip->getWidth(), view.top, view.right, view.top + strip->getWidth()),
                &meterFeed, strip);
            newFrame->addView(newLed);
            continue;
        }
        c->setValue(effect->getParameter(view.tag));
        newFrame->addView(c);
        controls[view.tag] = c;
    }
    for (const vr58::EditorViewLayout& view : vr58::kEditorLayout)
        if (view.hasParameter()) controls[view.tag]->setDefaultValue(view.parameter().defaultValue);
    if (effect->getParameter(vr58::kEditorBuild.vuHoldIndex) > 0.5f)
        newVu->setHoldBitmap(skin(vr58::kVuHoldNeedleId));
    newVu->setReferenceLevel(vr58::headRoomDb(effect->getParameter(vr58::kEditorBuild.headRoomIndex)));
    vu = newVu;
    led = newLed;

    // Fresh ballistics and peak for the new meters; the audio thread feeds them from its next block.
    meterFeed.start();
    adoptFrame(newFrame);
    return true;
}

void QuorvaneTapedeckGUI::close() {
    if (frame) {
        meterFeed.stop();
        // The meters read the effect's feed; they go now, even when the frame must outlive this close.
        frame->removeView(vu);
        frame->removeView(led);
    }
    vu = nullptr;
    led = nullptr;
    for (CControl*& c : controls) c = nullptr;
    AEffGUIEditor::close();
}

CControl* QuorvaneTapedeckGUI::control(int32_t index) const {
    return static_cast<uint32_t>(index) < kParameterCount ? controls[index] : nullptr;
}

void QuorvaneTapedeckGUI::idle() {
    if (!inHostIdle && frame) showPendingParameters();
    AEffGUIEditor::idle();
}

void QuorvaneTapedeckGUI::setParameter(int32_t index, float /*value*/) {
    if (static_cast<uint32_t>(index) >= kParameterCount) return;
    pendingParameters.fetch_or(1u << index, std::memory_order_release);
}

void QuorvaneTapedeckGUI::showPendingParameters() {
    uint32_t pending = pendingParameters.exchange(0, std::memory_order_acquire);
    for (int32_t index = 0; pending; ++index, pending >>= 1)
        if (pending & 1u) showParameter(index);
}

void QuorvaneTapedeckGUI::showParameter(int32_t index) {
    // The effect's stored, clamped value, not the one a caller asked for.
    const float value = effect->getParameter(index);
    if (CControl* c = controls[index]) c->setValue(value);
    if (index == vr58::kEditorBuild.headRoomIndex && vu) vu->setReferenceLevel(vr58::headRoomDb(value));
    if (index == vr58::kEditorBuild.vuHoldIndex) setVuHold(value > 0.5f);
}

void QuorvaneTapedeckGUI::setVuHold(bool on) {
    if (!frame || !vu) return; // read again at the next opening
    vu->setHoldBitmap(on ? vr58::SkinBitmaps::get(vr58::kVuHoldNeedleId) : nullptr);
}

void QuorvaneTapedeckGUI::valueChanged(CDrawContext* /*context*/, CControl* control) {
    if (!frame) return;
    const int32_t tag = control->getTag();
    if (static_cast<uint32_t>(tag) >= kParameterCount) return;
    HostCallScope scope(*this);
    effect->setParameterAutomated(tag, control->getValue());
    if (scope.editorDestroyed()) return;
    // The stored value goes back into the control at once, and a change too small to move a knob's
    // pointer by a pixel is still drawn.
    showPendingParameters();
    control->setDirty(true);
}
