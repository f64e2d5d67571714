#include "editor/AEffGUIEditor.h"

#include "editor/skin_bitmaps.h"
#include "shell/AudioEffectX.h"
#include "vstgui/cbitmap.h"
#include "vstgui/ccontrol.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/platform/platform.h"

using namespace VSTGUI;

std::atomic<int32_t> AEffGUIEditor::knobMode{0}; // circular until a host or an opening chooses

namespace {

// What a frame still handling an event sees once its editor has closed: no host, no edits, and a
// paced loop, so the rest of a drag neither reaches a closed editor nor spins the processor.
class ClosedEditor final : public IFrameEditor {
public:
    void beginEdit(int32_t) override {}
    void endEdit(int32_t) override {}
    void doIdleStuff() override { platform::backend().sleep(4); }
    int32_t getKnobMode() const override { return AEffGUIEditor::knobMode.load(std::memory_order_relaxed); }
};
ClosedEditor closedEditor;

// Tick comparisons that survive the wrap of the 32-bit millisecond count after 49.7 days.
bool isBefore(uint32_t a, uint32_t b) {
    return static_cast<int32_t>(a - b) < 0;
}

} // namespace

AEffGUIEditor::HostCallScope::HostCallScope(AEffGUIEditor& e) : editor(&e), outer(e.hostCalls) {
    e.hostCalls = this;
}

AEffGUIEditor::HostCallScope::~HostCallScope() {
    if (editor) editor->hostCalls = outer;
}

AEffGUIEditor::AEffGUIEditor(AudioEffectX* effect, int32_t backgroundId)
    : AEffEditor(effect), effectX(effect), backgroundId(backgroundId),
      nextIdleTicks(platform::backend().tickCount()),
      openGestures(new uint16_t[static_cast<size_t>(effect->getAeffect()->numParams)]()),
      gestureSlots(effect->getAeffect()->numParams) {
    effect->setEditor(this);
    effect->getAeffect()->flags |= effFlagsHasEditor;
    vr58::SkinBitmaps::attach();
    const CBitmap* background = vr58::SkinBitmaps::get(backgroundId);
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<int16_t>(background->getHeight());
    rect.right = static_cast<int16_t>(background->getWidth());
}

AEffGUIEditor::~AEffGUIEditor() {
    // A host may destroy the effect with the window still open: no window may stay behind, and no gesture
    // is ended for an effect that is going away.
    effectClosing();
    AEffGUIEditor::close();
    for (HostCallScope* scope = hostCalls; scope; scope = scope->outer) scope->editor = nullptr;
    vr58::SkinBitmaps::detach();
}

bool AEffGUIEditor::getRect(ERect** out) {
    if (!out) return false;
    *out = &rect;
    return true;
}

bool AEffGUIEditor::openIn(void* parentWindow, platform::Backend& system) {
    // Views made during the opening (the meters read their clock) see the same window system.
    const platform::BackendScope scope(system);
    openingSystem = &system;
    const bool opened = open(parentWindow);
    openingSystem = nullptr;
    return opened;
}

CFrame* AEffGUIEditor::createFrame(void* parentWindow, CBitmap* background) {
    auto* newFrame = new CFrame(CRect(0, 0, background->getWidth(), background->getHeight()), parentWindow,
                                this, openingSystem);
    newFrame->setBackground(background);
    return newFrame;
}

void AEffGUIEditor::releaseFrame() {
    CFrame* old = frame;
    frame = nullptr;
    if (!old) return;
    old->setEditor(&closedEditor);
    for (int32_t i = 0; i < old->getNbViews(); ++i) {
        CView* view = old->getView(i);
        if (view->isTypeOf("CControl")) static_cast<CControl*>(view)->setListener(nullptr);
    }
    old->release();
}

void AEffGUIEditor::close() {
    releaseFrame();
    AEffEditor::close();
    // Last: the host may close the editor again or destroy the effect from inside one of these calls.
    endOpenGestures();
}

void AEffGUIEditor::effectClosing() {
    for (int32_t i = 0; i < gestureSlots; ++i) openGestures[i] = 0;
}

void AEffGUIEditor::endOpenGestures() {
    for (int32_t i = 0; i < gestureSlots; ++i)
        while (openGestures[i] > 0) {
            --openGestures[i]; // counted off before the call, so a nested close does not end it again
            HostCallScope scope(*this);
            effectX->endEdit(i);
            if (scope.editorDestroyed()) return;
        }
}

void AEffGUIEditor::idle() {
    if (inHostIdle || !frame) return;
    CFrame* current = frame;
    current->retain();
    current->idle();
    current->release();
}

bool AEffGUIEditor::onKeyDown(::VstKeyCode& keyCode) {
    if (!frame) return false;
    VSTGUI::VstKeyCode key{keyCode.character, keyCode.virt, keyCode.modifier};
    // A key edit reaches the host, which may close the editor meanwhile: the frame stays until we return.
    CFrame* current = frame;
    const platform::BackendScope scope(current->getBackend());
    current->retain();
    const int32_t answer = current->onKeyDown(key);
    current->release();
    return answer == 1;
}

bool AEffGUIEditor::onKeyUp(::VstKeyCode& keyCode) {
    if (!frame) return false;
    VSTGUI::VstKeyCode key{keyCode.character, keyCode.virt, keyCode.modifier};
    CFrame* current = frame;
    const platform::BackendScope scope(current->getBackend());
    current->retain();
    const int32_t answer = current->onKeyUp(key);
    current->release();
    return answer == 1;
}

bool AEffGUIEditor::onWheel(float distance) {
    if (!frame) return false;
    CFrame* current = frame;
    const platform::BackendScope scope(current->getBackend());
    current->retain();
    CDrawContext* context = new CDrawContext(current, nullptr, systemWindow);
    CPoint where = current->getBackend().cursorPosition();
    where.offset(-context->offsetScreen.h, -context->offsetScreen.v);
    const bool answer = current->onWheel(context, where, distance);
    context->release();
    current->release();
    return answer;
}

bool AEffGUIEditor::setKnobMode(int32_t mode) {
    knobMode.store(mode, std::memory_order_relaxed);
    return true;
}

void AEffGUIEditor::beginEdit(int32_t index) {
    // Counted before the host hears of it: the host may close the editor from inside audioMasterBeginEdit.
    if (index >= 0 && index < gestureSlots && openGestures[index] < UINT16_MAX) ++openGestures[index];
    effectX->beginEdit(index);
}

void AEffGUIEditor::endEdit(int32_t index) {
    if (index >= 0 && index < gestureSlots) {
        // Already ended by a close in between (or never begun here): the host has had its endEdit.
        if (openGestures[index] == 0) return;
        --openGestures[index];
    }
    effectX->endEdit(index);
}

void AEffGUIEditor::doIdleStuff() {
    platform::Backend& system = platform::backend();
    uint32_t now = system.tickCount();
    if (isBefore(now, nextIdleTicks)) {
        system.sleep(4);
        now += 4;
        if (isBefore(now, nextIdleTicks - 50)) return;
    }
    idle();
    system.dispatchPendingPaint();

    inHostIdle = true;
    nextIdleTicks = now + 100;
    HostCallScope scope(*this);
    effectX->masterIdle();
    if (scope.editorDestroyed()) return;
    inHostIdle = false;
}
