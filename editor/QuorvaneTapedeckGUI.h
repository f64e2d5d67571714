// The editor of the VR58-G build: the 520 x 440 skin with nine knobs, six switches, the VU meter and the
// peak LED, bound to the effect's parameters in both directions.
#pragma once

#include "editor/AEffGUIEditor.h"
#include "engine/build_config.h"
#include "engine/parameter_listener.h"
#include "vstgui/ccontrollistener.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace VSTGUI {
class CControl;
}
namespace vr58 {
class MeterFeed;
}
class QuorvaneVU;
class QuorvanePeakLed;
class ValueReadout;

class QuorvaneTapedeckGUI : public AEffGUIEditor,
                            public VSTGUI::CControlListener,
                            public vr58::ParameterListener {
public:
    static constexpr int32_t kParameterCount = vr58::kEditorParameterCount;

    // The editor build's plug-in, right after the effect: meterFeed is the effect's, which the meters
    // read while the window is open.
    QuorvaneTapedeckGUI(AudioEffectX* effect, vr58::MeterFeed& meterFeed);
    ~QuorvaneTapedeckGUI() override;

    // Host user-interface thread (effEditOpen). A second open without a close moves the editor into the
    // new window; a null parent window opens nothing.
    bool open(void* parentWindow) override;
    // Host user-interface thread (effEditClose): the meters stop being fed and go before anything else.
    void close() override;
    // Host user-interface thread (effEditIdle): shows the changes noted since the last pass, then redraws.
    void idle() override;

    // Any thread, for every stored change (host, automation, chunk, the editor's own edits): noted
    // without touching a view; the user-interface thread shows it at its next idle pass.
    void setParameter(int32_t index, float value) override;
    // The controls, on the user-interface thread: a user edit becomes an automated parameter change.
    void valueChanged(VSTGUI::CDrawContext* context, VSTGUI::CControl* control) override;
    // User-interface thread: shows the VU's hold needle or takes it away.
    void setVuHold(bool on);
    // The frame, on the user-interface thread: a control's edit gesture, shown by the read-out too.
    void beginEdit(int32_t index) override;
    void endEdit(int32_t index) override;

    VSTGUI::CControl* control(int32_t index) const;
    QuorvaneVU* vuMeter() const { return vu; }
    QuorvanePeakLed* peakLed() const { return led; }
    ValueReadout* valueReadout() const { return readout; }

private:
    void showParameter(int32_t index);
    void showPendingParameters();
    void idleReadout();
    std::string readoutText(const VSTGUI::CControl& control) const;

    vr58::MeterFeed& meterFeed;
    VSTGUI::CControl* controls[kParameterCount] = {};
    QuorvaneVU* vu = nullptr;
    QuorvanePeakLed* led = nullptr;
    ValueReadout* readout = nullptr;
    std::atomic<uint32_t> pendingParameters{0};
    // The size whose skin images the open window uses, 0 while closed.
    int32_t openScale = 0;
};
