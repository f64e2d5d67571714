#include "shell/QuorvaneFX.h"

#include "shell/AEffEditor.h"
#include "shell/parameter_listener.h"
#include "shell/text_copy.h"

#include <cmath>
#include <cstring>

namespace {
// NaN fails both comparisons; storing it would poison every filter state for good, so it becomes 0.
float clampNormalised(float value) {
    if (!(value >= 0.0f)) return 0.0f;
    if (value > 1.0f) return 1.0f;
    return value;
}

void writeLittleEndianFloat(unsigned char* out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int byte = 0; byte < 4; ++byte) out[byte] = static_cast<unsigned char>(bits >> (8 * byte));
}

float readLittleEndianFloat(const unsigned char* in) {
    uint32_t bits = 0;
    for (int byte = 0; byte < 4; ++byte) bits |= static_cast<uint32_t>(in[byte]) << (8 * byte);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
} // namespace

QuorvaneFX::QuorvaneFX(audioMasterCallback audioMaster, uint16_t parameterCount)
    : AudioEffectX(audioMaster, 0, parameterCount), parameterEntries(new ParameterEntry[parameterCount]()),
      parameterCount(parameterCount), chunkBuffer(new unsigned char[4u * parameterCount]()) {}

QuorvaneFX::~QuorvaneFX() {
    delete[] parameterEntries;
}

void QuorvaneFX::loadParameterTable(const vr58::ParameterDefinition* table) {
    for (uint16_t i = 0; i < parameterCount; ++i)
        parameterEntries[i] = ParameterEntry{table[i].name, table[i].label, table[i].defaultValue};
}

void QuorvaneFX::setSampleRate(float newRate) {
    // Zero, negative and non-finite rates would turn every coefficient into NaN: keep the last good one.
    if (!(newRate > 0.0f) || !std::isfinite(newRate)) return;
    AudioEffect::setSampleRate(newRate);
    sampleRateChanged(newRate);
}

float QuorvaneFX::storeParameter(int32_t index, float value) {
    const float stored = clampNormalised(value);
    parameterEntries[index].value = stored;
    parameterChanged(index, stored);
    if (auto* listener = dynamic_cast<vr58::ParameterListener*>(editor))
        listener->setParameter(index, stored);
    return stored;
}

void QuorvaneFX::setParameter(int32_t index, float value) {
    if (isParameterIndex(index)) storeParameter(index, value);
}

float QuorvaneFX::getParameter(int32_t index) {
    return isParameterIndex(index) ? parameterEntries[index].value : 0.0f;
}

void QuorvaneFX::getProgramName(char* name) {
    vr58::copyText(name, "Default", kVstMaxProgNameLen);
}

void QuorvaneFX::getParameterLabel(int32_t index, char* label) {
    if (isParameterIndex(index)) vr58::copyText(label, parameterEntries[index].label, kVstMaxParamStrLen);
}

void QuorvaneFX::getParameterDisplay(int32_t index, char* text) {
    if (isParameterIndex(index)) float2string(parameterEntries[index].value, text, kVstMaxParamStrLen);
}

void QuorvaneFX::getParameterName(int32_t index, char* text) {
    if (isParameterIndex(index)) vr58::copyText(text, parameterEntries[index].name, kVstMaxParamStrLen);
}

int32_t QuorvaneFX::getChunk(void** data, bool /*isPreset*/) {
    if (parameterCount == 0) return 0;
    for (uint16_t i = 0; i < parameterCount; ++i)
        writeLittleEndianFloat(&chunkBuffer[4u * i], parameterEntries[i].value);
    *data = chunkBuffer.get();
    return 4 * parameterCount;
}

int32_t QuorvaneFX::setChunk(void* data, int32_t byteSize, bool /*isPreset*/) {
    // A shorter chunk (the other build's, which shares our unique ID) restores what it holds and no more.
    if (!data || byteSize <= 0) return 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    const int32_t present = byteSize / 4 < parameterCount ? byteSize / 4 : parameterCount;
    for (int32_t i = 0; i < present; ++i) storeParameter(i, readLittleEndianFloat(&bytes[4 * i]));
    return 0;
}

bool QuorvaneFX::getVendorString(char* text) {
    vr58::copyText(text, "Quorvane", kVstMaxVendorStrLen);
    return true;
}

int32_t QuorvaneFX::canDo(char* text) {
    for (uint16_t i = 0; i < canDoCount; ++i)
        if (std::strcmp(text, canDoList[i]) == 0) return 1;
    return -1;
}
