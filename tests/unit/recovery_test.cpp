// Bad samples from a host never silence a channel for good and never put a NaN or an infinity on its bus:
// a non-finite input sample counts as silence, and a channel a finite sample overflows starts again from
// silence at that sample.
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

void processBlock(TapeEffect& fx, float** in, float** out, int n) {
    fx.process(in, out, n);
}
void processBlock(TapeEffect& fx, double** in, double** out, int n) {
    fx.process(in, out, n);
}

// Default parameters, noise off so runs are comparable, 48 kHz, blocks of 512.
template <typename Sample>
std::vector<std::vector<Sample>> render(std::vector<std::vector<Sample>> in, float trim = 0.5f) {
    auto fx = makeTapeEffect(kEditorBuild, 1);
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

TEST(Recovery, AnOverflowingSampleIsSilenceForItsChannelFromThatSampleOn) {
    // +24 dB of trim on 1e307 overflows the record shelves of the left channel.
    const auto clean = render(sineWithBadSample<double>(0.0), 1.0f);
    const auto out = render(sineWithBadSample<double>(1e307), 1.0f);
    for (int i = 0; i < kFrames; ++i) {
        ASSERT_TRUE(std::isfinite(out[0][i])) << i;
        ASSERT_LT(std::abs(out[0][i]), 20.0) << i;
    }
    EXPECT_EQ(out[1], clean[1]) << "the other channel never noticed";
    EXPECT_EQ(std::vector<double>(out[0].begin(), out[0].begin() + kBadFrame),
              std::vector<double>(clean[0].begin(), clean[0].begin() + kBadFrame));
}

// Inputs at the top of each precision's range, as one sample in a sine, a sine at full range and a
// passage of alternating signs, at the default settings, with Trim at +24 dB and with every parameter at
// either end, noise on: not one output sample is NaN or infinite, from the first on.
template <typename Sample> void expectOnlyFiniteOutputFor(Sample top) {
    constexpr int kShortFrames = 4 * kBlock;
    // The one-sample case plays the last frames of its sine, with both bad samples among them.
    constexpr int kOneSampleOffset = kFrames - kShortFrames;
    static_assert(kOneSampleOffset < kBadFrame && kBadFrame < kFrames, "the bad frame must be played");
    std::vector<std::vector<std::vector<Sample>>> inputs;
    auto oneSample = sineWithBadSample<Sample>(top);
    oneSample[1][kOneSampleOffset + kBlock + 7] = -top;
    inputs.push_back(oneSample);
    std::vector<std::vector<Sample>> fullRange(2, std::vector<Sample>(kFrames));
    std::vector<std::vector<Sample>> alternating(2, std::vector<Sample>(kFrames));
    for (int i = 0; i < kFrames; ++i) {
        fullRange[0][i] = fullRange[1][i] = static_cast<Sample>(top * std::sin(0.05 * i));
        alternating[0][i] = i % 2 ? top : -top;
        alternating[1][i] = i % 3 ? -top : top;
    }
    inputs.push_back(fullRange);
    inputs.push_back(alternating);
    const int settings = 4; // defaults, +24 dB trim, every parameter 0, every parameter 1
    for (int setting = 0; setting < settings; ++setting)
        for (size_t input = 0; input < inputs.size(); ++input) {
            auto fx = makeTapeEffect(kEditorBuild, 1);
            fx->setSampleRate(48000.0f);
            if (setting == 1) fx->setParameter(kTrim, 1.0f);
            if (setting >= 2)
                for (int32_t p = 0; p < kEditorBuild.parameterCount; ++p)
                    fx->setParameter(p, setting == 2 ? 0.0f : 1.0f);
            fx->setParameter(kEditorBuild.noiseIndex, 1.0f);
            std::vector<Sample> outL(kShortFrames), outR(kShortFrames);
            const int offset = input == 0 ? kOneSampleOffset : 0;
            for (int start = 0; start < kShortFrames; start += kBlock) {
                Sample* ins[2] = {inputs[input][0].data() + offset + start,
                                  inputs[input][1].data() + offset + start};
                Sample* outs[2] = {outL.data() + start, outR.data() + start};
                processBlock(*fx, ins, outs, kBlock);
            }
            for (int i = 0; i < kShortFrames; ++i)
                ASSERT_TRUE(std::isfinite(outL[i]) && std::isfinite(outR[i]))
                    << "setting " << setting << ", input " << input << ", frame " << i;
        }
}

TEST(Recovery, InputsAtTheTopOfTheRangeGiveOnlyFiniteOutputInBothPrecisions) {
    expectOnlyFiniteOutputFor<double>(std::numeric_limits<double>::max());
    expectOnlyFiniteOutputFor<double>(-std::numeric_limits<double>::max());
    expectOnlyFiniteOutputFor<float>(std::numeric_limits<float>::max());
    expectOnlyFiniteOutputFor<float>(-std::numeric_limits<float>::max());
}
