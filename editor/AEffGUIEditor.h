// The editor base bound to the GUI toolkit: the size the host asks for, the frame that holds the window
// contents while the editor is open, idle handling for the host and for the controls' drag loops, and
// host keys, wheel turns and the knob mode handed to the frame.
#pragma once

#include "shell/AEffEditor.h"
#include "vstgui/iframeeditor.h"

#include <cstdint>
#include <memory>

class AudioEffectX;

namespace VSTGUI {
class CBitmap;
class CFrame;
} // namespace VSTGUI

class AEffGUIEditor : public AEffEditor, public VSTGUI::IFrameEditor {
public:
    // Runs inside the effect's construction: registers itself as the effect's editor and takes its size
    // from the background skin image.
    AEffGUIEditor(AudioEffectX* effect, int32_t backgroundId);
    // The effect's destruction; an open window is closed first.
    ~AEffGUIEditor() override;

    // Host user-interface thread, through the dispatcher.
    bool getRect(ERect** rect) override;
    void close() override;
    void idle() override;
    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;
    bool onWheel(float distance) override;
    bool setKnobMode(int32_t mode) override;
    void effectClosing() override;

    // The frame, on the user-interface thread: edit gestures go to the host, and a control's drag loop
    // keeps the window and the host alive. A gesture still open when the editor closes is ended then,
    // once, while the effect lives.
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;
    void doIdleStuff() override;
    int32_t getKnobMode() const override { return knobMode; }

    VSTGUI::CFrame* getFrame() const { return frame; }

    // Shared by all editors and knobs of the module: 0 circular, 1 relative circular, 2 linear.
    static int32_t knobMode;

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
    VSTGUI::CFrame* createFrame(void* parentWindow, VSTGUI::CBitmap* background);
    void adoptFrame(VSTGUI::CFrame* newFrame) { frame = newFrame; }
    // Lets the frame go. When the frame is still handling an event (the host closed the editor from
    // inside a drag loop) it lives on, detached from the editor and its controls, until that returns.
    void releaseFrame();

    AudioEffectX* effectX;
    int32_t backgroundId;
    ERect rect{};
    uint32_t nextIdleTicks;
    bool inHostIdle = false;
    VSTGUI::CFrame* frame = nullptr;

private:
    // Sends endEdit for every gesture still open; stops where the host destroys the effect meanwhile.
    void endOpenGestures();

    HostCallScope* hostCalls = nullptr;
    // Open gestures per parameter index, made with the editor so that a gesture never allocates.
    std::unique_ptr<uint16_t[]> openGestures;
    int32_t gestureSlots = 0;
};
