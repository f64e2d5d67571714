// The editor of the VR58-G build: the 520 x 440 skin with the tape machine's controls and meters, bound
// to the effect's parameters in both directions.
#pragma once

#include "editor/AEffGUIEditor.h"
#include "shell/parameter_listener.h"
#include "vstgui/ccontrollistener.h"

#include <atomic>
#include <cstdint>

namespace VSTGUI {
class CControl;
}

class QuorvaneTapedeckGUI : public AEffGUIEditor,
                            public VSTGUI::CControlListener,
                            public vr58::ParameterListener {
public:
    static constexpr int32_t kParameterCount = 15;

    // The tape effect's construction, as its last step.
    explicit QuorvaneTapedeckGUI(AudioEffectX* effect);
    ~QuorvaneTapedeckGUI() override;

    // Host user-interface thread. A second open without a close moves the editor into the new window;
    // a null parent window opens nothing.
    bool open(void* parentWindow) override;
    void close() override;
    // Shows the parameter changes that arrived since the last pass, then redraws what is dirty.
    void idle() override;

    // Any thread, for every stored change (host, automation, chunk, the editor's own edits): noted
    // without touching a view, and shown by the user-interface thread's next idle pass.
    void setParameter(int32_t index, float value) override;
    // The controls, on the user-interface thread: a user edit becomes an automated parameter change.
    void valueChanged(VSTGUI::CDrawContext* context, VSTGUI::CControl* control) override;

    VSTGUI::CControl* control(int32_t index) const;

private:
    void showParameter(int32_t index);
    void showPendingParameters();

    VSTGUI::CControl* controls[kParameterCount] = {};
    std::atomic<uint32_t> pendingParameters{0};
};
