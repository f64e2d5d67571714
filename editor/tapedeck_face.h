// The VR58-G face on the GUI toolkit: the 520 x 440 skin with nine knobs, six switches, the VU meter, the
// peak LED and the value read-out, in five sizes. Its right-click menu picks a size, a factory or user
// preset, compares two settings (A/B) and undoes the face's own edits. It speaks to the host only through
// an EditController, so every plug-in format shows the same face.
#pragma once

#include "editor/edit_controller.h"
#include "editor/edit_history.h"
#include "engine/build_config.h"
#include "vstgui/ccontrollistener.h"
#include "vstgui/iframeeditor.h"
#include "vstgui/vstkeycode.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace VSTGUI {
class CControl;
class CFrame;
class CPopupList;
namespace platform {
class Backend;
}
} // namespace VSTGUI
class QuorvaneVU;
class QuorvanePeakLed;
class ValueReadout;

namespace vr58 {

class TapedeckFace final : public VSTGUI::IFrameEditor, public VSTGUI::CControlListener {
public:
    static constexpr int32_t kParameterCount = kEditorParameterCount;

    // Nothing of the controller is asked before the first opening.
    explicit TapedeckFace(EditController& controller);
    // An open window is closed first; gestures still open are not ended (the format is going away).
    ~TapedeckFace() override;
    TapedeckFace(const TapedeckFace&) = delete;
    TapedeckFace& operator=(const TapedeckFace&) = delete;

    // The host's user-interface thread: opens the face in parentWindow, a window of `system` (null: the
    // thread's or the process's backend), which the frame keeps to until it closes. A second open
    // without a close moves the face into the new window; a null parent opens nothing.
    bool open(void* parentWindow, VSTGUI::platform::Backend* system);
    // The user-interface thread: the meters stop being fed and go first; every gesture still open gets
    // its endEdit, last, as the controller may close or destroy the face from inside it.
    void close();
    bool isOpen() const { return frame != nullptr; }
    // The format is going away: gestures still open are dropped without their endEdit.
    void forgetOpenGestures();
    // The user-interface thread, often: shows the host's changes noted since the last pass, a size
    // chosen meanwhile, the read-out, then redraws.
    void idle();
    // The user-interface thread: a key or a wheel turn at the pointer the host passes on.
    bool onKeyDown(VSTGUI::VstKeyCode& key);
    bool onKeyUp(VSTGUI::VstKeyCode& key);
    bool onWheel(float distance);

    // Any thread: the host changed a parameter. Noted without touching a view; shown at the next idle.
    void hostChanged(int32_t index);

    // A size change while open: false reopens the face in a new window of the same parent (what VST 2.4
    // hosts expect), true resizes the frame's own window and keeps it (a window handed to the host for
    // the face's whole life).
    void setKeepsWindow(bool keep) { keepsWindow = keep; }
    // The size in use, in percent, and the window's device pixels at it; while closed the next opening's.
    int32_t getScale() const { return scale; }
    int32_t windowWidth() const;
    int32_t windowHeight() const;
    // While closed: reads again the size the next opening takes (a choice made meanwhile elsewhere).
    void refreshClosedScale();
    // The host's scale factor (1.5 for 150 %): taken unless the user chose a size.
    void setHostScaleFactor(float factor);
    // The user's choice of size: saved for every new face, shown at the next idle when the host can
    // resize its window (else at the next opening).
    void chooseScale(int32_t percent);
    // A size the next opening takes without choosing (a tool picturing the face at a size); false for a
    // size not offered.
    bool setNextOpeningScale(int32_t percent);

    // One mode for the process, shared by all faces and knobs: 0 circular, 1 relative circular, 2 linear.
    // Atomic, as faces of several instances may set and read it on different threads.
    static std::atomic<int32_t> knobMode;

    // IFrameEditor, on the frame's user-interface thread: a control's gesture begins and ends (shown by
    // the read-out, counted so that close ends it once), the drag loop's idle, the knob mode, the
    // right-click menu of sizes, a screen of another resolution.
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;
    void doIdleStuff() override;
    int32_t getKnobMode() const override { return knobMode.load(std::memory_order_relaxed); }
    bool openContextMenu(const VSTGUI::CPoint& where) override;
    void screenDpiChanged(int32_t dpi) override;
    // The controls, on the user-interface thread: a user edit goes to the controller.
    void valueChanged(VSTGUI::CDrawContext* context, VSTGUI::CControl* control) override;

    // The user-interface thread: the face's own commands, as the menu and the keys give them. Each sets
    // parameters as one begin/perform/end gesture per parameter that changes, and is one undo step
    // (undo and redo themselves excepted); false when nothing changed.
    bool undo();
    bool redo();
    // A/B: the setting not shown lives as long as the face (the plug-in instance in VST 2.4); it is never
    // part of the host's project.
    bool compareAB();
    bool copyAToB();
    bool copyBToA();
    bool isBActive() const { return bActive; }
    // Sets every parameter to `values` (normalised, the editor build's order); the read-out shows `name`.
    bool applyPreset(const float* values, const std::string& name);
    bool applyFactoryPreset(int32_t index);
    // Saves the current setting as a preset file: `file`, or in the user's folder under the next free
    // name ("User 1", ...). The file's path, or an empty path when it cannot be written.
    std::filesystem::path saveUserPreset(const std::filesystem::path& file = {});
    // Loads a preset file of either build; false (and nothing sent) when it cannot be read.
    bool loadPresetFile(const std::filesystem::path& file);
    const EditHistory& editHistory() const { return history; }

    // User-interface thread: shows the VU's hold needle or takes it away.
    void setVuHold(bool on);

    VSTGUI::CFrame* getFrame() const { return frame; }
    VSTGUI::CControl* control(int32_t index) const;
    QuorvaneVU* vuMeter() const { return vu; }
    QuorvanePeakLed* peakLed() const { return led; }
    ValueReadout* valueReadout() const { return readout; }
    // The menu open over the face (the main one or a preset list), or null.
    VSTGUI::CPopupList* getSizeMenu() const { return sizeMenu; }
    // The main menu's lines after the sizes, in order.
    enum MenuCommand : int32_t {
        kMenuUndo,
        kMenuRedo,
        kMenuCompare,
        kMenuCopyAToB,
        kMenuCopyBToA,
        kMenuFactory,
        kMenuUser,
        kMenuCommandCount
    };
    // The main menu's line of a command.
    static int32_t menuLine(MenuCommand command);

private:
    // Marks a call to the controller, which may destroy this face before it returns: afterwards, check
    // destroyed() before touching any member. While one runs, the face is inside an event.
    class ControllerCall {
    public:
        explicit ControllerCall(TapedeckFace& face);
        ~ControllerCall();
        ControllerCall(const ControllerCall&) = delete;
        ControllerCall& operator=(const ControllerCall&) = delete;
        bool destroyed() const { return face == nullptr; }

    private:
        friend class TapedeckFace;
        TapedeckFace* face;
        ControllerCall* outer;
    };

    int32_t chooseOpeningScale(void* parentWindow);
    // Makes the views of the layout at the frame's size and adds them, the read-out last.
    void addViews(VSTGUI::CFrame& into, int32_t size);
    // A size chosen while open, once the host's window agrees.
    void applyScale(int32_t percent);
    // The same frame and window at another size: its views made again from that size's images.
    void rescaleInPlace(int32_t percent);
    void releaseFrame();
    void closeSizeMenu();
    void openMenu(const VSTGUI::CPoint& where, std::vector<std::string> lines, int32_t marked,
                  std::function<void(int32_t)> chosen, std::string note);
    void menuChosen(int32_t line);
    void openFactoryMenu();
    void openUserMenu();
    // The values the face last knew; a difference is the host's change, which ends the redo branch.
    void noteHostChanges();
    // Sets the parameters that differ from `values` (NaN: leave), one gesture each; the changes made, or
    // nothing when the face went away meanwhile (destroyed set).
    std::vector<ParameterChange> setParameters(const float* values, bool& destroyed);
    // Sets a step's values from before it (back) or after it, swapping A and B again for a swap.
    bool replay(const EditStep& step, bool back);
    void readAll(float* values);
    void noteValue(int32_t index);
    void catchUp();
    // Sets the values as one undo step; the read-out shows `name`. False when nothing changed.
    bool applySetting(const float* values, const std::string& name, bool swapsAB = false);
    void showMessage(const std::string& text);
    void endOpenGestures();
    void showParameter(int32_t index);
    void showPendingParameters();
    void idleReadout();
    std::string readoutText(const VSTGUI::CControl& control);

    EditController& controller;
    VSTGUI::CFrame* frame = nullptr;
    void* parentWindow = nullptr;
    VSTGUI::CControl* controls[kParameterCount] = {};
    QuorvaneVU* vu = nullptr;
    QuorvanePeakLed* led = nullptr;
    ValueReadout* readout = nullptr;
    VSTGUI::CPopupList* sizeMenu = nullptr;
    std::atomic<uint32_t> pendingParameters{0};
    // Open gestures per parameter: a gesture never allocates.
    uint16_t openGestures[kParameterCount] = {};
    ControllerCall* controllerCalls = nullptr;

    EditHistory history;
    // Each parameter's value as the face last set or saw it, and at the start of an open gesture.
    float known[kParameterCount] = {};
    bool knownValid = false;
    float gestureStart[kParameterCount] = {};
    float otherSetting[kParameterCount] = {};
    bool otherValid = false;
    bool bActive = false;
    VSTGUI::CPoint menuAnchor;

    bool keepsWindow = false;
    int32_t scale = 100;
    // The size whose skin images the open window uses, 0 while closed.
    int32_t openScale = 0;
    float hostScaleFactor = 0;
    int32_t userScale = 0;
    // A size to show at the next idle (chosen in the menu or hinted by the host while open), or 0.
    int32_t pendingScale = 0;
    // The size an opening must take instead of choosing (a reopening at a new size), or 0.
    int32_t reopenScale = 0;
    uint32_t nextIdleTicks;
    bool inHostIdle = false;
};

} // namespace vr58
