// Cost of the meter feed on the audio thread: per frame on its own, and the tape process of a block with
// and without a feed pass over its output (the meter value being the mean of the two channels'
// magnitudes), in both precisions. The ratio of the last two is the price of an open editor window.
#include "tape/meter_feed.h"
#include "test_signals.h"
#include "vst2/QuorvaneTapedeck.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace vr58;

namespace {
constexpr float kRate = 48000.0f;
constexpr int kFrames = 512;

intptr_t silentHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

template <typename Sample> struct Stereo {
    Stereo() : data(4, std::vector<Sample>(kFrames)) {
        const auto material = testing::makeProgramMaterial(kFrames, kRate);
        for (int ch = 0; ch < 2; ++ch) data[ch].assign(material[ch].begin(), material[ch].end());
        in[0] = data[0].data();
        in[1] = data[1].data();
        out[0] = data[2].data();
        out[1] = data[3].data();
    }
    std::vector<std::vector<Sample>> data;
    Sample* in[2];
    Sample* out[2];
};

void process(QuorvaneTapedeck& deck, Stereo<float>& s) {
    deck.processReplacing(s.in, s.out, kFrames);
}
void process(QuorvaneTapedeck& deck, Stereo<double>& s) {
    deck.processDoubleReplacing(s.in, s.out, kFrames);
}

template <typename Sample> void feedBlock(MeterFeed& feed, const Stereo<Sample>& s) {
    MeterFeed::Block block = feed.beginBlock(kRate);
    for (int i = 0; i < kFrames; ++i)
        block.push((std::fabs(double(s.out[0][i])) + std::fabs(double(s.out[1][i]))) * 0.5);
    feed.endBlock(block);
}

void MeterFeedPerFrame(benchmark::State& state) {
    Stereo<double> s;
    s.out[0] = s.in[0];
    s.out[1] = s.in[1];
    MeterFeed feed;
    feed.start();
    for (auto _ : state) {
        feedBlock(feed, s);
        benchmark::DoNotOptimize(feed.smoothedLevel());
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}

template <typename Sample> void ProcessWindowClosed(benchmark::State& state) {
    QuorvaneTapedeck deck(silentHost, kEditorBuild);
    deck.setSampleRate(kRate);
    Stereo<Sample> s;
    for (auto _ : state) {
        process(deck, s);
        benchmark::DoNotOptimize(s.out[0][kFrames - 1]);
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}

template <typename Sample> void ProcessWindowOpen(benchmark::State& state) {
    QuorvaneTapedeck deck(silentHost, kEditorBuild);
    deck.setSampleRate(kRate);
    Stereo<Sample> s;
    MeterFeed feed;
    feed.start();
    for (auto _ : state) {
        process(deck, s);
        if (feed.running()) feedBlock(feed, s);
        benchmark::DoNotOptimize(feed.smoothedLevel());
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}
} // namespace

BENCHMARK(MeterFeedPerFrame);
BENCHMARK_TEMPLATE(ProcessWindowClosed, float);
BENCHMARK_TEMPLATE(ProcessWindowOpen, float);
BENCHMARK_TEMPLATE(ProcessWindowClosed, double);
BENCHMARK_TEMPLATE(ProcessWindowOpen, double);

BENCHMARK_MAIN();
