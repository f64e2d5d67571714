#include "vst2/QuorvaneTapedeckGUI.h"

#include "vst2/QuorvaneFX.h"

QuorvaneTapedeckGUI::QuorvaneTapedeckGUI(AudioEffectX* effect, vr58::MeterFeed& meterFeed)
    : AEffGUIEditor(effect), feed(meterFeed) {
    // Every effect this editor is made for is the VST 2.4 adapter, which tells its listener of stored values.
    if (effect) static_cast<QuorvaneFX*>(effect)->setParameterListener(this);
}

// The effect deletes its editor in its own destruction, when no value can be stored any more: the
// listener needs no unregistering (and the effect is no QuorvaneFX by then).
QuorvaneTapedeckGUI::~QuorvaneTapedeckGUI() {
    // The face reads the meter feed through this class while it closes.
    QuorvaneTapedeckGUI::close();
}

void QuorvaneTapedeckGUI::setParameter(int32_t index, float /*value*/) {
    face().hostChanged(index);
}
