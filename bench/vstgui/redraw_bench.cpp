// Redraw cost of an editor-sized frame on the memory backend: the skin background and 17 alpha bitmap
// views at the editor's places and sizes, drawn through the frame's idle pass into its window.
#include "strip_view.h"

#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_window.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace VSTGUI;
using vr58test::StripView;

namespace {

struct Placement {
    CRect rect;
    int32_t bitmap;
};

// The editor's fifteen controls, the VU meter and the peak LED.
constexpr Placement kLayout[] = {
    {{30, 67, 110, 147}, 102},   {{410, 67, 490, 147}, 102},  {{30, 220, 90, 280}, 103},
    {{140, 220, 200, 280}, 103}, {{320, 220, 380, 280}, 103}, {{430, 220, 490, 280}, 103},
    {{30, 330, 90, 390}, 103},   {{140, 330, 200, 390}, 103}, {{430, 330, 490, 390}, 103},
    {{240, 230, 280, 270}, 104}, {{150, 401, 190, 431}, 110}, {{440, 401, 480, 431}, 109},
    {{160, 5, 200, 35}, 108},    {{240, 0, 280, 30}, 109},    {{320, 0, 360, 30}, 109},
    {{165, 62, 355, 152}, 105},  {{328, 71, 356, 99}, 107},
};

struct EditorLikeFrame {
    EditorLikeFrame() {
        platform::setBackend(&soft::softBackend());
        host.width = 520;
        host.height = 440;
        frame = std::make_unique<CFrame>(CRect(0, 0, 520, 440), &host, nullptr);
        CBitmap* background = new CBitmap(101);
        frame->setBackground(background);
        background->release();
        for (const Placement& p : kLayout) {
            CBitmap* strip = new CBitmap(p.bitmap);
            auto* view = new StripView(p.rect, strip, p.rect.height() * 2);
            strip->release();
            frame->addView(view);
            views.push_back(view);
        }
        host.child->paint(CRect(0, 0, 520, 440)); // the first paint enables idle redraws
    }

    soft::HostWindow host;
    std::unique_ptr<CFrame> frame;
    std::vector<CView*> views;
};

void FullRedraw(benchmark::State& state) {
    EditorLikeFrame editor;
    if (editor.frame->getBackground()->getWidth() != 520) {
        state.SkipWithError("skin background 101 is not embedded");
        return;
    }
    for (auto _ : state) {
        editor.frame->setDirty(true);
        editor.frame->idle();
    }
    benchmark::DoNotOptimize(editor.host.child->screen().data.data());
}
BENCHMARK(FullRedraw)->Unit(benchmark::kMicrosecond);

void TwoSmallViewsDirty(benchmark::State& state) {
    EditorLikeFrame editor;
    CView* led = editor.views[16];
    CView* hold = editor.views[13];
    for (auto _ : state) {
        led->setDirty(true);
        hold->setDirty(true);
        editor.frame->idle();
    }
    benchmark::DoNotOptimize(editor.host.child->screen().data.data());
}
BENCHMARK(TwoSmallViewsDirty)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
