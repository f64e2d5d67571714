// Throughput of the tape chain: stereo frames per second through both process calls, on programme
// material, on silence (noise on, and noise off after a loud passage, where filter states decay towards
// subnormals), and a plain loop of the formulas for comparison.
#include "reference_tape.h"
#include "tape/QuorvaneTapedeck.h"
#include "test_signals.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace vr58;

namespace {
constexpr float kRate = 48000.0f;

intptr_t silentHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::unique_ptr<QuorvaneTapedeck> makeDeck(bool noiseOn) {
    auto deck = std::make_unique<QuorvaneTapedeck>(silentHost, kEditorBuild);
    deck->setSampleRate(kRate);
    deck->setParameter(kEditorBuild.noiseIndex, noiseOn ? 1.0f : 0.0f);
    return deck;
}

template <typename Sample> struct Buffers {
    explicit Buffers(int frames, bool silent) : data(4, std::vector<Sample>(frames, Sample(0))) {
        if (!silent) {
            const auto material = testing::makeProgramMaterial(frames, kRate);
            for (int ch = 0; ch < 2; ++ch) data[ch].assign(material[ch].begin(), material[ch].end());
        }
        in[0] = data[0].data();
        in[1] = data[1].data();
        out[0] = data[2].data();
        out[1] = data[3].data();
    }
    std::vector<std::vector<Sample>> data;
    Sample* in[2];
    Sample* out[2];
};

void process(QuorvaneTapedeck& deck, Buffers<float>& b, int frames) {
    deck.processReplacing(b.in, b.out, frames);
}
void process(QuorvaneTapedeck& deck, Buffers<double>& b, int frames) {
    deck.processDoubleReplacing(b.in, b.out, frames);
}

void report(benchmark::State& state, int frames) {
    state.SetItemsProcessed(state.iterations() * frames);
    state.counters["xRealTime"] = benchmark::Counter(static_cast<double>(frames) / kRate,
                                                     benchmark::Counter::kIsIterationInvariantRate);
}

template <typename Sample> void ProgrammeMaterial(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    auto deck = makeDeck(true);
    Buffers<Sample> buffers(frames, false);
    for (auto _ : state) {
        process(*deck, buffers, frames);
        benchmark::DoNotOptimize(buffers.out[0][frames - 1]);
    }
    report(state, frames);
}

template <typename Sample> void SilenceNoiseOn(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    auto deck = makeDeck(true);
    Buffers<Sample> buffers(frames, true);
    for (auto _ : state) process(*deck, buffers, frames);
    report(state, frames);
}

template <typename Sample> void SilenceNoiseOffAfterLoudPassage(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    auto deck = makeDeck(false);
    Buffers<Sample> loud(48000, false);
    for (auto& channel : loud.data)
        for (auto& v : channel) v *= Sample(4);
    process(*deck, loud, 48000);
    Buffers<Sample> buffers(frames, true);
    for (int i = 0; i < 200; ++i) process(*deck, buffers, frames); // let the states decay into the tiny range
    for (auto _ : state) process(*deck, buffers, frames);
    report(state, frames);
}

// The formulas as a straightforward loop, without the plug-in around them: the speed to match.
void StraightforwardFormulaLoop(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    std::vector<float> values;
    auto deck = makeDeck(true);
    for (int i = 0; i < 15; ++i) values.push_back(deck->getParameter(i));
    testing::ReferenceTape reference(values, testing::kEditorLayout, kRate, 1);
    const auto material = testing::makeProgramMaterial(frames, kRate);
    std::vector<double> l(frames), r(frames);
    for (auto _ : state) {
        reference.run(material[0].data(), material[1].data(), l.data(), r.data(), frames);
        benchmark::DoNotOptimize(l[frames - 1]);
    }
    report(state, frames);
}
} // namespace

BENCHMARK_TEMPLATE(ProgrammeMaterial, float)->Arg(32)->Arg(512)->Arg(4096);
BENCHMARK_TEMPLATE(ProgrammeMaterial, double)->Arg(32)->Arg(512)->Arg(4096);
BENCHMARK_TEMPLATE(SilenceNoiseOn, float)->Arg(512);
BENCHMARK_TEMPLATE(SilenceNoiseOn, double)->Arg(512);
BENCHMARK_TEMPLATE(SilenceNoiseOffAfterLoudPassage, float)->Arg(512);
BENCHMARK_TEMPLATE(SilenceNoiseOffAfterLoudPassage, double)->Arg(512);
BENCHMARK(StraightforwardFormulaLoop)->Arg(512);

BENCHMARK_MAIN();
