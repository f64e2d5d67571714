// Bad samples from a host never silence a channel for good: a non-finite input sample counts as silence,
// and a channel whose filter state overflowed starts again from the next block on.
#include "effect_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vr58;
using namespace vr58::testing;

namespace {
constexpr int kBlock = 512;
constexpr int kFrames = 12 * kBlock;
constexpr int kBadFrame = 4900;

// A 1 kHz sine at 48 kHz on both channels, with `bad` written into the left channel at kBadFrame.
template <typename Sample> std::vector<std::vector<Sample>> sineWithBadSample(Sample bad) {
    std::vector<std::vector<Sample>> in(2, std::vector<Sample>(kFrames));
    for (int i = 0; i < kFrames; ++i)
        in[0][i] = in[1][i] =
            static_cast<Sample>(0.5 * std::sin(2.0 * 3.141592653589793 * 1000.0 * i / 48000.0));
    in[0][kBadFrame] = bad;
    return in;
}

void processBlock(QuorvaneTapedeck& fx, float** in, float** out, int n) {
    fx.processReplacing(in, out, n);
}
void processBlock(QuorvaneTapedeck& fx, double** in, double** out, int n) {
    fx.processDoubleReplacing(in, out, n);
}

// Default parameters, noise off so runs are comparable, 48 kHz, blocks of 512.
template <typename Sample>
std::vector<std::vector<Sample>> render(std::vector<std::vector<Sample>> in, float trim = 0.5f) {
    auto fx = makeTapedeck(kEditorBuild, 1);
    fx->setSampleRate(48000.0f);
    fx->setParameter(kEditorBuild.noiseIndex, 0.0f);
    fx->setParameter(kTrim, trim);
    std::vector<std::vector<Sample>> out(2, std::vector<Sample>(kFrames));
    for (int start = 0; start < kFrames; start += kBlock) {
        Sample* ins[2] = {in[0].data() + start, in[1].data() + start};
        Sample* outs[2] = {out[0].data() + start, out[1].data() + start};
        processBlock(*fx, ins, outs, kBlock);
    }
    return out;
}

template <typename Sample> void expectBadSampleIsSilence() {
    const auto clean = render(sineWithBadSample<Sample>(Sample(0)));
    for (Sample bad : {std::numeric_limits<Sample>::quiet_NaN(), std::numeric_limits<Sample>::infinity(),
                       -std::numeric_limits<Sample>::infinity()}) {
        const auto out = render(sineWithBadSample<Sample>(bad));
        EXPECT_EQ(out, clean) << bad;
    }
}
} // namespace

TEST(Recovery, NonFiniteInputSampleIsProcessedAsSilenceInBothPrecisions) {
    expectBadSampleIsSilence<float>();
    expectBadSampleIsSilence<double>();
}

TEST(Recovery, OverflowedChannelIsFiniteAgainFromTheNextBlock) {
    // +24 dB of trim on 1e307 overflows the record shelves of the left channel.
    const auto clean = render(sineWithBadSample<double>(0.0), 1.0f);
    const auto out = render(sineWithBadSample<double>(1e307), 1.0f);
    const int nextBlock = (kBadFrame / kBlock + 1) * kBlock;
    EXPECT_FALSE(std::isfinite(out[0][kBadFrame])) << "the test no longer poisons the state";
    for (int i = nextBlock; i < kFrames; ++i) {
        ASSERT_TRUE(std::isfinite(out[0][i])) << i;
        ASSERT_LT(std::abs(out[0][i]), 20.0) << i;
    }
    EXPECT_EQ(out[1], clean[1]) << "the other channel never noticed";
    EXPECT_EQ(std::vector<double>(out[0].begin(), out[0].begin() + kBadFrame),
              std::vector<double>(clean[0].begin(), clean[0].begin() + kBadFrame));
}
