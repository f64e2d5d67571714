// The maker's effect base: answers the host's parameter, text, identity and chunk opcodes from the tape
// effect it holds (engine/), and tells the editor's listener and the two hooks of every stored change.
#pragma once

#include "engine/build_config.h"
#include "engine/tape_effect.h"
#include "vst2/AudioEffectX.h"

#include <atomic>

namespace vr58 {
class ParameterListener;
}

class QuorvaneFX : public AudioEffectX {
public:
    QuorvaneFX(audioMasterCallback audioMaster, const vr58::BuildConfig& build);
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

    // The editor's thread, when it registers (null when it goes): from then on every stored change is told
    // to it on the storing thread. Never a dynamic_cast on the audio thread.
    void setParameterListener(vr58::ParameterListener* listener) {
        parameterListener.store(listener, std::memory_order_release);
    }

    // Any thread; the format-free effect the adapter hands its work to.
    vr58::TapeEffect& tapeEffect() { return tape; }
    const vr58::TapeEffect& tapeEffect() const { return tape; }

protected:
    bool isParameterIndex(int32_t index) const { return tape.isParameterIndex(index); }
    float storeParameter(int32_t index, float value);

    const char* const* canDoList = nullptr;
    const uint16_t parameterCount; // the build's
    uint16_t canDoCount = 0;

private:
    // Runs the hook and tells the listener of a value the tape effect stored.
    class StoredValueRelay;

    vr58::TapeEffect tape;
    std::atomic<vr58::ParameterListener*> parameterListener{nullptr};
};
