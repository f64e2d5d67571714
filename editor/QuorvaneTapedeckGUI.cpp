#include "editor/QuorvaneTapedeckGUI.h"

#include "editor/editor_layout.h"
#include "shell/AudioEffectX.h"
#include "vstgui/ccontrol.h"
#include "vstgui/cframe.h"

using namespace VSTGUI;

QuorvaneTapedeckGUI::QuorvaneTapedeckGUI(AudioEffectX* effect)
    : AEffGUIEditor(effect, vr58::kSkinBackgroundId) {}

QuorvaneTapedeckGUI::~QuorvaneTapedeckGUI() {
    QuorvaneTapedeckGUI::close();
}

bool QuorvaneTapedeckGUI::open(void* parentWindow) {
    if (!parentWindow) return false;
    if (frame) close();
    AEffEditor::open(parentWindow);
    // Changes noted before this point are read with all the other values below.
    pendingParameters.store(0, std::memory_order_relaxed);
    setKnobMode(2); // linear at every opening, whatever the host chose before
    CFrame* newFrame = createFrame(parentWindow);
    adoptFrame(newFrame);
    return true;
}

void QuorvaneTapedeckGUI::close() {
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
    // The effect's stored, clamped value, not the one the caller asked for.
    if (CControl* c = controls[index]) c->setValue(effect->getParameter(index));
}

void QuorvaneTapedeckGUI::valueChanged(CDrawContext* /*context*/, CControl* control) {
    if (!frame) return;
    const int32_t tag = control->getTag();
    if (static_cast<uint32_t>(tag) >= kParameterCount) return;
    HostCallScope scope(*this);
    effect->setParameterAutomated(tag, control->getValue());
    if (scope.editorDestroyed()) return;
    // The stored value goes back into the control, and a change too small to move a knob's pointer by a
    // pixel is still drawn.
    showPendingParameters();
    control->setDirty(true);
}
