// One effEditIdle pass of the open editor in a real X11 window (run it under Xvfb or on a desktop) at
// 100 % and 200 %, with one of two signals played before each pass (outside the timing): a steady loud
// sine (an over: the needle rests at its stop and the lamp stays lit) or a sine whose level swings
// (the needle moves on most passes; the "moved" counter says on how many it showed another frame).
// "changed areas" is the pass as it is: only what was redrawn goes to the window. "whole frame" adds a
// copy of the whole frame to the window after the pass, which is what every pass did before. The CPU
// column is the process's time; the X server's own work is not in it.
#include "vst2/QuorvaneTapedeckGUI.h"
#include "editor/QuorvaneVU.h"
#include "vst2/QuorvaneTapedeck.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/coffscreencontext.h"
#include "vstgui/platform/x11/x11_backend.h"

#include <benchmark/benchmark.h>

#include <X11/Xlib.h>

#include <cmath>
#include <string>
#include <vector>

using namespace VSTGUI;

namespace {

intptr_t host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// A host's window on the display, with the editor open in it and a loud block ready to play.
struct WindowedEditor {
    explicit WindowedEditor(int32_t scale) {
        display = XOpenDisplay(nullptr);
        if (!display) return;
        const int width = 520 * scale / 100, height = 440 * scale / 100;
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        platform::setBackend(&x11::x11Backend());
        effect = new QuorvaneTapedeck(host, vr58::kEditorBuild);
        gui = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
        record = effect->getAeffect();
        effect->setSampleRate(48000.0f);
        effect->setBlockSize(512);
        record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
        gui->setNextOpeningScale(scale);
        opened = record->dispatcher(record, effEditOpen, 0, 0, reinterpret_cast<void*>(parent), 0.0f) == 1;
        for (int i = 0; i < 512; ++i) loud[i] = 1.5f * std::sin(0.05f * i); // an over: the lamp stays lit
        // The first paint comes as an Expose event, read at idle.
        for (int i = 0; i < 20; ++i) {
            play();
            record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
        }
    }
    ~WindowedEditor() {
        if (record) record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
        if (display) {
            XDestroyWindow(display, parent);
            XCloseDisplay(display);
        }
    }
    // The next block: the steady sine, or one whose level swings between about -36 and -1 dB of the
    // 0 mark's level twice a second, so the needle crosses most of its scale.
    void play(bool swinging = false) {
        if (swinging) {
            for (int i = 0; i < 512; ++i, ++sample) {
                const double t = sample / 48000.0;
                const double level = 0.1 * (1.0 + 0.95 * std::sin(2.0 * 3.14159265358979 * 2.0 * t));
                swing[i] = static_cast<float>(level * std::sin(0.05 * static_cast<double>(sample)));
            }
        }
        const std::vector<float>& block = swinging ? swing : loud;
        float* in[] = {const_cast<float*>(block.data()), const_cast<float*>(block.data())};
        float* out[] = {outL.data(), outR.data()};
        effect->processReplacing(in, out, 512);
    }
    void copyWholeFrame() {
        CFrame* frame = gui->getFrame();
        CDrawContext* context = frame->createDrawContext();
        frame->getBackBuffer()->copyFrom(context, CRect(0, 0, 520, 440));
        context->release();
    }

    Display* display = nullptr;
    Window parent = 0;
    QuorvaneTapedeck* effect = nullptr;
    QuorvaneTapedeckGUI* gui = nullptr;
    AEffect* record = nullptr;
    bool opened = false;
    std::vector<float> loud = std::vector<float>(512), swing = std::vector<float>(512),
                       outL = std::vector<float>(512), outR = std::vector<float>(512);
    int64_t sample = 0;
};

// state.range(0): the size in percent; state.range(1): 1 to copy the whole frame after the pass;
// state.range(2): 1 for the swinging level, 0 for the steady sine.
void BM_X11IdlePassMetersMoving(benchmark::State& state) {
    WindowedEditor editor(static_cast<int32_t>(state.range(0)));
    if (!editor.opened) {
        state.SkipWithError(editor.display ? "the editor did not open" : "no X display");
        return;
    }
    const bool whole = state.range(1) != 0;
    const bool swinging = state.range(2) != 0;
    const QuorvaneVU* vu = editor.gui->vuMeter();
    int64_t moved = 0, passes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        editor.play(swinging);
        const uint32_t before = vu->shownFrame();
        state.ResumeTiming();
        editor.record->dispatcher(editor.record, effEditIdle, 0, 0, nullptr, 0.0f);
        if (whole) editor.copyWholeFrame();
        state.PauseTiming();
        moved += vu->shownFrame() != before;
        ++passes;
        state.ResumeTiming();
    }
    state.counters["moved"] = benchmark::Counter(passes ? static_cast<double>(moved) / passes : 0.0);
    state.SetLabel(std::string(swinging ? "swinging level, " : "steady sine, ") +
                   (whole ? "whole frame copied after the pass" : "changed areas"));
}
BENCHMARK(BM_X11IdlePassMetersMoving)
    ->ArgsProduct({{100, 200}, {1, 0}, {0, 1}})
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
