// The maker's effect base: the parameter store with its clamping, the parameter texts, identity
// strings, the state chunk, and the two hooks through which the concrete effect learns of changes.
#pragma once

#include "effect/build_config.h"
#include "shell/AudioEffectX.h"

#include <atomic>
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

    // Any host thread (effSetSampleRate), also during a process call; runs the hook there.
    void setSampleRate(float newRate) override;
    // Any host thread, and the editor's thread for user edits; runs the hook on the calling thread.
    void setParameter(int32_t index, float value) override;
    // Any host thread; reads only.
    float getParameter(int32_t index) override;
    // Host control or user-interface thread; reads only.
    void getProgramName(char* name) override;
    // Host control or user-interface thread; reads only.
    void getParameterLabel(int32_t index, char* label) override;
    // Host control or user-interface thread; reads only.
    void getParameterDisplay(int32_t index, char* text) override;
    // Host control or user-interface thread; reads only.
    void getParameterName(int32_t index, char* text) override;
    // Any host thread; two threads may save at once, each gets a snapshot nobody else writes into.
    int32_t getChunk(void** data, bool isPreset) override;
    // Any host thread; runs the hook once per parameter on that thread.
    int32_t setChunk(void* data, int32_t byteSize, bool isPreset) override;
    // Any host thread; reads only.
    bool getVendorString(char* text) override;
    // Any host thread; reads only.
    int32_t canDo(char* text) override;

    // The thread that set the rate (any host thread, also during a process call); must not block.
    virtual void sampleRateChanged(float /*sampleRate*/) {}
    // The thread that stored the value (the audio thread under automation); must not allocate or lock.
    virtual void parameterChanged(int32_t /*index*/, float /*value*/) {}

protected:
    // Copies names, labels and defaults into the store; no hook runs for this initial filling.
    void loadParameterTable(const vr58::ParameterDefinition* table);
    bool isParameterIndex(int32_t index) const { return index >= 0 && index < parameterCount; }
    float storeParameter(int32_t index, float value);
    // The other build shares our unique ID, so hosts hand us its chunks: one of exactly its size is read by
    // parameter name, and what it lacks keeps our value.
    void acceptSiblingChunks(const vr58::ParameterDefinition* table, uint16_t count);

    const char* const* canDoList = nullptr;
    ParameterEntry* parameterEntries;
    uint16_t parameterCount;
    uint16_t canDoCount = 0;

private:
    void restoreSiblingChunk(const unsigned char* bytes);
    uint32_t* chunkSlotOfThisThread();

    // Chunk buffers made once, so saving state never allocates and never leaks: one slot per saving
    // thread, so a host copying its chunk is never written under by another thread's save. A slot is
    // owned by the address of a thread-local key, which a later thread may inherit once the owner ended.
    static constexpr int kChunkSlots = 8;
    std::unique_ptr<uint32_t[]> chunkWords;
    std::atomic<const void*> chunkSlotOwners[kChunkSlots] = {};
    const vr58::ParameterDefinition* siblingTable = nullptr;
    uint16_t siblingCount = 0;
};
