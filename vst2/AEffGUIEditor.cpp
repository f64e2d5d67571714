#include "vst2/AEffGUIEditor.h"

#include "vst2/AudioEffectX.h"
#include "vstgui/platform/platform.h"
#include "vstgui/vstkeycode.h"

namespace {

// The host convention for its scale factor: effVendorSpecific with index 'PreS', value 'AeCs'.
constexpr int32_t kScaleHintIndex = 0x50726553;
constexpr intptr_t kScaleHintValue = 0x41654373;

} // namespace

AEffGUIEditor::AEffGUIEditor(AudioEffectX* effect) : AEffEditor(effect), effectX(effect), face_(*this) {
    effect->setEditor(this);
    effect->getAeffect()->flags |= effFlagsHasEditor;
}

AEffGUIEditor::~AEffGUIEditor() {
    // A host may destroy the effect with the window still open: no window may stay behind, and no gesture
    // is ended for an effect that is going away (the face's destruction sees to both).
    AEffEditor::close();
}

bool AEffGUIEditor::open(void* parentWindow) {
    if (!parentWindow) return false;
    if (face_.isOpen()) close();
    AEffEditor::open(parentWindow);
    return face_.open(parentWindow, nullptr);
}

bool AEffGUIEditor::openIn(void* parentWindow, VSTGUI::platform::Backend& system) {
    if (!parentWindow) return false;
    if (face_.isOpen()) close();
    AEffEditor::open(parentWindow);
    return face_.open(parentWindow, &system);
}

bool AEffGUIEditor::getRect(ERect** out) {
    if (!out) return false;
    // While closed, the size the next opening will take (a choice made meanwhile by another editor).
    face_.refreshClosedScale();
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<int16_t>(face_.windowHeight());
    rect.right = static_cast<int16_t>(face_.windowWidth());
    *out = &rect;
    return true;
}

void AEffGUIEditor::close() {
    AEffEditor::close();
    // Last: the host may close the editor again or destroy the effect from inside the gestures' ends.
    face_.close();
}

void AEffGUIEditor::idle() {
    face_.idle();
}

bool AEffGUIEditor::onKeyDown(::VstKeyCode& keyCode) {
    VSTGUI::VstKeyCode key{keyCode.character, keyCode.virt, keyCode.modifier};
    return face_.onKeyDown(key);
}

bool AEffGUIEditor::onKeyUp(::VstKeyCode& keyCode) {
    VSTGUI::VstKeyCode key{keyCode.character, keyCode.virt, keyCode.modifier};
    return face_.onKeyUp(key);
}

bool AEffGUIEditor::onWheel(float distance) {
    return face_.onWheel(distance);
}

bool AEffGUIEditor::setKnobMode(int32_t mode) {
    knobMode.store(mode, std::memory_order_relaxed);
    return true;
}

intptr_t AEffGUIEditor::vendorSpecific(int32_t index, intptr_t value, void*, float opt) {
    if (index != kScaleHintIndex || value != kScaleHintValue) return 0;
    face_.setHostScaleFactor(opt);
    return 1;
}

void AEffGUIEditor::effectClosing() {
    face_.forgetOpenGestures();
}

void AEffGUIEditor::beginEdit(int32_t index) {
    effectX->beginEdit(index);
}

void AEffGUIEditor::performEdit(int32_t index, float value) {
    effectX->setParameterAutomated(index, value);
}

void AEffGUIEditor::endEdit(int32_t index) {
    effectX->endEdit(index);
}

float AEffGUIEditor::parameterValue(int32_t index) {
    return effect->getParameter(index);
}

bool AEffGUIEditor::canResizeWindow() {
    char canDo[] = "sizeWindow";
    return effectX->canHostDo(canDo);
}

bool AEffGUIEditor::resizeWindow(int32_t width, int32_t height) {
    return effectX->sizeWindow(width, height);
}

void AEffGUIEditor::idleHost() {
    effectX->masterIdle();
}
