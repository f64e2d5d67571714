// One idle pass of the editor's frame with the meters showing: the nine knobs and six switches are clean, the
// VU meter and the peak LED are redrawn (they are dirty at every pass), on the memory backend with the
// real skin, views and layout.
#include "editor/QuorvanePeakLed.h"
#include "editor/QuorvaneVU.h"
#include "editor/editor_layout.h"
#include "tape/meter_feed.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/chorizontalswitch.h"
#include "vstgui/cknob.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_window.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace VSTGUI;

namespace {

struct EditorFrame {
    EditorFrame() {
        platform::setBackend(&soft::softBackend());
        host.width = 520;
        host.height = 440;
        frame = std::make_unique<CFrame>(CRect(0, 0, 520, 440), &host, nullptr);
        CBitmap* background = new CBitmap(vr58::kSkinBackgroundId);
        frame->setBackground(background);
        background->release();
        feed.start();
        for (const vr58::EditorViewLayout& v : vr58::kEditorLayout) {
            const CRect r(v.left, v.top, v.right, v.bottom);
            CBitmap* strip = new CBitmap(v.bitmapId);
            CView* view = nullptr;
            switch (v.kind) {
            case vr58::EditorViewKind::Knob:
                view = new CAnimKnob(r, nullptr, v.tag, v.frames, v.frameHeight, strip);
                break;
            case vr58::EditorViewKind::Switch:
                view = new CHorizontalSwitch(r, nullptr, v.tag, v.frames, v.frameHeight, v.frames, strip);
                break;
            case vr58::EditorViewKind::VuMeter: {
                auto* vu = new QuorvaneVU(r, &feed, strip);
                CBitmap* hold = new CBitmap(vr58::kVuHoldNeedleId);
                vu->setHoldBitmap(hold);
                hold->release();
                view = vu;
                break;
            }
            case vr58::EditorViewKind::PeakLed:
                view = new QuorvanePeakLed(r, &feed, strip);
                break;
            }
            if (auto* control = dynamic_cast<CControl*>(view))
                control->setValue(v.hasParameter() ? v.parameter().defaultValue : 0.0f);
            strip->release();
            frame->addView(view);
        }
        host.child->paint(CRect(0, 0, 520, 440)); // the first paint enables idle redraws
    }

    // Audio at a steady level after a louder passage and an over: the needle mid-scale with the hold
    // needle above it and the LED lit (the clock stands still, so they stay so at every pass).
    void play(double level, double peak) {
        vr58::MeterFeed::Block block = feed.beginBlock(48000.0);
        for (int i = 0; i < 4 * 48000; ++i) block.push(level);
        block.push(peak);
        feed.endBlock(block);
    }

    soft::HostWindow host;
    vr58::MeterFeed feed;
    std::unique_ptr<CFrame> frame;
};

void IdlePassRedrawsOnlyTheMeters(benchmark::State& state) {
    EditorFrame editor;
    if (editor.frame->getBackground()->getWidth() != 520) {
        state.SkipWithError("skin background 101 is not embedded");
        return;
    }
    editor.play(0.11, 0.0);
    editor.frame->idle();
    editor.play(0.07, 1.2);
    for (auto _ : state) editor.frame->idle();
    benchmark::DoNotOptimize(editor.host.child->screen().data.data());
}
BENCHMARK(IdlePassRedrawsOnlyTheMeters)->Unit(benchmark::kMicrosecond);

} // namespace
