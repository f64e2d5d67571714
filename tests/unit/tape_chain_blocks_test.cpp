// The process calls against the frame-by-frame reference, bit for bit, however the host cuts the audio into
// blocks: sizes below, at and far above the chain's internal pass length, odd splits, noise on and off,
// shared and separate buffers, both precisions. Under Wine this compares with the reference built there.
#include "effect_fixture.h"
#include "reference_tape.h"
#include "test_signals.h"

#include <gtest/gtest.h>

using namespace vr58;
using namespace vr58::testing;

namespace {
constexpr int kFrames = 9000;

const std::vector<std::vector<int>> kBlockPatterns = {
    {1}, {2}, {3}, {17}, {64}, {512}, {4096}, {63, 1, 65, 130, 2, 511, 7}, {4095, 3, 4097, 1},
};

std::vector<float> valuesOf(TapeEffect& fx) {
    std::vector<float> v;
    for (int i = 0; i < fx.parameterCount(); ++i) v.push_back(fx.parameter(i));
    return v;
}

void process(TapeEffect& fx, float** in, float** out, int n) {
    fx.process(in, out, n);
}
void process(TapeEffect& fx, double** in, double** out, int n) {
    fx.process(in, out, n);
}

template <typename Sample> void expectReferenceBitsForEveryBlocking() {
    const auto material = makeProgramMaterial(kFrames, 48000.0, 2.5); // peaks drive erf into its flat top
    const std::vector<Sample> left(material[0].begin(), material[0].end());
    const std::vector<Sample> right(material[1].begin(), material[1].end());
    for (float rate : {22050.0f, 44100.0f, 48000.0f, 96000.0f}) {
        for (bool noise : {true, false}) {
            auto fx = makeTapeEffect(kEditorBuild, 0xBADC0DEu);
            fx->setSampleRate(rate);
            fx->setParameter(kEqCurve, 0.1f);
            fx->setParameter(kHead, 0.7f);
            fx->setParameter(kEqRepHi, 0.8f);
            fx->setParameter(kEditorBuild.noiseIndex, noise ? 1.0f : 0.0f);
            ReferenceTape reference(valuesOf(*fx), kEditorLayout, rate, 0xBADC0DEu);

            for (bool inPlace : {true, false}) {
                for (const auto& pattern : kBlockPatterns) {
                    // Every pattern continues the same instance, so the reference runs on from its state.
                    std::vector<Sample> expectL(kFrames), expectR(kFrames);
                    reference.run(left.data(), right.data(), expectL.data(), expectR.data(), kFrames);
                    std::vector<Sample> inL = left, inR = right, outL(kFrames, Sample(7)),
                                        outR(kFrames, Sample(7));
                    std::vector<Sample>& resultL = inPlace ? inL : outL;
                    std::vector<Sample>& resultR = inPlace ? inR : outR;
                    for (int start = 0, k = 0; start < kFrames; ++k) {
                        const int n = std::min(pattern[k % pattern.size()], kFrames - start);
                        Sample* ins[2] = {inL.data() + start, inR.data() + start};
                        Sample* outs[2] = {resultL.data() + start, resultR.data() + start};
                        process(*fx, ins, outs, n);
                        start += n;
                    }
                    const auto where = ::testing::Message() << rate << " Hz, noise " << noise << ", in place "
                                                            << inPlace << ", first block " << pattern[0];
                    ASSERT_EQ(resultL, expectL) << where;
                    ASSERT_EQ(resultR, expectR) << where;
                    ASSERT_EQ(fx->noiseSeed(), reference.currentSeed()) << where;
                }
            }
        }
    }
}
} // namespace

TEST(ChainBlocks, FloatCallsMatchTheReferenceForEveryBlocking) {
    expectReferenceBitsForEveryBlocking<float>();
}

TEST(ChainBlocks, DoubleCallsMatchTheReferenceForEveryBlocking) {
    expectReferenceBitsForEveryBlocking<double>();
}
