// The chain's meter step: one value a frame into the meter feed, from the trimmed input or from the output,
// the left magnitude alone for a mono arrangement, else the mean of both; the same in both precisions and
// however the frames are cut into calls.
#include "tape/tape_chain.h"
#include "test_signals.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vr58;
using namespace vr58::testing;

namespace {
constexpr double kRate = 48000.0;
constexpr int kFrames = 3000;
constexpr double kTrim = 1.7;

// Both channels' sections at settings away from flat, states cleared.
struct Sections {
    Sections() {
        for (int ch = 0; ch < 2; ++ch) {
            designLowShelf(recordLow[ch], 3.0, 50.0, kRate);
            designHighShelf(recordHigh[ch], -4.0, 3180.0, kRate);
            designHighPass(highPass[ch], 15.0, kRate);
            designPeaking(peak[ch], 4.0, 3.0, 80.0, kRate);
            designLowShelf(reproLow[ch], -3.0, 50.0, kRate);
            designHighShelf(reproHigh[ch], 5.0, 3180.0, kRate);
        }
    }
    LowShelfFilter<double> recordLow[2]{}, reproLow[2]{};
    HighShelfFilter<double> recordHigh[2]{}, reproHigh[2]{};
    HighPassFilter<double> highPass[2]{};
    PeakingFilter<double> peak[2]{};
    TapeSections view{recordLow, recordHigh, highPass, peak, reproLow, reproHigh};
};

struct Metered {
    double level, peak;
};

// Runs the chain over the material in calls of `block` frames, feeding a started meter feed.
template <typename Sample>
Metered meterThroughChain(std::vector<std::vector<Sample>> in, bool fromOutput, bool mono, int block) {
    Sections sections;
    NoiseGenerator noise{0, 7};
    MeterFeed feed;
    feed.start();
    for (int start = 0; start < kFrames; start += block) {
        const int n = std::min(block, kFrames - start);
        MeterFeed::Block meterBlock = feed.beginBlock(kRate);
        Sample* ins[2] = {in[0].data() + start, in[1].data() + start};
        runTapeChain(sections.view, noise, BlockSettings{kTrim, 0.8, 0.001, true},
                     MeterTap{&meterBlock, fromOutput, mono}, ins, ins, n);
        feed.endBlock(meterBlock);
    }
    return {feed.smoothedLevel(), feed.takePeak()};
}

// The meter values written out frame by frame from the chain's double-precision output.
Metered meterByHand(const std::vector<std::vector<double>>& in, bool fromOutput, bool mono) {
    Sections sections;
    NoiseGenerator noise{0, 7};
    std::vector<std::vector<double>> out = in;
    double* bufs[2] = {out[0].data(), out[1].data()};
    runTapeChain(sections.view, noise, BlockSettings{kTrim, 0.8, 0.001, true},
                 MeterTap{nullptr, false, false}, bufs, bufs, kFrames);
    MeterFeed feed;
    feed.start();
    MeterFeed::Block block = feed.beginBlock(kRate);
    for (int i = 0; i < kFrames; ++i) {
        const double vL = fromOutput ? out[0][i] : in[0][i] * kTrim;
        const double vR = fromOutput ? out[1][i] : in[1][i] * kTrim;
        block.push(mono ? std::fabs(vL) : (std::fabs(vL) + std::fabs(vR)) * 0.5);
    }
    feed.endBlock(block);
    return {feed.smoothedLevel(), feed.takePeak()};
}
} // namespace

TEST(ChainMeter, FeedsTheChosenSourceFrameByFrameInBothPrecisions) {
    const auto material = makeProgramMaterial(kFrames, kRate, 1.5);
    // Float samples widen exactly, so the float path's values are those of the double path on them.
    std::vector<std::vector<float>> narrow(2);
    std::vector<std::vector<double>> widened(2);
    for (int ch = 0; ch < 2; ++ch) {
        narrow[ch].assign(material[ch].begin(), material[ch].end());
        widened[ch].assign(narrow[ch].begin(), narrow[ch].end());
    }
    for (bool fromOutput : {false, true}) {
        for (bool mono : {false, true}) {
            const Metered expected = meterByHand(widened, fromOutput, mono);
            ASSERT_GT(expected.level, 0.05);
            for (int block : {1, 17, 64, 700, kFrames}) {
                const Metered wide = meterThroughChain(widened, fromOutput, mono, block);
                const Metered single = meterThroughChain(narrow, fromOutput, mono, block);
                const auto where = ::testing::Message()
                                   << "output " << fromOutput << ", mono " << mono << ", blocks of " << block;
                EXPECT_EQ(wide.level, expected.level) << where;
                EXPECT_EQ(wide.peak, expected.peak) << where;
                EXPECT_EQ(single.level, expected.level) << where;
                EXPECT_EQ(single.peak, expected.peak) << where;
            }
        }
    }
}
