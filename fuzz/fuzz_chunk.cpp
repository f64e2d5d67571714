// The state chunk as hosts hand it back, through both builds' setChunk as a bank and as a program: every
// parameter stays a finite value in 0..1, the state saved afterwards loads back to itself, and a block
// played with it is finite in both precisions.
#include "fuzz_support.h"
#include "vst2/QuorvaneTapedeck.h"

#include <cmath>
#include <cstring>
#include <vector>

using namespace vr58;

namespace {

intptr_t quietHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == 1 /* audioMasterVersion */ ? 2400 : 0;
}

template <typename Sample> void expectFiniteBlock(QuorvaneTapedeck& effect) {
    constexpr int kFrames = 64;
    std::vector<Sample> left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames);
    for (int i = 0; i < kFrames; ++i) left[i] = right[i] = static_cast<Sample>(0.5 * std::sin(0.2 * i));
    Sample* inputs[] = {left.data(), right.data()};
    Sample* outputs[] = {outLeft.data(), outRight.data()};
    if constexpr (sizeof(Sample) == sizeof(double))
        effect.processDoubleReplacing(inputs, outputs, kFrames);
    else
        effect.processReplacing(inputs, outputs, kFrames);
    for (int i = 0; i < kFrames; ++i)
        fuzz::expect(std::isfinite(outLeft[i]) && std::isfinite(outRight[i]), "a loaded state plays finite");
}

void loadInto(const BuildConfig& config, const uint8_t* data, size_t size, bool isPreset) {
    QuorvaneTapedeck effect(quietHost, config);
    effect.setSampleRate(48000.0f);
    std::vector<uint8_t> bytes(data, data + size); // the effect may not keep or write the host's buffer
    effect.setChunk(bytes.empty() ? nullptr : bytes.data(), static_cast<int32_t>(bytes.size()), isPreset);
    std::vector<float> loaded(config.parameterCount);
    for (int32_t i = 0; i < config.parameterCount; ++i) {
        loaded[i] = effect.getParameter(i);
        fuzz::expect(std::isfinite(loaded[i]) && loaded[i] >= 0.0f && loaded[i] <= 1.0f,
                     "a loaded parameter lies in 0..1");
    }

    void* saved = nullptr;
    const int32_t savedSize = effect.getChunk(&saved, isPreset);
    fuzz::expect(saved != nullptr && savedSize == 4 * config.parameterCount, "the state saves whole");
    std::vector<uint8_t> copy(static_cast<const uint8_t*>(saved),
                              static_cast<const uint8_t*>(saved) + savedSize);
    QuorvaneTapedeck reloaded(quietHost, config);
    reloaded.setChunk(copy.data(), savedSize, isPreset);
    for (int32_t i = 0; i < config.parameterCount; ++i)
        fuzz::expect(reloaded.getParameter(i) == loaded[i], "a saved state loads back to itself");

    expectFiniteBlock<float>(effect);
    expectFiniteBlock<double>(effect);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    for (const BuildConfig* config : {&kEditorBuild, &kPlainBuild})
        for (bool isPreset : {false, true}) loadInto(*config, data, size, isPreset);
    return 0;
}
