// The editor of the VR58-G build in a VST 2.4 host: the face over the effect's parameters and meter feed,
// told of every stored change.
#pragma once

#include "vst2/AEffGUIEditor.h"
#include "engine/parameter_listener.h"

#include <cstdint>

namespace VSTGUI {
class CControl;
}
namespace vr58 {
class MeterFeed;
}
class QuorvaneVU;
class QuorvanePeakLed;
class ValueReadout;

class QuorvaneTapedeckGUI : public AEffGUIEditor, public vr58::ParameterListener {
public:
    static constexpr int32_t kParameterCount = vr58::TapedeckFace::kParameterCount;

    // The editor build's plug-in, right after the effect: meterFeed is the effect's, which the meters
    // read while the window is open.
    QuorvaneTapedeckGUI(AudioEffectX* effect, vr58::MeterFeed& meterFeed);
    ~QuorvaneTapedeckGUI() override;

    // Any thread, for every stored change (host, automation, chunk, the editor's own edits): noted
    // without touching a view; the user-interface thread shows it at its next idle pass.
    void setParameter(int32_t index, float value) override;
    vr58::MeterFeed& meterFeed() override { return feed; }

    void setVuHold(bool on) { face().setVuHold(on); }
    VSTGUI::CControl* control(int32_t index) { return face().control(index); }
    QuorvaneVU* vuMeter() { return face().vuMeter(); }
    QuorvanePeakLed* peakLed() { return face().peakLed(); }
    ValueReadout* valueReadout() { return face().valueReadout(); }

private:
    vr58::MeterFeed& feed;
};
