// The editor opened and closed a thousand times while another thread runs the process calls and changes
// meter parameters, as an audio thread and host automation do: no process call may reach view memory
// after a close, and neither thread waits for the other. Run under AddressSanitizer and ThreadSanitizer.
#include "editor/QuorvaneTapedeckGUI.h"
#include "editor_host.h"

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

using namespace VSTGUI;
using namespace vr58::testing;

namespace {

class EditorUnderAudio : public EditorTest {};

TEST_F(EditorUnderAudio, AThousandOpeningsAndClosingsWhileAudioRuns) {
    auto* effect = new QuorvaneTapedeck(EditorHost::callback, vr58::kEditorBuild);
    auto* editor = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
    effect->setSampleRate(48000.0f);

    std::atomic<bool> done{false};
    std::atomic<long> blocks{0};
    std::thread audio([&] {
        std::vector<float> left(256), right(256);
        float* io[] = {left.data(), right.data()};
        for (long block = 0; !done.load(std::memory_order_relaxed); ++block) {
            for (size_t i = 0; i < left.size(); ++i)
                left[i] = right[i] = 1.5f * std::sin(0.01f * (i + block));
            effect->processReplacing(io, io, 256);
            // Automation on the audio thread reaches the editor's listener while it opens and closes.
            if (block % 64 == 0)
                effect->setParameter(vr58::kEditorBuild.vuHoldIndex, (block / 64) % 2 ? 1.0f : 0.0f);
            blocks.fetch_add(1, std::memory_order_relaxed);
        }
    });

    int opened = 0;
    for (int cycle = 0; cycle < 1000; ++cycle) {
        if (!editor->open(&window)) break;
        ++opened;
        // Every so often the window paints and idles, so the meters read the feed while it is written.
        if (cycle % 20 == 0) {
            window.child->paint(window.child->screen().bounds());
            editor->idle();
        }
        editor->close();
    }
    done = true;
    audio.join();
    EXPECT_EQ(opened, 1000);
    EXPECT_GT(blocks.load(), 0);
    AEffect* record = effect->getAeffect();
    record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
}

} // namespace
