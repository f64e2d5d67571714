// The editor's cost to the host: one effEditIdle pass of the open editor with no audio (the meters are
// redrawn at every pass) on the memory backend, and a process call with the window open (the meter step
// runs) against one with it closed.
#include "vst2/QuorvaneTapedeck.h"
#include "vst2/QuorvaneTapedeckGUI.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_window.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace VSTGUI;

namespace {

intptr_t host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct OpenEditor {
    OpenEditor() {
        platform::setBackend(&soft::softBackend());
        effect = new QuorvaneTapedeck(host, vr58::kEditorBuild);
        new QuorvaneTapedeckGUI(effect, effect->meterFeed());
        record = effect->getAeffect();
        effect->setSampleRate(48000.0f);
        window.width = 520;
        window.height = 440;
    }
    ~OpenEditor() { record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f); }
    void open() {
        record->dispatcher(record, effEditOpen, 0, 0, &window, 0.0f);
        window.child->paint(window.child->screen().bounds());
    }
    QuorvaneTapedeck* effect;
    AEffect* record;
    soft::HostWindow window;
};

void BM_IdlePassWithoutAudio(benchmark::State& state) {
    OpenEditor editor;
    editor.open();
    for (auto _ : state) editor.record->dispatcher(editor.record, effEditIdle, 0, 0, nullptr, 0.0f);
}
BENCHMARK(BM_IdlePassWithoutAudio)->Unit(benchmark::kMicrosecond);

// 512 frames of program-like material; state.range(0): the editor's window open (1) or closed (0).
void BM_ProcessBlock(benchmark::State& state) {
    OpenEditor editor;
    if (state.range(0)) editor.open();
    std::vector<float> left(512), right(512);
    for (int i = 0; i < 512; ++i) {
        left[i] = 0.4f * std::sin(0.031f * i);
        right[i] = 0.3f * std::sin(0.017f * i);
    }
    std::vector<float> outL(512), outR(512);
    float* in[] = {left.data(), right.data()};
    float* out[] = {outL.data(), outR.data()};
    for (auto _ : state) {
        editor.effect->processReplacing(in, out, 512);
        benchmark::DoNotOptimize(outL.data());
    }
    state.SetItemsProcessed(state.iterations() * 512);
}
BENCHMARK(BM_ProcessBlock)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
