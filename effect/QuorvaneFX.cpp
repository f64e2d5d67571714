#include "effect/QuorvaneFX.h"

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

// Values are read by the audio thread while host threads write them: every access is one relaxed atomic
// load or store of the whole float, so no reader sees a value half written.
float loadValue(const float& value) {
    float out;
    __atomic_load(&value, &out, __ATOMIC_RELAXED);
    return out;
}

void storeValue(float& value, float newValue) {
    __atomic_store(&value, &newValue, __ATOMIC_RELAXED);
}

// The chunk word whose bytes in memory are the value's little-endian IEEE-754 single.
uint32_t littleEndianWord(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    bits = __builtin_bswap32(bits);
#endif
    return bits;
}

thread_local const char tChunkSaverKey = 0;

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
      parameterCount(parameterCount), chunkWords(new uint32_t[kChunkSlots * parameterCount]()) {}

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
    storeValue(parameterEntries[index].value, stored);
    parameterChanged(index, stored);
    if (auto* listener = dynamic_cast<vr58::ParameterListener*>(editor))
        listener->setParameter(index, stored);
    return stored;
}

void QuorvaneFX::setParameter(int32_t index, float value) {
    if (isParameterIndex(index)) storeParameter(index, value);
}

float QuorvaneFX::getParameter(int32_t index) {
    return isParameterIndex(index) ? loadValue(parameterEntries[index].value) : 0.0f;
}

void QuorvaneFX::getProgramName(char* name) {
    vr58::copyText(name, "Default", kVstMaxProgNameLen);
}

void QuorvaneFX::getParameterLabel(int32_t index, char* label) {
    if (isParameterIndex(index)) vr58::copyText(label, parameterEntries[index].label, kVstMaxParamStrLen);
}

void QuorvaneFX::getParameterDisplay(int32_t index, char* text) {
    if (isParameterIndex(index))
        float2string(loadValue(parameterEntries[index].value), text, kVstMaxParamStrLen);
}

void QuorvaneFX::getParameterName(int32_t index, char* text) {
    if (isParameterIndex(index)) vr58::copyText(text, parameterEntries[index].name, kVstMaxParamStrLen);
}

uint32_t* QuorvaneFX::chunkSlotOfThisThread() {
    const void* key = &tChunkSaverKey;
    for (int slot = 0; slot < kChunkSlots; ++slot)
        if (chunkSlotOwners[slot].load(std::memory_order_relaxed) == key)
            return &chunkWords[slot * parameterCount];
    for (int slot = 0; slot < kChunkSlots; ++slot) {
        const void* unowned = nullptr;
        if (chunkSlotOwners[slot].compare_exchange_strong(unowned, key, std::memory_order_relaxed))
            return &chunkWords[slot * parameterCount];
    }
    // More live saving threads than slots: they share the last one, still written a whole value at a time.
    return &chunkWords[(kChunkSlots - 1) * parameterCount];
}

int32_t QuorvaneFX::getChunk(void** data, bool /*isPreset*/) {
    if (parameterCount == 0) return 0;
    uint32_t* words = chunkSlotOfThisThread();
    for (uint16_t i = 0; i < parameterCount; ++i)
        __atomic_store_n(&words[i], littleEndianWord(loadValue(parameterEntries[i].value)), __ATOMIC_RELAXED);
    *data = words;
    return 4 * parameterCount;
}

void QuorvaneFX::acceptSiblingChunks(const vr58::ParameterDefinition* table, uint16_t count) {
    siblingTable = table;
    siblingCount = count;
}

void QuorvaneFX::restoreSiblingChunk(const unsigned char* bytes) {
    for (uint16_t i = 0; i < parameterCount; ++i)
        for (uint16_t j = 0; j < siblingCount; ++j)
            if (std::strcmp(parameterEntries[i].name, siblingTable[j].name) == 0)
                storeParameter(i, readLittleEndianFloat(&bytes[4u * j]));
}

int32_t QuorvaneFX::setChunk(void* data, int32_t byteSize, bool /*isPreset*/) {
    if (!data || byteSize <= 0) return 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (siblingTable && siblingCount != parameterCount && byteSize == 4 * siblingCount) {
        restoreSiblingChunk(bytes);
        return 0;
    }
    // Any other shorter chunk restores what it holds and no more.
    const int32_t present = byteSize / 4 < parameterCount ? byteSize / 4 : parameterCount;
    for (int32_t i = 0; i < present; ++i) storeParameter(i, readLittleEndianFloat(&bytes[4 * i]));
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
