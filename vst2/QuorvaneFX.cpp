#include "vst2/QuorvaneFX.h"

#include "engine/parameter_listener.h"
#include "vst2/text_copy.h"

#include <cstring>

// The tape effect's chunk restore tells every stored value to this, which passes it on as storeParameter
// would: the hook first, then the registered listener.
class QuorvaneFX::StoredValueRelay final : public vr58::ParameterListener {
public:
    explicit StoredValueRelay(QuorvaneFX& fx) : fx(fx) {}
    void setParameter(int32_t index, float value) override {
        fx.parameterChanged(index, value);
        if (auto* listener = fx.parameterListener.load(std::memory_order_acquire))
            listener->setParameter(index, value);
    }

private:
    QuorvaneFX& fx;
};

QuorvaneFX::QuorvaneFX(audioMasterCallback audioMaster, const vr58::BuildConfig& build)
    : AudioEffectX(audioMaster, 0, build.parameterCount), parameterCount(build.parameterCount), tape(build) {}

QuorvaneFX::~QuorvaneFX() = default;

void QuorvaneFX::setSampleRate(float newRate) {
    if (!tape.setSampleRate(newRate)) return;
    AudioEffect::setSampleRate(newRate);
    sampleRateChanged(newRate);
}

float QuorvaneFX::storeParameter(int32_t index, float value) {
    const float stored = tape.setParameter(index, value);
    StoredValueRelay(*this).setParameter(index, stored);
    return stored;
}

void QuorvaneFX::setParameter(int32_t index, float value) {
    if (isParameterIndex(index)) storeParameter(index, value);
}

float QuorvaneFX::getParameter(int32_t index) {
    return tape.parameter(index);
}

void QuorvaneFX::getProgramName(char* name) {
    vr58::copyText(name, "Default", kVstMaxProgNameLen);
}

void QuorvaneFX::getParameterLabel(int32_t index, char* label) {
    if (isParameterIndex(index))
        vr58::copyText(label, tape.build().parameters[index].label, kVstMaxParamStrLen);
}

void QuorvaneFX::getParameterDisplay(int32_t index, char* text) {
    if (isParameterIndex(index)) float2string(tape.parameter(index), text, kVstMaxParamStrLen);
}

void QuorvaneFX::getParameterName(int32_t index, char* text) {
    if (isParameterIndex(index))
        vr58::copyText(text, tape.build().parameters[index].name, kVstMaxParamStrLen);
}

int32_t QuorvaneFX::getChunk(void** data, bool /*isPreset*/) {
    return tape.getChunk(data);
}

int32_t QuorvaneFX::setChunk(void* data, int32_t byteSize, bool /*isPreset*/) {
    StoredValueRelay relay(*this);
    tape.setChunk(data, byteSize, &relay);
    return 0;
}

bool QuorvaneFX::getVendorString(char* text) {
    vr58::copyText(text, vr58::kVendorName, kVstMaxVendorStrLen);
    return true;
}

int32_t QuorvaneFX::canDo(char* text) {
    for (uint16_t i = 0; i < canDoCount; ++i)
        if (std::strcmp(text, canDoList[i]) == 0) return 1;
    return -1;
}
