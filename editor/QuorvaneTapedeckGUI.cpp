#include "editor/QuorvaneTapedeckGUI.h"

#include "editor/QuorvanePeakLed.h"
#include "editor/QuorvaneVU.h"
#include "editor/editor_layout.h"
#include "editor/skin_bitmaps.h"
#include "editor/skin_font.h"
#include "editor/value_readout.h"
#include "engine/build_config.h"
#include "engine/parameter_units.h"
#include "tape/meter_feed.h"
#include "tape/parameter_mapping.h"
#include "vst2/QuorvaneFX.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/cglyphfont.h"
#include "vstgui/chorizontalswitch.h"
#include "vstgui/cknob.h"

using namespace VSTGUI;

QuorvaneTapedeckGUI::QuorvaneTapedeckGUI(AudioEffectX* effect, vr58::MeterFeed& meterFeed)
    : AEffGUIEditor(effect, vr58::kSkinBackgroundId, vr58::kFaceWidth, vr58::kFaceHeight),
      meterFeed(meterFeed) {
    // Every effect this editor is made for is the VST 2.4 adapter, which tells its listener of stored values.
    static_cast<QuorvaneFX*>(effect)->setParameterListener(this);
}

QuorvaneTapedeckGUI::~QuorvaneTapedeckGUI() {
    QuorvaneTapedeckGUI::close();
}

bool QuorvaneTapedeckGUI::open(void* parentWindow) {
    if (!parentWindow) return false;
    if (frame) close();
    AEffEditor::open(parentWindow);
    // Changes noted before this point are read below with all the other values.
    pendingParameters.store(0, std::memory_order_relaxed);

    const int32_t size = chooseOpeningScale(parentWindow);
    vr58::SkinBitmaps::use(size);
    openScale = size;
    const auto skin = [size](int32_t id) { return vr58::SkinBitmaps::get(id, size); };
    setKnobMode(2); // linear at every opening, whatever the host chose before
    CFrame* newFrame = createFrame(parentWindow, skin(vr58::kSkinBackgroundId), size);
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
    // The read-out lies over every view; where it can, it keeps off the meters and the other controls.
    auto* font = new CGlyphFont(skin(vr58::kSkinFontId), vr58::kSkinFontMetrics);
    readout = new ValueReadout(CRect(0, 0, vr58::kFaceWidth, vr58::kFaceHeight), font,
                               [this](const CControl& c) { return readoutText(c); });
    font->release();
    for (int32_t i = 0; i < newFrame->getNbViews(); ++i) readout->avoid(newFrame->getView(i)->getViewSize());
    newFrame->addView(readout);

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
    readout = nullptr;
    for (CControl*& c : controls) c = nullptr;
    AEffGUIEditor::close();
    // The frame has let its images go (or holds its own references while it finishes an event).
    if (openScale) vr58::SkinBitmaps::unuse(openScale);
    openScale = 0;
}

CControl* QuorvaneTapedeckGUI::control(int32_t index) const {
    return static_cast<uint32_t>(index) < kParameterCount ? controls[index] : nullptr;
}

void QuorvaneTapedeckGUI::idle() {
    if (!inHostIdle && frame) {
        showPendingParameters();
        idleReadout();
    }
    AEffGUIEditor::idle();
}

void QuorvaneTapedeckGUI::idleReadout() {
    if (!readout) return;
    if (frame->getModalView()) {
        readout->hide();
        return;
    }
    CPoint where;
    frame->getCurrentLocation(where);
    CControl* hovered = nullptr;
    for (CControl* c : controls)
        if (c && c->getViewSize().pointInside(where)) hovered = c;
    readout->idle(hovered, frame->getTicks());
}

std::string QuorvaneTapedeckGUI::readoutText(const CControl& control) const {
    float values[kParameterCount];
    for (int32_t i = 0; i < kParameterCount; ++i) values[i] = effect->getParameter(i);
    return vr58::ParameterUnits::of(vr58::kEditorBuild).format(control.getTag(), values, true);
}

void QuorvaneTapedeckGUI::beginEdit(int32_t index) {
    // Before the host hears of it: the host may close the editor from inside audioMasterBeginEdit.
    if (readout && frame) readout->gestureBegan(control(index), frame->getTicks());
    AEffGUIEditor::beginEdit(index);
}

void QuorvaneTapedeckGUI::endEdit(int32_t index) {
    if (readout && frame) readout->gestureEnded(control(index), frame->getTicks());
    AEffGUIEditor::endEdit(index);
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
    vu->setHoldBitmap(on ? vr58::SkinBitmaps::get(vr58::kVuHoldNeedleId, openScale) : nullptr);
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
    if (readout) readout->valueEdited(control, frame->getTicks());
}
