// The editor opened and closed a thousand times while another thread runs the process calls and changes
// meter parameters, as an audio thread and host automation do: no process call may reach view memory
// after a close, and neither thread waits for the other. Then the editors of two instances on two GUI
// threads at once, as some Linux hosts run them: what they share (the skin bitmaps and their counts, the
// knob mode, the backend) must hold; and at two sizes, where the two editors make the frames of the images
// they share as they first draw them. Run under AddressSanitizer and ThreadSanitizer.
#include "vst2/QuorvaneTapedeckGUI.h"
#include "editor/skin_bitmaps.h"
#include "editor_host.h"

#include <array>
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

// Callbacks of both instances arrive on their own threads: answer without recording anything.
intptr_t quietHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 1;
}

TEST_F(EditorUnderAudio, EditorsOfTwoInstancesLiveOnTwoThreadsWhileBothProcess) {
    constexpr int kRounds = 200;
    struct Instance {
        QuorvaneTapedeck* effect = nullptr;
        soft::HostWindow window;
        std::atomic<int> opened{0};
    };
    std::array<Instance, 2> instances;
    for (Instance& in : instances) {
        in.effect = new QuorvaneTapedeck(quietHost, vr58::kEditorBuild);
        new QuorvaneTapedeckGUI(in.effect, in.effect->meterFeed());
        in.effect->setSampleRate(48000.0f);
        in.window.width = 520;
        in.window.height = 440;
    }

    std::atomic<bool> done{false};
    std::vector<std::thread> threads;
    for (Instance& in : instances)
        threads.emplace_back([&done, effect = in.effect] {
            std::vector<float> left(128), right(128);
            float* io[] = {left.data(), right.data()};
            for (long block = 0; !done.load(std::memory_order_relaxed); ++block) {
                for (size_t i = 0; i < left.size(); ++i)
                    left[i] = right[i] = 1.2f * std::sin(0.02f * (i + block));
                effect->processReplacing(io, io, 128);
            }
        });
    std::vector<std::thread> guis;
    for (int n = 0; n < 2; ++n)
        guis.emplace_back([&in = instances[n], n] {
            AEffect* record = in.effect->getAeffect();
            const auto dispatch = [record](int32_t opcode, intptr_t value = 0, void* ptr = nullptr) {
                return record->dispatcher(record, opcode, 0, value, ptr, 0.0f);
            };
            for (int round = 0; round < kRounds; ++round) {
                if (dispatch(effEditOpen, 0, &in.window) != 1 || !in.window.child) return;
                in.opened.fetch_add(1);
                // Both threads write and read the process's one knob mode.
                dispatch(effSetEditKnobMode, (round + n) % 3);
                in.window.child->paint(in.window.child->screen().bounds());
                dispatch(effEditIdle);
                dispatch(effEditClose);
            }
        });
    for (std::thread& t : guis) t.join();
    done = true;
    for (std::thread& t : threads) t.join();

    for (Instance& in : instances) {
        EXPECT_EQ(in.opened.load(), kRounds);
        EXPECT_EQ(in.window.child, nullptr);
        AEffect* record = in.effect->getAeffect();
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    }
}

TEST_F(EditorUnderAudio, EditorsOnTwoThreadsAtTwoSizesShareTheFramesTheyDraw) {
    constexpr int kRounds = 8;
    struct Instance {
        QuorvaneTapedeck* effect = nullptr;
        QuorvaneTapedeckGUI* editor = nullptr;
        soft::HostWindow window;
        std::atomic<int> opened{0};
    };
    std::array<Instance, 2> instances;
    for (Instance& in : instances) {
        in.effect = new QuorvaneTapedeck(quietHost, vr58::kEditorBuild);
        in.editor = new QuorvaneTapedeckGUI(in.effect, in.effect->meterFeed());
        in.effect->setSampleRate(48000.0f);
        in.window.width = 1040;
        in.window.height = 880;
    }
    std::atomic<bool> done{false};
    std::vector<std::thread> audio;
    for (Instance& in : instances)
        audio.emplace_back([&done, effect = in.effect] {
            std::vector<float> left(128), right(128);
            float* io[] = {left.data(), right.data()};
            for (long block = 0; !done.load(std::memory_order_relaxed); ++block) {
                for (size_t i = 0; i < left.size(); ++i)
                    left[i] = right[i] = 1.2f * std::sin(0.02f * (i + block));
                effect->processReplacing(io, io, 128);
            }
        });
    std::vector<std::thread> guis;
    for (int n = 0; n < 2; ++n)
        guis.emplace_back([&in = instances[n], n] {
            AEffect* record = in.effect->getAeffect();
            for (int round = 0; round < kRounds; ++round) {
                // Both threads at 150 %, then both at 200 %, their knobs on frames not drawn before.
                in.editor->setNextOpeningScale(round % 4 < 2 ? 150 : 200);
                in.effect->setParameter(0, static_cast<float>(round * 2 + n) / 96.0f);
                if (record->dispatcher(record, effEditOpen, 0, 0, &in.window, 0.0f) != 1 || !in.window.child)
                    return;
                in.opened.fetch_add(1);
                in.window.child->paint(in.window.child->screen().bounds());
                record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f);
                record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f);
            }
        });
    for (std::thread& t : guis) t.join();
    done = true;
    for (std::thread& t : audio) t.join();
    for (Instance& in : instances) {
        EXPECT_EQ(in.opened.load(), kRounds);
        AEffect* record = in.effect->getAeffect();
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    }
    EXPECT_FALSE(vr58::SkinBitmaps::isDecoded(150));
    EXPECT_FALSE(vr58::SkinBitmaps::isDecoded(200));
}

} // namespace
