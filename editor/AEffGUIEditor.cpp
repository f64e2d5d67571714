#include "editor/AEffGUIEditor.h"

#include "editor/editor_scale.h"
#include "editor/editor_settings.h"
#include "editor/skin_bitmaps.h"
#include "editor/skin_font.h"
#include "vst2/AudioEffectX.h"
#include "vstgui/cbitmap.h"
#include "vstgui/ccontrol.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/cglyphfont.h"
#include "vstgui/cpopuplist.h"
#include "vstgui/cscale.h"
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

// The host convention for its scale factor: effVendorSpecific with index 'PreS', value 'AeCs'.
constexpr int32_t kScaleHintIndex = 0x50726553;
constexpr intptr_t kScaleHintValue = 0x41654373;

} // namespace

AEffGUIEditor::HostCallScope::HostCallScope(AEffGUIEditor& e) : editor(&e), outer(e.hostCalls) {
    e.hostCalls = this;
}

AEffGUIEditor::HostCallScope::~HostCallScope() {
    if (editor) editor->hostCalls = outer;
}

AEffGUIEditor::AEffGUIEditor(AudioEffectX* effect, int32_t backgroundId, int32_t faceWidth,
                             int32_t faceHeight)
    : AEffEditor(effect), effectX(effect), backgroundId(backgroundId),
      nextIdleTicks(platform::backend().tickCount()), faceWidth(faceWidth), faceHeight(faceHeight),
      openGestures(new uint16_t[static_cast<size_t>(effect->getAeffect()->numParams)]()),
      gestureSlots(effect->getAeffect()->numParams) {
    effect->setEditor(this);
    effect->getAeffect()->flags |= effFlagsHasEditor;
    vr58::SkinBitmaps::attach();
    chooseOpeningScale(nullptr);
}

void AEffGUIEditor::setRectFor(int32_t percent) {
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<int16_t>(toDevice(faceHeight, percent));
    rect.right = static_cast<int16_t>(toDevice(faceWidth, percent));
}

int32_t AEffGUIEditor::chooseOpeningScale(void* parentWindow) {
    if (reopenScale) {
        scale = reopenScale;
        reopenScale = 0;
    } else {
        // Read at every opening, so a size chosen in another instance is taken by every new editor.
        userScale = vr58::readEditorScale(vr58::editorSettingsPath());
        vr58::ScaleSources sources;
        sources.userChoice = userScale;
        sources.hostFactor = hostScaleFactor;
        sources.screenDpi = platform::backend().screenDpi(parentWindow);
        scale = vr58::chooseEditorScale(sources);
    }
    setRectFor(scale);
    return scale;
}

intptr_t AEffGUIEditor::vendorSpecific(int32_t index, intptr_t value, void*, float opt) {
    if (index != kScaleHintIndex || value != kScaleHintValue) return 0;
    hostScaleFactor = opt;
    if (vr58::isEditorScale(userScale)) return 1;
    const int32_t hinted = vr58::nearestEditorScale(opt * 100.0);
    if (!hinted) return 1;
    if (frame) {
        if (hinted != scale) pendingScale = hinted;
    } else {
        scale = hinted;
        setRectFor(scale);
    }
    return 1;
}

bool AEffGUIEditor::setNextOpeningScale(int32_t percent) {
    if (!vr58::isEditorScale(percent)) return false;
    reopenScale = percent;
    if (!frame) {
        scale = percent;
        setRectFor(scale);
    }
    return true;
}

void AEffGUIEditor::screenDpiChanged(int32_t dpi) {
    if (!frame || vr58::isEditorScale(userScale) || vr58::nearestEditorScale(hostScaleFactor * 100.0)) return;
    const int32_t followed = vr58::nearestEditorScale(dpi * 100.0 / 96.0);
    if (followed && followed != scale) pendingScale = followed;
}

void AEffGUIEditor::chooseScale(int32_t percent) {
    if (!vr58::isEditorScale(percent)) return;
    userScale = percent;
    // A choice that cannot be saved still holds for this editor.
    vr58::writeEditorScale(vr58::editorSettingsPath(), percent);
    if (!frame) {
        scale = percent;
        setRectFor(scale);
    } else if (percent != scale) {
        pendingScale = percent;
    }
}

void AEffGUIEditor::applyScale(int32_t percent) {
    pendingScale = 0;
    if (!frame || percent == scale) return;
    char canDo[] = "sizeWindow";
    {
        HostCallScope scope(*this);
        const bool resized = effectX->canHostDo(canDo) &&
                             effectX->sizeWindow(toDevice(faceWidth, percent), toDevice(faceHeight, percent));
        if (scope.editorDestroyed()) return;
        // The host keeps its window: the new size waits for the next opening.
        if (!resized) return;
    }
    // The new window is made by the window system of the old one.
    void* parent = systemWindow;
    platform::Backend& system = frame->getBackend();
    reopenScale = percent;
    close();
    openIn(parent, system);
}

bool AEffGUIEditor::openContextMenu(const CPoint& where) {
    if (!frame || sizeMenu) return false;
    std::vector<std::string> lines;
    int32_t marked = -1;
    for (int32_t i = 0; i < vr58::kEditorScaleCount; ++i) {
        lines.push_back(std::to_string(vr58::kEditorScales[i]) + " %");
        if (vr58::kEditorScales[i] == scale) marked = i;
    }
    char canDo[] = "sizeWindow";
    std::string note;
    {
        HostCallScope scope(*this);
        const bool hostResizes = effectX->canHostDo(canDo);
        if (scope.editorDestroyed() || !frame) return true;
        if (!hostResizes) note = "Takes effect when reopened";
    }
    auto* font = new CGlyphFont(vr58::SkinBitmaps::get(111, scale), vr58::kSkinFontMetrics);
    CRect area;
    frame->getViewSize(area);
    sizeMenu = new CPopupList(
        area, where, font, std::move(lines), marked,
        [this](int32_t chosen) {
            closeSizeMenu();
            if (chosen >= 0 && chosen < vr58::kEditorScaleCount) chooseScale(vr58::kEditorScales[chosen]);
        },
        note);
    font->release();
    frame->setFocusView(nullptr);
    frame->setModalView(sizeMenu);
    return true;
}

void AEffGUIEditor::closeSizeMenu() {
    CPopupList* menu = sizeMenu;
    sizeMenu = nullptr;
    if (!menu) return;
    if (frame && frame->getModalView() == menu) {
        frame->setModalView(nullptr);
        // What lay under the menu is drawn again at the next idle.
        frame->setDirty(true);
    }
    menu->release();
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
    // While closed, the size the next opening will take (a choice made meanwhile by another editor).
    if (!frame && !reopenScale) chooseOpeningScale(nullptr);
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

CFrame* AEffGUIEditor::createFrame(void* parentWindow, CBitmap* background, int32_t scalePercent) {
    auto* newFrame = new CFrame(CRect(0, 0, background->getWidth(), background->getHeight()), parentWindow,
                                this, openingSystem, scalePercent);
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
    closeSizeMenu();
    pendingScale = 0;
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
    if (pendingScale) {
        applyScale(pendingScale);
        if (!frame) return;
    }
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
    where = toLogical(where, current->getScale());
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
