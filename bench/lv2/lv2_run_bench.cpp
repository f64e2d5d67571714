// Cost of the LV2 plug-in's run beside the VST 2.4 processReplacing of the same effect at the same
// settings, 512 frames at 48 kHz: the editor build with its meter fed (the LV2 editor bundle always feeds
// it; the VST 2.4 build while its window is open) and the plain build. "automated" moves one knob port
// every run, which costs a conversion and a redesign of the head bump per block.
#include "engine/parameter_units.h"
#include "lv2/lv2_plugin.h"
#include "lv2/lv2_ports.h"
#include "test_signals.h"
#include "vst2/QuorvaneTapedeck.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace vr58;
using namespace vr58::lv2;

namespace {
constexpr double kRate = 48000.0;
constexpr uint32_t kFrames = 512;

struct Signal {
    Signal() : data(4, std::vector<float>(kFrames)) {
        const auto material = testing::makeProgramMaterial(kFrames, kRate);
        for (int ch = 0; ch < 2; ++ch) data[ch].assign(material[ch].begin(), material[ch].end());
        for (int ch = 0; ch < 4; ++ch) ptr[ch] = data[ch].data();
    }
    std::vector<std::vector<float>> data;
    float* ptr[4];
};

// Trim +6 dB, Head 85 Hz, Bump 50 %, EQ RecHi +2 dB, the rest at their defaults.
std::vector<float> settingsOf(const BuildConfig& build) {
    std::vector<float> ports;
    for (int32_t i = 0; i < build.parameterCount; ++i)
        ports.push_back(portValueOf(build, i, build.parameters[i].defaultValue));
    ports[kTrim] = 6.0f;
    ports[kHead] = 85.0f;
    ports[kBump] = 50.0f;
    ports[kEqRecHi] = 2.0f;
    return ports;
}

void Lv2Run(benchmark::State& state, const BuildConfig& build, bool automated) {
    const LV2_Descriptor* d = descriptorOf(build);
    LV2_Handle h = d->instantiate(d, kRate, "", nullptr);
    std::vector<float> controls(40, 0.0f);
    const std::vector<float> ports = settingsOf(build);
    for (size_t i = 0; i < ports.size(); ++i) controls[parameterPort(static_cast<int32_t>(i))] = ports[i];
    for (uint32_t p = kFirstParameterPort; p < controls.size(); ++p) d->connect_port(h, p, &controls[p]);
    Signal s;
    for (uint32_t p = 0; p < 4; ++p) d->connect_port(h, p, s.ptr[p]);
    d->activate(h);
    float head = 85.0f;
    for (auto _ : state) {
        if (automated) controls[parameterPort(kHead)] = head = head > 100.0f ? 70.0f : head + 0.5f;
        d->run(h, kFrames);
        benchmark::DoNotOptimize(s.data[2][kFrames - 1]);
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
    d->deactivate(h);
    d->cleanup(h);
}

void VstProcessReplacing(benchmark::State& state, const BuildConfig& build, bool automated) {
    QuorvaneTapedeck deck(nullptr, build);
    deck.setSampleRate(static_cast<float>(kRate));
    const std::vector<float> ports = settingsOf(build);
    for (size_t i = 0; i < ports.size(); ++i)
        deck.setParameter(static_cast<int32_t>(i), normalisedOf(build, static_cast<int32_t>(i), ports[i]));
    if (&build == &kEditorBuild) deck.meterFeed().start(); // the editor's window open
    Signal s;
    float head = normalisedOf(build, kHead, 85.0f);
    for (auto _ : state) {
        if (automated) deck.setParameter(kHead, head = head > 0.9f ? 0.1f : head + 0.0125f);
        deck.processReplacing(s.ptr, s.ptr + 2, static_cast<int32_t>(kFrames));
        benchmark::DoNotOptimize(s.data[2][kFrames - 1]);
    }
    state.SetItemsProcessed(state.iterations() * kFrames);
}

} // namespace

BENCHMARK_CAPTURE(Lv2Run, editor, kEditorBuild, false);
BENCHMARK_CAPTURE(VstProcessReplacing, editor_window_open, kEditorBuild, false);
BENCHMARK_CAPTURE(Lv2Run, plain, kPlainBuild, false);
BENCHMARK_CAPTURE(VstProcessReplacing, plain, kPlainBuild, false);
BENCHMARK_CAPTURE(Lv2Run, editor_automated, kEditorBuild, true);
BENCHMARK_CAPTURE(VstProcessReplacing, editor_window_open_automated, kEditorBuild, true);
BENCHMARK_MAIN();
