#include "editor/tapedeck_face.h"

#include "editor/QuorvanePeakLed.h"
#include "editor/QuorvaneVU.h"
#include "editor/editor_layout.h"
#include "editor/editor_scale.h"
#include "editor/editor_settings.h"
#include "editor/factory_presets.h"
#include "editor/preset_dialogs.h"
#include "editor/skin_bitmaps.h"
#include "editor/skin_font.h"
#include "editor/user_presets.h"
#include "editor/value_readout.h"
#include "engine/parameter_units.h"
#include "tape/meter_feed.h"
#include "tape/parameter_mapping.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/cglyphfont.h"
#include "vstgui/chorizontalswitch.h"
#include "vstgui/cknob.h"
#include "vstgui/cpopuplist.h"
#include "vstgui/cscale.h"
#include "vstgui/platform/platform.h"

#include <cmath>
#include <limits>
#include <vector>

using namespace VSTGUI;

namespace vr58 {

std::atomic<int32_t> TapedeckFace::knobMode{0}; // circular until a host or an opening chooses

namespace {

// What a frame still handling an event sees once its face has closed: no host, no edits, and a paced
// loop, so the rest of a drag neither reaches a closed face nor spins the processor.
class ClosedFace final : public IFrameEditor {
public:
    void beginEdit(int32_t) override {}
    void endEdit(int32_t) override {}
    void doIdleStuff() override { platform::backend().sleep(4); }
    int32_t getKnobMode() const override { return TapedeckFace::knobMode.load(std::memory_order_relaxed); }
};
ClosedFace closedFace;

constexpr float kLeave = std::numeric_limits<float>::quiet_NaN();

// Tick comparisons that survive the wrap of the 32-bit millisecond count after 49.7 days.
bool isBefore(uint32_t a, uint32_t b) {
    return static_cast<int32_t>(a - b) < 0;
}

} // namespace

TapedeckFace::ControllerCall::ControllerCall(TapedeckFace& f) : face(&f), outer(f.controllerCalls) {
    f.controllerCalls = this;
}

TapedeckFace::ControllerCall::~ControllerCall() {
    if (face) face->controllerCalls = outer;
}

TapedeckFace::TapedeckFace(EditController& controller)
    : controller(controller), nextIdleTicks(platform::backend().tickCount()) {
    SkinBitmaps::attach();
    chooseOpeningScale(nullptr);
}

TapedeckFace::~TapedeckFace() {
    forgetOpenGestures();
    close();
    for (ControllerCall* call = controllerCalls; call; call = call->outer) call->face = nullptr;
    SkinBitmaps::detach();
}

int32_t TapedeckFace::windowWidth() const {
    return toDevice(kFaceWidth, scale);
}

int32_t TapedeckFace::windowHeight() const {
    return toDevice(kFaceHeight, scale);
}

int32_t TapedeckFace::chooseOpeningScale(void* parent) {
    if (reopenScale) {
        scale = reopenScale;
        reopenScale = 0;
    } else {
        // Read at every opening, so a size chosen in another instance is taken by every new face.
        userScale = readEditorScale(editorSettingsPath());
        ScaleSources sources;
        sources.userChoice = userScale;
        sources.hostFactor = hostScaleFactor;
        sources.screenDpi = platform::backend().screenDpi(parent);
        scale = chooseEditorScale(sources);
    }
    return scale;
}

void TapedeckFace::refreshClosedScale() {
    if (!frame && !reopenScale) chooseOpeningScale(nullptr);
}

void TapedeckFace::setHostScaleFactor(float factor) {
    hostScaleFactor = factor;
    if (isEditorScale(userScale)) return;
    const int32_t hinted = nearestEditorScale(factor * 100.0);
    if (!hinted) return;
    if (!frame)
        scale = hinted;
    else if (hinted != scale)
        pendingScale = hinted;
}

bool TapedeckFace::setNextOpeningScale(int32_t percent) {
    if (!isEditorScale(percent)) return false;
    reopenScale = percent;
    if (!frame) scale = percent;
    return true;
}

void TapedeckFace::screenDpiChanged(int32_t dpi) {
    if (!frame || isEditorScale(userScale) || nearestEditorScale(hostScaleFactor * 100.0)) return;
    const int32_t followed = nearestEditorScale(dpi * 100.0 / 96.0);
    if (followed && followed != scale) pendingScale = followed;
}

void TapedeckFace::chooseScale(int32_t percent) {
    if (!isEditorScale(percent)) return;
    userScale = percent;
    // A choice that cannot be saved still holds for this face.
    writeEditorScale(editorSettingsPath(), percent);
    if (!frame)
        scale = percent;
    else if (percent != scale)
        pendingScale = percent;
}

bool TapedeckFace::open(void* parent, platform::Backend* system) {
    if (!parent) return false;
    if (frame) close();
    // Views made during the opening (the meters read their clock) see the same window system.
    platform::Backend& opening = system ? *system : platform::backend();
    const platform::BackendScope scope(opening);
    parentWindow = parent;
    // Changes noted before this point are read below with all the other values.
    pendingParameters.store(0, std::memory_order_relaxed);

    const int32_t size = chooseOpeningScale(parent);
    SkinBitmaps::use(size);
    openScale = size;
    knobMode.store(2, std::memory_order_relaxed); // linear at every opening, whatever the host chose before
    CBitmap* background = SkinBitmaps::get(kSkinBackgroundId, size);
    auto* newFrame =
        new CFrame(CRect(0, 0, background->getWidth(), background->getHeight()), parent, this, system, size);
    newFrame->setBackground(background);
    addViews(*newFrame, size);
    // The host changed something while the face was closed: that ends the redo branch as any change of its.
    float now[kParameterCount];
    readAll(now);
    for (int32_t i = 0; i < kParameterCount; ++i)
        if (knownValid && now[i] != known[i]) history.endRedoBranch();
    std::copy(now, now + kParameterCount, known);
    knownValid = true;
    // Fresh ballistics and peak for the new meters; the audio thread feeds them from its next block.
    controller.meterFeed().start();
    frame = newFrame;
    return true;
}

void TapedeckFace::addViews(CFrame& into, int32_t size) {
    const auto skin = [size](int32_t id) { return SkinBitmaps::get(id, size); };
    QuorvaneVU* newVu = nullptr;
    QuorvanePeakLed* newLed = nullptr;
    for (const EditorViewLayout& view : kEditorLayout) {
        const CRect area(view.left, view.top, view.right, view.bottom);
        CBitmap* strip = skin(view.bitmapId);
        CControl* c = nullptr;
        switch (view.kind) {
        case EditorViewKind::Knob:
            c = new CAnimKnob(area, this, view.tag, view.frames, view.frameHeight, strip, CPoint());
            break;
        case EditorViewKind::Switch:
            c = new CHorizontalSwitch(area, this, view.tag, view.frames, view.frameHeight, view.frames, strip,
                                      CPoint());
            break;
        case EditorViewKind::VuMeter:
            newVu = new QuorvaneVU(area, &controller.meterFeed(), strip);
            into.addView(newVu);
            continue;
        case EditorViewKind::PeakLed:
            // A square of the lamp image's width with its top-right corner at the layout's.
            newLed = new QuorvanePeakLed(
                CRect(view.right - strip->getWidth(), view.top, view.right, view.top + strip->getWidth()),
                &controller.meterFeed(), strip);
            into.addView(newLed);
            continue;
        }
        c->setValue(controller.parameterValue(view.tag));
        into.addView(c);
        controls[view.tag] = c;
    }
    for (const EditorViewLayout& view : kEditorLayout)
        if (view.hasParameter()) controls[view.tag]->setDefaultValue(view.parameter().defaultValue);
    if (controller.parameterValue(kEditorBuild.vuHoldIndex) > 0.5f)
        newVu->setHoldBitmap(skin(kVuHoldNeedleId));
    newVu->setReferenceLevel(headRoomDb(controller.parameterValue(kEditorBuild.headRoomIndex)));
    vu = newVu;
    led = newLed;
    // The read-out lies over every view; where it can, it keeps off the meters and the other controls.
    auto* font = new CGlyphFont(skin(kSkinFontId), kSkinFontMetrics);
    readout = new ValueReadout(CRect(0, 0, kFaceWidth, kFaceHeight), font,
                               [this](const CControl& c) { return readoutText(c); });
    font->release();
    for (int32_t i = 0; i < into.getNbViews(); ++i) readout->avoid(into.getView(i)->getViewSize());
    into.addView(readout);
}

void TapedeckFace::releaseFrame() {
    CFrame* old = frame;
    frame = nullptr;
    if (!old) return;
    old->setEditor(&closedFace);
    for (int32_t i = 0; i < old->getNbViews(); ++i) {
        CView* view = old->getView(i);
        if (view->isTypeOf("CControl")) static_cast<CControl*>(view)->setListener(nullptr);
    }
    old->release();
}

void TapedeckFace::close() {
    if (frame) {
        controller.meterFeed().stop();
        // The meters read the controller's feed; they go now, even when the frame must outlive this close.
        frame->removeView(vu);
        frame->removeView(led);
    }
    vu = nullptr;
    led = nullptr;
    readout = nullptr;
    for (CControl*& c : controls) c = nullptr;
    closeSizeMenu();
    pendingScale = 0;
    releaseFrame();
    parentWindow = nullptr;
    // The frame has let its images go (or holds its own references while it finishes an event).
    if (openScale) SkinBitmaps::unuse(openScale);
    openScale = 0;
    // Last: the controller may close the face again or destroy it from inside one of these calls.
    endOpenGestures();
}

void TapedeckFace::forgetOpenGestures() {
    for (uint16_t& open : openGestures) open = 0;
}

void TapedeckFace::endOpenGestures() {
    for (int32_t i = 0; i < kParameterCount; ++i)
        while (openGestures[i] > 0) {
            --openGestures[i]; // counted off before the call, so a nested close does not end it again
            ControllerCall call(*this);
            controller.endEdit(i);
            if (call.destroyed()) return;
        }
}

void TapedeckFace::applyScale(int32_t percent) {
    pendingScale = 0;
    if (!frame || percent == scale) return;
    {
        ControllerCall call(*this);
        const bool resized =
            controller.canResizeWindow() &&
            controller.resizeWindow(toDevice(kFaceWidth, percent), toDevice(kFaceHeight, percent));
        if (call.destroyed() || !frame) return;
        // The host keeps its window: the new size waits for the next opening.
        if (!resized) return;
    }
    if (keepsWindow) {
        rescaleInPlace(percent);
        return;
    }
    // The new window is made by the window system of the old one.
    void* parent = parentWindow;
    platform::Backend& system = frame->getBackend();
    reopenScale = percent;
    ControllerCall call(*this);
    close();
    if (call.destroyed()) return;
    open(parent, &system);
}

void TapedeckFace::rescaleInPlace(int32_t percent) {
    closeSizeMenu();
    frame->setFocusView(nullptr);
    frame->removeAll();
    vu = nullptr;
    led = nullptr;
    readout = nullptr;
    for (CControl*& c : controls) c = nullptr;
    SkinBitmaps::use(percent);
    const int32_t previous = openScale;
    openScale = scale = percent;
    frame->setScale(percent);
    frame->setBackground(SkinBitmaps::get(kSkinBackgroundId, percent));
    addViews(*frame, percent);
    frame->setDirty(true);
    SkinBitmaps::unuse(previous);
}

int32_t TapedeckFace::menuLine(MenuCommand command) {
    return kEditorScaleCount + command;
}

bool TapedeckFace::openContextMenu(const CPoint& where) {
    if (!frame || sizeMenu) return false;
    std::vector<std::string> lines;
    int32_t marked = -1;
    for (int32_t i = 0; i < kEditorScaleCount; ++i) {
        lines.push_back(std::to_string(kEditorScales[i]) + " %");
        if (kEditorScales[i] == scale) marked = i;
    }
    lines.push_back("Undo   (Ctrl+Z)");
    lines.push_back("Redo   (Ctrl+Shift+Z)");
    lines.push_back(bActive ? "Compare A/B   (B active)" : "Compare A/B   (A active)");
    lines.push_back("Copy A to B");
    lines.push_back("Copy B to A");
    lines.push_back("Factory presets  >");
    lines.push_back("User presets  >");
    std::string note;
    {
        ControllerCall call(*this);
        const bool hostResizes = controller.canResizeWindow();
        if (call.destroyed() || !frame) return true;
        if (!hostResizes) note = "Sizes take effect when reopened";
    }
    menuAnchor = where;
    openMenu(
        where, std::move(lines), marked, [this](int32_t chosen) { menuChosen(chosen); }, note);
    return true;
}

void TapedeckFace::openMenu(const CPoint& where, std::vector<std::string> lines, int32_t marked,
                            std::function<void(int32_t)> chosen, std::string note) {
    auto* font = new CGlyphFont(SkinBitmaps::get(kSkinFontId, scale), kSkinFontMetrics);
    CRect area;
    frame->getViewSize(area);
    sizeMenu = new CPopupList(
        area, where, font, std::move(lines), marked,
        [this, chosen = std::move(chosen)](int32_t line) {
            // The menu goes first: a choice may open the next one.
            const auto then = chosen;
            closeSizeMenu();
            then(line);
        },
        note);
    font->release();
    frame->setFocusView(nullptr);
    frame->setModalView(sizeMenu);
}

void TapedeckFace::menuChosen(int32_t line) {
    if (line < 0) return;
    if (line < kEditorScaleCount) {
        chooseScale(kEditorScales[line]);
        return;
    }
    switch (line - kEditorScaleCount) {
    case kMenuUndo:
        undo();
        break;
    case kMenuRedo:
        redo();
        break;
    case kMenuCompare:
        compareAB();
        break;
    case kMenuCopyAToB:
        copyAToB();
        break;
    case kMenuCopyBToA:
        copyBToA();
        break;
    case kMenuFactory:
        openFactoryMenu();
        break;
    case kMenuUser:
        openUserMenu();
        break;
    default:
        break;
    }
}

void TapedeckFace::openFactoryMenu() {
    if (!frame) return;
    std::vector<std::string> lines;
    for (int32_t i = 0; i < kFactoryPresetCount; ++i) lines.push_back(kFactoryPresets[i].name);
    openMenu(menuAnchor, std::move(lines), -1, [this](int32_t chosen) { applyFactoryPreset(chosen); }, {});
}

void TapedeckFace::openUserMenu() {
    if (!frame) return;
    const std::filesystem::path folder = userPresetFolder();
    std::vector<std::filesystem::path> files = listUserPresets(folder);
    const bool dialogs = hasPresetFileDialogs();
    std::vector<std::string> lines;
    if (dialogs)
        lines = {"Save preset...", "Load preset...", "Show preset folder"};
    else
        lines = {"Save preset as \"" + nextUserPresetName(folder) + "\"", "Show preset folder"};
    const size_t listed = lines.size();
    // As many as the face's height holds; the folder has the rest.
    constexpr size_t kMostListed = 20;
    std::string note = files.empty() ? "No user presets saved yet" : std::string();
    if (files.size() > kMostListed) {
        note = std::to_string(files.size() - kMostListed) + " more in the preset folder";
        files.resize(kMostListed);
    }
    for (const std::filesystem::path& file : files) lines.push_back(file.stem().string());
    openMenu(
        menuAnchor, std::move(lines), -1,
        [this, folder, files, dialogs, listed](int32_t chosen) {
            if (chosen < 0) return;
            enum class Line { Save, Load, Show, File };
            const Line line = chosen == 0                                 ? Line::Save
                              : dialogs && chosen == 1                    ? Line::Load
                              : static_cast<size_t>(chosen) == listed - 1 ? Line::Show
                                                                          : Line::File;
            if (line == Line::Save) {
                std::filesystem::path file;
                if (dialogs) {
                    // The dialog runs the host's messages: the host may destroy the editor meanwhile.
                    ControllerCall call(*this);
                    file = askPresetFileToSave(parentWindow, folder, nextUserPresetName(folder));
                    if (call.destroyed() || file.empty()) return;
                }
                const std::filesystem::path saved = saveUserPreset(file);
                showMessage(saved.empty() ? "Preset not saved" : "Saved " + saved.stem().string());
            } else if (line == Line::Load) {
                ControllerCall call(*this);
                const std::filesystem::path file = askPresetFileToLoad(parentWindow, folder);
                if (!call.destroyed() && !file.empty()) loadPresetFile(file);
            } else if (line == Line::Show) {
                showFolder(folder);
            } else if (static_cast<size_t>(chosen) - listed < files.size()) {
                loadPresetFile(files[static_cast<size_t>(chosen) - listed]);
            }
        },
        note);
}

void TapedeckFace::closeSizeMenu() {
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

void TapedeckFace::idle() {
    if (inHostIdle || !frame) return;
    showPendingParameters();
    idleReadout();
    // Inside an event (a drag loop, a host calling back during an edit) the views stay: a size for a face
    // that keeps its window waits until the event is over.
    if (pendingScale && !(keepsWindow && controllerCalls)) {
        applyScale(pendingScale);
        if (!frame) return;
    }
    CFrame* current = frame;
    current->retain();
    current->idle();
    current->release();
}

void TapedeckFace::idleReadout() {
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

std::string TapedeckFace::readoutText(const CControl& c) {
    float values[kParameterCount];
    for (int32_t i = 0; i < kParameterCount; ++i) values[i] = controller.parameterValue(i);
    return ParameterUnits::of(kEditorBuild).format(c.getTag(), values, true);
}

bool TapedeckFace::onKeyDown(VstKeyCode& key) {
    if (!frame) return false;
    // Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo; an open menu keeps its keys.
    // Either case, as hosts differ with Shift held; some pass the control character itself (Ctrl+Z is 26).
    int32_t character = key.character | 0x20;
    if (key.character == 26 || key.character == 25) character = key.character == 26 ? 'z' : 'y';
    if ((key.modifier & MODIFIER_CONTROL) && key.virt == 0 && !frame->getModalView() &&
        (character == 'z' || character == 'y')) {
        if (character == 'z' && !(key.modifier & MODIFIER_SHIFT))
            undo();
        else
            redo();
        return true;
    }
    // A key edit reaches the host, which may close the face meanwhile: the frame stays until we return.
    CFrame* current = frame;
    const platform::BackendScope scope(current->getBackend());
    current->retain();
    const int32_t answer = current->onKeyDown(key);
    current->release();
    return answer == 1;
}

bool TapedeckFace::onKeyUp(VstKeyCode& key) {
    if (!frame) return false;
    CFrame* current = frame;
    const platform::BackendScope scope(current->getBackend());
    current->retain();
    const int32_t answer = current->onKeyUp(key);
    current->release();
    return answer == 1;
}

bool TapedeckFace::onWheel(float distance) {
    if (!frame) return false;
    CFrame* current = frame;
    const platform::BackendScope scope(current->getBackend());
    current->retain();
    CDrawContext* context = new CDrawContext(current, nullptr, parentWindow);
    CPoint where = current->getBackend().cursorPosition();
    where.offset(-context->offsetScreen.h, -context->offsetScreen.v);
    where = toLogical(where, current->getScale());
    const bool answer = current->onWheel(context, where, distance);
    context->release();
    current->release();
    return answer;
}

CControl* TapedeckFace::control(int32_t index) const {
    return static_cast<uint32_t>(index) < kParameterCount ? controls[index] : nullptr;
}

void TapedeckFace::beginEdit(int32_t index) {
    // Before the host hears of it: the host may close the face from inside the controller's call.
    if (readout && frame) readout->gestureBegan(control(index), frame->getTicks());
    if (index >= 0 && index < kParameterCount && openGestures[index] < UINT16_MAX) {
        // The value before the gesture: what its undo step restores.
        if (openGestures[index] == 0) gestureStart[index] = knownValid ? known[index] : kLeave;
        ++openGestures[index];
    }
    ControllerCall call(*this);
    controller.beginEdit(index);
}

void TapedeckFace::endEdit(int32_t index) {
    if (readout && frame) readout->gestureEnded(control(index), frame->getTicks());
    if (index >= 0 && index < kParameterCount) {
        // Already ended by a close in between (or never begun here): the host has had its endEdit.
        if (openGestures[index] == 0) return;
        --openGestures[index];
        // Recorded before the host hears of the end, which may destroy the face.
        if (openGestures[index] == 0 && knownValid && !std::isnan(gestureStart[index]) &&
            gestureStart[index] != known[index])
            history.record({{{index, gestureStart[index], known[index]}}, false});
    }
    ControllerCall call(*this);
    controller.endEdit(index);
}

void TapedeckFace::doIdleStuff() {
    platform::Backend& system = platform::backend();
    uint32_t now = system.tickCount();
    if (isBefore(now, nextIdleTicks)) {
        system.sleep(4);
        now += 4;
        if (isBefore(now, nextIdleTicks - 50)) return;
    }
    {
        ControllerCall call(*this);
        idle();
        if (call.destroyed()) return;
    }
    system.dispatchPendingPaint();

    inHostIdle = true;
    nextIdleTicks = now + 100;
    ControllerCall call(*this);
    controller.idleHost();
    if (call.destroyed()) return;
    inHostIdle = false;
}

void TapedeckFace::hostChanged(int32_t index) {
    if (static_cast<uint32_t>(index) >= kParameterCount) return;
    pendingParameters.fetch_or(1u << index, std::memory_order_release);
}

void TapedeckFace::showPendingParameters() {
    uint32_t pending = pendingParameters.exchange(0, std::memory_order_acquire);
    for (int32_t index = 0; pending; ++index, pending >>= 1)
        if (pending & 1u) {
            noteValue(index);
            showParameter(index);
        }
}

void TapedeckFace::noteValue(int32_t index) {
    if (!knownValid) return;
    const float value = controller.parameterValue(index);
    // The face's own edits were noted as it made them: a different value is the host's.
    if (value != known[index]) {
        history.endRedoBranch();
        known[index] = value;
    }
}

void TapedeckFace::readAll(float* values) {
    for (int32_t i = 0; i < kParameterCount; ++i) values[i] = controller.parameterValue(i);
}

std::vector<ParameterChange> TapedeckFace::setParameters(const float* values, bool& destroyed) {
    destroyed = false;
    std::vector<ParameterChange> changes;
    for (int32_t i = 0; i < kParameterCount; ++i) {
        if (std::isnan(values[i])) continue;
        const float before = controller.parameterValue(i);
        if (before == values[i]) continue;
        // Counted as open, so a close from inside the host's calls ends it once.
        if (openGestures[i] < UINT16_MAX) ++openGestures[i];
        {
            ControllerCall call(*this);
            controller.beginEdit(i);
            if (call.destroyed()) return destroyed = true, std::vector<ParameterChange>();
        }
        // Known before the host hears of it, so an idle pass inside its call takes it for ours.
        known[i] = values[i];
        {
            ControllerCall call(*this);
            controller.performEdit(i, values[i]);
            if (call.destroyed()) return destroyed = true, std::vector<ParameterChange>();
        }
        known[i] = controller.parameterValue(i);
        if (known[i] != before) changes.push_back({i, before, known[i]});
        showParameter(i);
        if (openGestures[i] > 0) {
            --openGestures[i];
            ControllerCall call(*this);
            controller.endEdit(i);
            if (call.destroyed()) return destroyed = true, std::vector<ParameterChange>();
        }
    }
    return changes;
}

void TapedeckFace::showMessage(const std::string& text) {
    if (readout && frame) readout->showMessage(text, frame->getTicks());
}

void TapedeckFace::catchUp() {
    // Host changes not yet shown end the redo branch before the face decides what to undo.
    if (!knownValid) {
        readAll(known);
        knownValid = true;
    }
    showPendingParameters();
}

bool TapedeckFace::undo() {
    catchUp();
    const EditStep* taken = history.undo();
    // A copy: a host change noted inside the host's calls may end the redo branch meanwhile.
    return taken && replay(EditStep(*taken), true);
}

bool TapedeckFace::redo() {
    catchUp();
    const EditStep* taken = history.redo();
    return taken && replay(EditStep(*taken), false);
}

bool TapedeckFace::replay(const EditStep& step, bool back) {
    float values[kParameterCount];
    std::fill(values, values + kParameterCount, kLeave);
    for (const ParameterChange& change : step.changes)
        values[change.index] = back ? change.before : change.after;
    if (step.swapsAB) {
        // The setting shown now becomes the other one again, whatever the host changed in it since.
        readAll(otherSetting);
        otherValid = true;
        bActive = !bActive;
    }
    bool destroyed = false;
    return !setParameters(values, destroyed).empty() || step.swapsAB;
}

bool TapedeckFace::applySetting(const float* values, const std::string& name, bool swapsAB) {
    catchUp();
    bool destroyed = false;
    std::vector<ParameterChange> changes = setParameters(values, destroyed);
    if (destroyed) return false;
    const bool changed = !changes.empty();
    history.record({std::move(changes), swapsAB});
    if (!name.empty()) showMessage(name);
    return changed;
}

bool TapedeckFace::applyPreset(const float* values, const std::string& name) {
    return applySetting(values, name);
}

bool TapedeckFace::applyFactoryPreset(int32_t index) {
    if (index < 0 || index >= kFactoryPresetCount) return false;
    return applySetting(kFactoryPresets[index].values, kFactoryPresets[index].name);
}

bool TapedeckFace::compareAB() {
    catchUp();
    float current[kParameterCount];
    readAll(current);
    if (!otherValid) std::copy(current, current + kParameterCount, otherSetting);
    float target[kParameterCount];
    std::copy(otherSetting, otherSetting + kParameterCount, target);
    // The shown setting becomes the other one before the swap reaches the host, which may close the face.
    std::copy(current, current + kParameterCount, otherSetting);
    otherValid = true;
    bActive = !bActive;
    applySetting(target, bActive ? "Setting B" : "Setting A", true);
    return true;
}

bool TapedeckFace::copyAToB() {
    catchUp();
    float current[kParameterCount];
    readAll(current);
    if (!bActive) {
        std::copy(current, current + kParameterCount, otherSetting);
        otherValid = true;
        showMessage("A copied to B");
        return true;
    }
    // B is shown: it takes A's values as an edit.
    return applySetting(otherValid ? otherSetting : current, "A copied to B");
}

bool TapedeckFace::copyBToA() {
    catchUp();
    float current[kParameterCount];
    readAll(current);
    if (bActive) {
        std::copy(current, current + kParameterCount, otherSetting);
        otherValid = true;
        showMessage("B copied to A");
        return true;
    }
    return applySetting(otherValid ? otherSetting : current, "B copied to A");
}

std::filesystem::path TapedeckFace::saveUserPreset(const std::filesystem::path& chosen) {
    std::filesystem::path file = chosen;
    if (file.empty()) {
        const std::filesystem::path folder = userPresetFolder();
        if (folder.empty()) return {};
        file = folder / (nextUserPresetName(folder) + ".fxp");
    }
    float values[kParameterCount];
    readAll(values);
    // The file's name is the preset's: what a host's own preset browser shows too.
    return writePresetFile(file, file.stem().string(), values) ? file : std::filesystem::path();
}

bool TapedeckFace::loadPresetFile(const std::filesystem::path& file) {
    float values[kParameterCount];
    std::string name, error;
    if (!readPresetFile(file, values, name, error)) {
        showMessage("Not loaded: " + error);
        return false;
    }
    return applySetting(values, name.empty() ? file.stem().string() : name);
}

void TapedeckFace::showParameter(int32_t index) {
    // The controller's stored, clamped value, not the one a control asked for.
    const float value = controller.parameterValue(index);
    if (CControl* c = controls[index]) c->setValue(value);
    if (index == kEditorBuild.headRoomIndex && vu) vu->setReferenceLevel(headRoomDb(value));
    if (index == kEditorBuild.vuHoldIndex) setVuHold(value > 0.5f);
}

void TapedeckFace::setVuHold(bool on) {
    if (!frame || !vu) return; // read again at the next opening
    vu->setHoldBitmap(on ? SkinBitmaps::get(kVuHoldNeedleId, openScale) : nullptr);
}

void TapedeckFace::valueChanged(CDrawContext* /*context*/, CControl* c) {
    if (!frame) return;
    const int32_t tag = c->getTag();
    if (static_cast<uint32_t>(tag) >= kParameterCount) return;
    {
        ControllerCall call(*this);
        controller.performEdit(tag, c->getValue());
        if (call.destroyed() || !frame) return;
    }
    known[tag] = controller.parameterValue(tag);
    // The stored value goes back into the control at once, and a change too small to move a knob's
    // pointer by a pixel is still drawn.
    showPendingParameters();
    showParameter(tag);
    c->setDirty(true);
    if (readout) readout->valueEdited(c, frame->getTicks());
}

} // namespace vr58
