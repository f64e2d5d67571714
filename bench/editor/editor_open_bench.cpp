// Opening the editor in a real X11 window (run it under Xvfb or on a desktop): wall time from effEditOpen
// to the first pass drawn into the window, at every size.
//   cold:   the first editor of the process at that size (every image of the size still to be made);
//   reopen: the same editor closed and opened again;
//   second: another instance's editor opened while one is open at the same size.
// Memory: resident bytes the process gains for one and for four editors open at a size, cold, and the
// bytes of image pixels the toolkit holds then ("image MB").
#include "vst2/QuorvaneTapedeckGUI.h"
#include "vst2/QuorvaneTapedeck.h"
#include "vstgui/cbitmap.h"
#include "vstgui/platform/x11/x11_backend.h"

#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

using namespace VSTGUI;

namespace {

intptr_t host(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

double residentMegabytes() {
    long pages = 0, resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * 4096.0 / 1e6;
}

// A host's window and an instance whose editor opens in it at a fixed size.
struct HostedEditor {
    HostedEditor(Display* display, int32_t scale) : display(display), scale(scale) {
        const int width = 520 * scale / 100, height = 440 * scale / 100;
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, width, height, 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        effect = new QuorvaneTapedeck(host, vr58::kEditorBuild);
        gui = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
        record = effect->getAeffect();
        effect->setSampleRate(48000.0f);
    }
    ~HostedEditor() {
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
        XDestroyWindow(display, parent);
        XSync(display, False);
    }
    // Opens and idles until the face's top-left corner shows in the window; false when it never does.
    bool openAndDraw() {
        // Every opening at this size, whatever the settings file or the screen say.
        gui->setNextOpeningScale(scale);
        if (record->dispatcher(record, effEditOpen, 0, 0, reinterpret_cast<void*>(parent), 0.0f) != 1)
            return false;
        for (int pass = 0; pass < 2000; ++pass) {
            record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
            if (drawn()) return true;
        }
        return false;
    }
    void close() {
        record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
        // The window shows black again, so the next opening's pass is seen.
        XClearWindow(display, parent);
        XSync(display, False);
    }
    bool drawn() {
        XImage* image = XGetImage(display, parent, 2, 2, 1, 1, AllPlanes, ZPixmap);
        if (!image) return false;
        const unsigned long pixel = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        return (pixel & 0xFFFFFF) != 0;
    }

    Display* display;
    int32_t scale;
    Window parent = 0;
    QuorvaneTapedeck* effect = nullptr;
    QuorvaneTapedeckGUI* gui = nullptr;
    AEffect* record = nullptr;
};

struct Display_ {
    Display_() : display(XOpenDisplay(nullptr)) {
        if (display) platform::setBackend(&x11::x11Backend());
    }
    ~Display_() {
        if (display) XCloseDisplay(display);
    }
    Display* display;
};

Display* sharedDisplay() {
    static Display_ d;
    return d.display;
}

template <typename Clock = std::chrono::steady_clock> double seconds(typename Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// state.range(0): the size in percent.
void BM_EditorOpenCold(benchmark::State& state) {
    Display* display = sharedDisplay();
    if (!display) return state.SkipWithError("no X display");
    const int32_t scale = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        // No editor of the process exists before the instance: nothing of the skin is decoded.
        HostedEditor editor(display, scale);
        const auto start = std::chrono::steady_clock::now();
        const bool ok = editor.openAndDraw();
        state.SetIterationTime(seconds(start));
        if (!ok) return state.SkipWithError("the editor did not draw");
        if (editor.gui->getScale() != scale) return state.SkipWithError("the editor opened at another size");
        editor.close();
    }
}

void BM_EditorReopen(benchmark::State& state) {
    Display* display = sharedDisplay();
    if (!display) return state.SkipWithError("no X display");
    HostedEditor editor(display, static_cast<int32_t>(state.range(0)));
    if (!editor.openAndDraw()) return state.SkipWithError("the editor did not draw");
    editor.close();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = editor.openAndDraw();
        state.SetIterationTime(seconds(start));
        if (!ok) return state.SkipWithError("the editor did not draw");
        editor.close();
    }
}

void BM_EditorOpenSecond(benchmark::State& state) {
    Display* display = sharedDisplay();
    if (!display) return state.SkipWithError("no X display");
    const int32_t scale = static_cast<int32_t>(state.range(0));
    HostedEditor first(display, scale);
    if (!first.openAndDraw()) return state.SkipWithError("the editor did not draw");
    HostedEditor second(display, scale);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const bool ok = second.openAndDraw();
        state.SetIterationTime(seconds(start));
        if (!ok) return state.SkipWithError("the editor did not draw");
        second.close();
    }
    first.close();
}

// state.range(1) editors opened at once; the time is that of opening them all.
void BM_EditorMemory(benchmark::State& state) {
    Display* display = sharedDisplay();
    if (!display) return state.SkipWithError("no X display");
    const int32_t scale = static_cast<int32_t>(state.range(0));
    double gained = 0, images = 0;
    for (auto _ : state) {
        const double before = residentMegabytes();
        std::vector<std::unique_ptr<HostedEditor>> editors;
        const auto start = std::chrono::steady_clock::now();
        for (int64_t i = 0; i < state.range(1); ++i) {
            editors.push_back(std::make_unique<HostedEditor>(display, scale));
            if (!editors.back()->openAndDraw()) return state.SkipWithError("the editor did not draw");
        }
        state.SetIterationTime(seconds(start));
        gained = residentMegabytes() - before;
        images = static_cast<double>(CBitmap::pixelBytesHeld()) / 1e6;
        for (auto& e : editors) e->close();
    }
    state.counters["resident MB"] = gained;
    state.counters["image MB"] = images;
}

const std::vector<int64_t> kSizes = {100, 125, 150, 175, 200};

BENCHMARK(BM_EditorOpenCold)
    ->ArgsProduct({kSizes})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_EditorReopen)
    ->ArgsProduct({kSizes})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_EditorOpenSecond)
    ->ArgsProduct({kSizes})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_EditorMemory)
    ->ArgsProduct({{100, 200}, {1, 4}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
