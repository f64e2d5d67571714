// The tape effect built directly (no library loading): alone, or in its VST 2.4 adapter with a recording
// host callback.
#pragma once

#include "fake_tick_count.h"
#include "vst2/QuorvaneTapedeck.h"

#include <memory>
#include <string>
#include <vector>

namespace vr58::testing {

struct RecordedHostCall {
    int32_t opcode;
    int32_t index;
    intptr_t value;
    float opt;
};

std::vector<RecordedHostCall>& recordedHostCalls();
intptr_t recordingHostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                               float opt);

// Records every hook call the base class makes, then lets the tape model react as usual.
class HookRecordingTapedeck : public QuorvaneTapedeck {
public:
    using QuorvaneTapedeck::QuorvaneTapedeck;
    void parameterChanged(int32_t index, float value) override {
        hookCalls.push_back({index, value});
        QuorvaneTapedeck::parameterChanged(index, value);
    }
    void sampleRateChanged(float rate) override {
        rateHooks.push_back(rate);
        QuorvaneTapedeck::sampleRateChanged(rate);
    }
    struct Hook {
        int32_t index;
        float value;
    };
    std::vector<Hook> hookCalls;
    std::vector<float> rateHooks;
};

inline std::unique_ptr<HookRecordingTapedeck> makeTapedeck(const BuildConfig& config, uint32_t seed = 0) {
    setFakeTickCount(seed);
    recordedHostCalls().clear();
    return std::make_unique<HookRecordingTapedeck>(recordingHostCallback, config);
}

// The format-free tape effect alone, with the noise seed the fake clock gives it.
inline std::unique_ptr<TapeEffect> makeTapeEffect(const BuildConfig& config, uint32_t seed = 0) {
    setFakeTickCount(seed);
    return std::make_unique<TapeEffect>(config);
}

inline std::string textOf(const char* buffer) {
    return std::string(buffer);
}

} // namespace vr58::testing
