#include "vst2/QuorvaneTapedeck.h"

#include "engine/vendor_requests.h"
#include "vst2/AEffEditor.h"
#include "vst2/text_copy.h"

using namespace vr58;

QuorvaneTapedeck::QuorvaneTapedeck(audioMasterCallback audioMaster, const BuildConfig& config)
    : QuorvaneFX(audioMaster, config) {
    cEffect.uniqueID = kUniqueId;
    cEffect.numInputs = 2;
    cEffect.numOutputs = 2;
    cEffect.flags |= effFlagsCanReplacing | effFlagsProgramChunks | effFlagsCanDoubleReplacing;
}

QuorvaneTapedeck::~QuorvaneTapedeck() {
    if (editor) editor->close();
}

bool QuorvaneTapedeck::getEffectName(char* name) {
    copyText(name, buildConfig().productName, kVstMaxEffectNameLen);
    return true;
}

bool QuorvaneTapedeck::getProductString(char* text) {
    copyText(text, buildConfig().productName, kVstMaxProductStrLen);
    return true;
}

bool QuorvaneTapedeck::setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) {
    if (!input || !output) return false;
    tapeEffect().setMono(input->numChannels == 1 && output->numChannels == 1);
    return input->numChannels == output->numChannels && (input->numChannels == 1 || input->numChannels == 2);
}

intptr_t QuorvaneTapedeck::vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) {
    if (index != vendor::kIndex || value != vendor::kSetNoiseSeed)
        return QuorvaneFX::vendorSpecific(index, value, ptr, opt);
    if (!ptr) return 0;
    tapeEffect().setNoiseSeed(*static_cast<const uint32_t*>(ptr));
    return 1;
}

// Host audio thread.
void QuorvaneTapedeck::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    tapeEffect().process(inputs, outputs, sampleFrames);
}

void QuorvaneTapedeck::processDoubleReplacing(double** inputs, double** outputs, int32_t sampleFrames) {
    tapeEffect().process(inputs, outputs, sampleFrames);
}
