#include "vst2/QuorvaneTapedeckGUI.h"

QuorvaneTapedeckGUI::QuorvaneTapedeckGUI(AudioEffectX* effect, vr58::MeterFeed& meterFeed)
    : AEffGUIEditor(effect), feed(meterFeed) {}

QuorvaneTapedeckGUI::~QuorvaneTapedeckGUI() {
    // The face reads the meter feed through this class while it closes.
    QuorvaneTapedeckGUI::close();
}

void QuorvaneTapedeckGUI::setParameter(int32_t index, float /*value*/) {
    face().hostChanged(index);
}
