// The maker's effect base: the parameter store with its clamping, the parameter texts, identity
// strings, the state chunk, and the two hooks through which the concrete effect learns of changes.
#pragma once

#include "shell/AudioEffectX.h"
#include "shell/build_config.h"

#include <memory>

struct ParameterEntry {
    const char* name;
    const char* label;
    float value;
};

class QuorvaneFX : public AudioEffectX {
public:
    QuorvaneFX(audioMasterCallback audioMaster, uint16_t parameterCount);
    ~QuorvaneFX() override;

    void setSampleRate(float newRate) override;
    // Any host thread, and the editor's thread for user edits; runs the hook on the calling thread.
    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void getProgramName(char* name) override;
    void getParameterLabel(int32_t index, char* label) override;
    void getParameterDisplay(int32_t index, char* text) override;
    void getParameterName(int32_t index, char* text) override;
    int32_t getChunk(void** data, bool isPreset) override;
    int32_t setChunk(void* data, int32_t byteSize, bool isPreset) override;
    bool getVendorString(char* text) override;
    int32_t canDo(char* text) override;

    virtual void sampleRateChanged(float /*sampleRate*/) {}
    virtual void parameterChanged(int32_t /*index*/, float /*value*/) {}

protected:
    // Copies names, labels and defaults into the store; no hook runs for this initial filling.
    void loadParameterTable(const vr58::ParameterDefinition* table);
    bool isParameterIndex(int32_t index) const { return index >= 0 && index < parameterCount; }
    float storeParameter(int32_t index, float value);

    const char* const* canDoList = nullptr;
    ParameterEntry* parameterEntries;
    uint16_t parameterCount;
    uint16_t canDoCount = 0;

private:
    // One chunk buffer per effect, made once, so saving state never allocates and never leaks.
    std::unique_ptr<unsigned char[]> chunkBuffer;
};
