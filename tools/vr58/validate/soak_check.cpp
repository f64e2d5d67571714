#include "driver.h"
#include "vst2/soft_host_protocol.h"
#include "resident_memory.h"

#include <atomic>
#include <chrono>
#include <iomanip>
#include <ostream>
#include <thread>

namespace vr58::validate {

namespace {
constexpr int32_t kLongestBlock = 4096;
// How long the processing stays at one sample rate and block size before the host changes them.
constexpr auto kSettingTime = std::chrono::milliseconds(500);

const float kRates[] = {44100.0f, 48000.0f, 88200.0f, 96000.0f, 192000.0f, 22050.0f, 8000.0f};
const int32_t kBlocks[] = {kLongestBlock, 1024, 512, 256, 64, 32};

// Music-like input: a sine whose level and pitch wander, with noise on top, at most full scale.
template <typename Sample> void fillInput(StereoBuffer<Sample>& in, Random& random) {
    const double level = random.uniform(0.01, 1.0), step = random.uniform(0.001, 0.3);
    for (size_t i = 0; i < in.frames(); ++i) {
        const double tone = 0.8 * std::sin(step * static_cast<double>(i));
        in.left[i] = static_cast<Sample>(level * (tone + random.uniform(-0.2, 0.2)));
        in.right[i] = static_cast<Sample>(level * (tone + random.uniform(-0.2, 0.2)));
    }
}

double megabytes(int64_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

intptr_t softRequest(host::HostedPlugin& plugin, softhost::Request what, void* ptr = nullptr) {
    return plugin.dispatch(effVendorSpecific, softhost::kVendorIndex, what, ptr);
}

// The host's user-interface thread: saves and loads the state and, where the plug-in has an editor the
// memory backend can hold, opens it, idles it a few times and closes it again.
struct UiThreadWork {
    std::atomic<long> chunkRoundTrips{0};
    std::atomic<long> editorOpens{0};
    std::atomic<long> failedOpens{0};
    std::atomic<long> chunkMismatches{0};

    void run(host::HostedPlugin& plugin, bool editor, uint32_t seed, const std::atomic<bool>& stop) {
        Random random(seed);
        uint32_t clock = 0;
        while (!stop.load(std::memory_order_relaxed)) {
            const bool isPreset = random.below(2) == 1;
            const host::Chunk saved = plugin.getChunk(isPreset);
            if (saved.size > 0 && static_cast<size_t>(saved.size) != saved.bytes.size()) ++chunkMismatches;
            if (!saved.bytes.empty()) plugin.setChunk(saved.bytes, isPreset);
            ++chunkRoundTrips;
            if (!editor) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                continue;
            }
            softhost::Window parent{0, 0};
            if (plugin.dispatch(effEditOpen, 0, 0, &parent) != 1) {
                ++failedOpens;
                continue;
            }
            ++editorOpens;
            softRequest(plugin, softhost::kPaint);
            for (int i = 0; i < 8 && !stop.load(std::memory_order_relaxed); ++i) {
                clock += 20;
                softRequest(plugin, softhost::kSetClock, &clock);
                plugin.dispatch(effEditIdle);
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            plugin.dispatch(effEditClose);
        }
    }
};
} // namespace

void checkSoak(const Target& target, double seconds, Check& check, std::ostream& out) {
    auto plugin = loadPlugin(target, check);
    if (!plugin) return;
    const int32_t parameters = plugin->effect()->numParams;
    const bool editor =
        (plugin->effect()->flags & effFlagsHasEditor) != 0 && softRequest(*plugin, softhost::kEnable) == 1;
    Random random(target.seed);
    StereoBuffer<float> floatIn(kLongestBlock), floatOut(kLongestBlock);
    StereoBuffer<double> doubleIn(kLongestBlock), doubleOut(kLongestBlock);
    fillInput(floatIn, random);
    fillInput(doubleIn, random);
    prepare(*plugin, 48000.0f, 512);

    const int64_t startMemory = residentBytes();
    std::atomic<bool> stop{false};
    std::atomic<long> automation{0};
    std::thread automator([&] {
        Random own(target.seed + 1);
        while (!stop.load(std::memory_order_relaxed)) {
            for (int i = 0; i < 16; ++i)
                plugin->setParameter(static_cast<int32_t>(own.below(static_cast<uint32_t>(parameters))),
                                     static_cast<float>(own.uniform(0.0, 1.0)));
            automation += 16;
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    });
    UiThreadWork ui;
    std::thread uiThread([&] { ui.run(*plugin, editor, target.seed + 2, stop); });

    const Budget budget(seconds);
    long blocks = 0, changes = 0, nonFinite = 0;
    double audioSeconds = 0.0;
    int32_t block = 512;
    float rate = 48000.0f;
    while (budget.left()) {
        const auto settingEnd = std::chrono::steady_clock::now() + kSettingTime;
        while (std::chrono::steady_clock::now() < settingEnd) {
            // Hosts call with fewer frames than announced at the ends of loops and around automation.
            const int32_t frames =
                random.below(4) == 0 ? 1 + static_cast<int32_t>(random.below(block)) : block;
            if (random.below(2) == 0) {
                processCall(*plugin, floatIn, floatOut, 0, frames);
                nonFinite += static_cast<long>(nonFiniteCount(floatOut, 0, static_cast<size_t>(frames)));
            } else {
                processCall(*plugin, doubleIn, doubleOut, 0, frames);
                nonFinite += static_cast<long>(nonFiniteCount(doubleOut, 0, static_cast<size_t>(frames)));
            }
            audioSeconds += frames / static_cast<double>(rate);
            ++blocks;
        }
        // A host changes rate and block size with processing switched off.
        plugin->mainsChanged(false);
        rate = kRates[random.below(std::size(kRates))];
        block = kBlocks[random.below(std::size(kBlocks))];
        plugin->setSampleRate(rate);
        plugin->setBlockSize(block);
        plugin->mainsChanged(true);
        fillInput(floatIn, random);
        fillInput(doubleIn, random);
        ++changes;
        plugin->clearCalls(); // the host library records every callback call; a soak must not grow it
    }
    stop = true;
    automator.join();
    uiThread.join();
    plugin->mainsChanged(false);
    const int64_t endMemory = residentBytes();

    check.expect(nonFinite == 0, [&] {
        return std::to_string(nonFinite) + " non-finite output samples in " + std::to_string(blocks) +
               " blocks";
    });
    check.expect(ui.chunkMismatches == 0, [&] {
        return std::to_string(ui.chunkMismatches.load()) + " saved states whose size was not what was copied";
    });
    check.expect(!editor || (ui.editorOpens > 0 && ui.failedOpens == 0), [&] {
        return "the editor opened " + std::to_string(ui.editorOpens.load()) + " times and refused " +
               std::to_string(ui.failedOpens.load());
    });
    out << std::fixed << std::setprecision(1) << "soak: " << blocks << " process calls (" << audioSeconds
        << " s of audio), " << nonFinite << " non-finite samples; " << changes << " rate/block changes, "
        << automation.load() << " automated values, " << ui.chunkRoundTrips.load()
        << " state saves and loads, "
        << (editor ? std::to_string(ui.editorOpens.load()) + " editor opens" : std::string("no editor"))
        << "\nsoak: resident memory " << megabytes(startMemory) << " MB at the start, "
        << megabytes(endMemory) << " MB at the end\n";
}

} // namespace vr58::validate
