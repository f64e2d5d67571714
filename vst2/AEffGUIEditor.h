// The VST 2.4 editor over the face: the host's editor opcodes (open, close, idle, size, keys, wheel,
// knob mode, the scale hint) go to the face, and the face's edits reach the host as
// setParameterAutomated inside beginEdit/endEdit.
#pragma once

#include "editor/edit_controller.h"
#include "editor/tapedeck_face.h"
#include "vst2/AEffEditor.h"

#include <atomic>
#include <cstdint>

class AudioEffectX;

namespace VSTGUI {
class CFrame;
class CPopupList;
namespace platform {
class Backend;
}
} // namespace VSTGUI

class AEffGUIEditor : public AEffEditor, public vr58::EditController {
public:
    // Runs inside the effect's construction: registers itself as the effect's editor.
    explicit AEffGUIEditor(AudioEffectX* effect);
    // The effect's destruction; an open window is closed first.
    ~AEffGUIEditor() override;

    // Host user-interface thread (effEditOpen). A second open without a close moves the editor into the
    // new window; a null parent window opens nothing.
    bool open(void* parentWindow) override;
    // Host user-interface thread: opens the editor in parentWindow, a window of the window system
    // `system` (the platform's own, or the memory backend's headless windows); open() alone uses the
    // thread's or the process's backend. The frame keeps to that backend until it closes.
    bool openIn(void* parentWindow, VSTGUI::platform::Backend& system);
    // Host user-interface thread (effEditGetRect), also before the first opening.
    bool getRect(ERect** rect) override;
    // Host user-interface thread (effEditClose), and the effect's destruction on its thread. A gesture
    // still open is ended then, once, while the effect lives.
    void close() override;
    // Host user-interface thread (effEditIdle): the face's changes, events and redraws.
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

    // The face's edits, on the editor's user-interface thread: to the host.
    void beginEdit(int32_t index) override;
    void performEdit(int32_t index, float value) override;
    void endEdit(int32_t index) override;
    float parameterValue(int32_t index) override;
    bool canResizeWindow() override;
    bool resizeWindow(int32_t width, int32_t height) override;
    void idleHost() override;

    vr58::TapedeckFace& face() { return face_; }
    // The frame's drag loops idle window and host through the face.
    void doIdleStuff() { face_.doIdleStuff(); }
    int32_t getScale() const { return face_.getScale(); }
    void chooseScale(int32_t percent) { face_.chooseScale(percent); }
    VSTGUI::CPopupList* getSizeMenu() const { return face_.getSizeMenu(); }
    bool setNextOpeningScale(int32_t percent) { return face_.setNextOpeningScale(percent); }
    VSTGUI::CFrame* getFrame() const { return face_.getFrame(); }

    // The process's knob mode, shared with every face.
    static inline std::atomic<int32_t>& knobMode = vr58::TapedeckFace::knobMode;

protected:
    AudioEffectX* effectX;

private:
    ERect rect{};
    vr58::TapedeckFace face_;
};
