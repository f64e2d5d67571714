#include "allocation_watch.h"
#include "driver.h"
#include "signals.h"

#include <limits>
#include <sstream>

namespace vr58::validate {

namespace {
struct BlockPlan {
    int32_t announced; // effSetBlockSize
    int32_t called;    // frames per process call
};

const std::vector<float>& sampleRates() {
    static const std::vector<float> rates = {1.0f, 100.0f, 1234.5678f, 8000.0f, 11025.0f, 22050.0f, 44100.0f,
                                             48000.0f, 88200.0f, 96000.0f, 176400.0f, 192000.0f, 384000.0f,
                                             768000.0f,
                                             // Invalid: a plug-in must ignore them or cope.
                                             0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                                             std::numeric_limits<float>::infinity(), 1e-30f, 3e38f};
    return rates;
}

const std::vector<BlockPlan>& blockPlans() {
    static const std::vector<BlockPlan> plans = {
        {512, 0},   {1, 1},       {2, 2},       {3, 3},         {31, 31},  {64, 64},
        {512, 512}, {1024, 1024}, {4096, 4096}, {16384, 16384}, {64, 4096}}; // longer calls than announced
    return plans;
}

std::string caseName(float rate, const BlockPlan& plan, Signal signal, bool wide) {
    std::ostringstream out;
    out << rate << " Hz, block " << plan.announced << "/" << plan.called << ", " << signalName(signal) << ", "
        << precisionName(wide);
    return out.str();
}

// One case: a signal through an effect prepared for the rate and block plan, in one precision.
template <typename Sample>
void runCase(const Target& target, host::HostedPlugin& plugin, float rate, const BlockPlan& plan,
             Signal signal, Check& check, Check& allocations) {
    const size_t frames = std::max<size_t>(4096, static_cast<size_t>(plan.called));
    auto in = makeSignal<Sample>(signal, frames, target.seed);
    StereoBuffer<Sample> out(frames);
    long heapCalls = 0;
    size_t start = 0;
    for (; start + static_cast<size_t>(plan.called) <= frames;
         start += static_cast<size_t>(std::max(plan.called, 1))) {
        allocations::begin();
        processCall(plugin, in, out, start, plan.called);
        heapCalls += allocations::end();
        if (plan.called == 0) break;
    }
    const size_t end = plan.called == 0 ? 0 : start;
    const size_t nonFinite = nonFiniteCount(out, 0, end);
    const double peak = peakOf(out, 0, end);
    check.expect(nonFinite == 0 && peak <= kOutputBound, [&] {
        return caseName(rate, plan, signal, sizeof(Sample) == 8) + ": output " +
               (nonFinite ? std::to_string(nonFinite) + " samples not finite"
                          : "peaks at " + std::to_string(peak));
    });
    if (allocations::available())
        allocations.expect(heapCalls == 0, [&] {
            return caseName(rate, plan, signal, sizeof(Sample) == 8) + ": " + std::to_string(heapCalls) +
                   " heap calls inside process calls";
        });
}
} // namespace

void checkAudioRange(const Target& target, Check& check, Check& allocations) {
    if (!allocations::available()) allocations.skip("no allocation watch in sanitizer builds");
    auto keeper = loadPlugin(target, check); // keeps the library loaded between the cases
    if (!keeper) return;
    // One effect per rate and block plan takes every signal in both precisions, one after the other.
    for (float rate : sampleRates())
        for (const BlockPlan& plan : blockPlans()) {
            auto plugin = loadPlugin(target, check);
            if (!plugin) return;
            allocations::attach(*plugin);
            prepare(*plugin, rate, plan.announced);
            for (Signal signal : allSignals()) {
                runCase<float>(target, *plugin, rate, plan, signal, check, allocations);
                runCase<double>(target, *plugin, rate, plan, signal, check, allocations);
            }
        }
}

} // namespace vr58::validate
