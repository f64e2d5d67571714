// One effEditIdle pass of the open editor in a real X11 window (run it under Xvfb or on a desktop) while
// loud audio moves the needle and keeps the lamp lit, at 100 % and 200 %. "changed areas" is the pass as
// it is: only what was redrawn goes to the window. "whole frame" adds the copy of the whole frame that
// every pass made before, so it stands for the old pass (slightly above it: the changed areas are also
// sent once more). The CPU column is this thread's time; the X server's own work is not in it.
#include "editor/QuorvaneTapedeckGUI.h"
#include "effect/QuorvaneTapedeck.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/coffscreencontext.h"
#include "vstgui/platform/x11/x11_backend.h"

#include <benchmark/benchmark.h>

#include <X11/Xlib.h>

#include <cmath>
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
    void play() {
        float* in[] = {loud.data(), loud.data()};
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
    std::vector<float> loud = std::vector<float>(512), outL = std::vector<float>(512), outR = std::vector<float>(512);
};

// state.range(0): the size in percent; state.range(1): 1 to copy the whole frame after the pass.
void BM_X11IdlePassMetersMoving(benchmark::State& state) {
    WindowedEditor editor(static_cast<int32_t>(state.range(0)));
    if (!editor.opened) {
        state.SkipWithError(editor.display ? "the editor did not open" : "no X display");
        return;
    }
    const bool whole = state.range(1) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        editor.play();
        state.ResumeTiming();
        editor.record->dispatcher(editor.record, effEditIdle, 0, 0, nullptr, 0.0f);
        if (whole) editor.copyWholeFrame();
    }
    state.SetLabel(whole ? "whole frame (the old pass)" : "changed areas");
}
BENCHMARK(BM_X11IdlePassMetersMoving)
    ->ArgsProduct({{100, 200}, {1, 0}})
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
