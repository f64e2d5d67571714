// The editor base bound to the GUI toolkit: the size the host asks for, the frame that holds the window
// contents while the editor is open, idle handling for the host and for the controls' drag loops, and
// host keys, wheel turns and the knob mode handed to the frame.
#pragma once

#include "vst2/AEffEditor.h"
#include "vstgui/iframeeditor.h"

#include <atomic>
#include <cstdint>
#include <memory>

class AudioEffectX;

namespace VSTGUI {
class CBitmap;
class CFrame;
class CPopupList;
namespace platform {
class Backend;
}
} // namespace VSTGUI

class AEffGUIEditor : public AEffEditor, public VSTGUI::IFrameEditor {
public:
    // Runs inside the effect's construction: registers itself as the effect's editor. The face is
    // faceWidth x faceHeight logical pixels, its window that times the size in use.
    AEffGUIEditor(AudioEffectX* effect, int32_t backgroundId, int32_t faceWidth, int32_t faceHeight);
    // The effect's destruction; an open window is closed first.
    ~AEffGUIEditor() override;

    // Host user-interface thread: opens the editor in parentWindow, a window of the window system
    // `system` (the platform's own, or the memory backend's headless windows); open() alone uses the
    // thread's or the process's backend. The frame keeps to that backend until it closes.
    bool openIn(void* parentWindow, VSTGUI::platform::Backend& system);

    // Host user-interface thread (effEditGetRect), also before the first opening.
    bool getRect(ERect** rect) override;
    // Host user-interface thread (effEditClose), and the effect's destruction on its thread.
    void close() override;
    // Host user-interface thread (effEditIdle): the frame's events and redraws, under its own backend.
    void idle() override;
    // Host user-interface thread (effEditKeyDown), under the frame's backend.
    bool onKeyDown(VstKeyCode& keyCode) override;
    // Host user-interface thread (effEditKeyUp), under the frame's backend.
    bool onKeyUp(VstKeyCode& keyCode) override;
    // Host user-interface thread: a wheel turn at the pointer, under the frame's backend.
    bool onWheel(float distance) override;
    // Any host thread (effSetEditKnobMode): the process's one mode, atomic.
    bool setKnobMode(int32_t mode) override;
    // The host's scale hint ('PreS' / 'AeCs', the factor in opt): used unless the user chose a size.
    intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) override;
    void effectClosing() override;

    // The frame, on the editor's user-interface thread: a control starts an edit gesture (to the host). A
    // gesture still open when the editor closes is ended then, once, while the effect lives.
    void beginEdit(int32_t index) override;
    // The frame, on the editor's user-interface thread: the gesture ends.
    void endEdit(int32_t index) override;
    // The frame, on the editor's user-interface thread, from a control's drag loop: idles window and host.
    void doIdleStuff() override;
    // Any thread: the process's knob mode.
    int32_t getKnobMode() const override { return knobMode.load(std::memory_order_relaxed); }
    // A right-click on the face: the menu of sizes.
    bool openContextMenu(const VSTGUI::CPoint& where) override;
    // The window moved to a screen of another resolution: followed unless the user or the host chose.
    void screenDpiChanged(int32_t dpi) override;

    // The size in use, in percent; the one the next opening takes while the editor is closed.
    int32_t getScale() const { return scale; }
    // The user's choice of size: saved for every new editor, and shown at the next idle when the host
    // can resize its window (else at the next opening).
    void chooseScale(int32_t percent);
    VSTGUI::CPopupList* getSizeMenu() const { return sizeMenu; }
    // A size the next opening takes without choosing (a tool picturing the editor at a size); false for
    // a size not offered.
    bool setNextOpeningScale(int32_t percent);
    VSTGUI::CFrame* getFrame() const { return frame; }

    // One mode for the process, shared by all editors and knobs: 0 circular, 1 relative circular, 2 linear.
    // Atomic, as editors of several instances may set and read it on different threads.
    static std::atomic<int32_t> knobMode;

protected:
    // Marks a stretch of code that calls the host, which may destroy this editor (effClose from inside
    // audioMasterIdle or audioMasterAutomate) before the call returns: afterwards, check
    // editorDestroyed() before touching any member.
    class HostCallScope {
    public:
        explicit HostCallScope(AEffGUIEditor& editor);
        ~HostCallScope();
        HostCallScope(const HostCallScope&) = delete;
        HostCallScope& operator=(const HostCallScope&) = delete;
        bool editorDestroyed() const { return editor == nullptr; }

    private:
        friend class AEffGUIEditor;
        AEffGUIEditor* editor;
        HostCallScope* outer;
    };

    // Makes the window contents in the host's window: a frame of the background image's size showing it.
    // The frame becomes visible to the rest of the editor only through adoptFrame, once all views exist.
    VSTGUI::CFrame* createFrame(void* parentWindow, VSTGUI::CBitmap* background, int32_t scalePercent);
    void adoptFrame(VSTGUI::CFrame* newFrame) { frame = newFrame; }
    // Lets the frame go. When the frame is still handling an event (the host closed the editor from
    // inside a drag loop) it lives on, detached from the editor and its controls, until that returns.
    void releaseFrame();
    // The size for an opening in parentWindow: the user's saved choice, the host's hint, the screen's
    // resolution, or 100 %. Also what getRect reports from then on.
    int32_t chooseOpeningScale(void* parentWindow);
    // A size chosen while open: asks the host for the window size and opens again at the new size.
    void applyScale(int32_t percent);
    void closeSizeMenu();
    void setRectFor(int32_t percent);

    AudioEffectX* effectX;
    int32_t backgroundId;
    // The window system openIn asked for, while the opening runs.
    VSTGUI::platform::Backend* openingSystem = nullptr;
    ERect rect{};
    uint32_t nextIdleTicks;
    bool inHostIdle = false;
    VSTGUI::CFrame* frame = nullptr;
    int32_t faceWidth;
    int32_t faceHeight;
    int32_t scale = 100;
    float hostScaleFactor = 0;
    int32_t userScale = 0;
    // A size to show at the next idle (chosen in the menu or hinted by the host while open), or 0.
    int32_t pendingScale = 0;
    // The size an opening must take instead of choosing (a reopening at a new size), or 0.
    int32_t reopenScale = 0;
    VSTGUI::CPopupList* sizeMenu = nullptr;

private:
    // Sends endEdit for every gesture still open; stops where the host destroys the effect meanwhile.
    void endOpenGestures();

    HostCallScope* hostCalls = nullptr;
    // Open gestures per parameter index, made with the editor so that a gesture never allocates.
    std::unique_ptr<uint16_t[]> openGestures;
    int32_t gestureSlots = 0;
};
