#include "driver.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>

namespace vr58::validate {

namespace {
constexpr int32_t kBlock = 256;
constexpr int kSingleThreadBlocks = 200;
constexpr int kMixedStateBlocks = 4000;

// One change a second thread makes over and over; `on` alternates. A change made of several calls lets a
// block on the audio thread, which reads the values at slightly different moments, meet any mix of the
// old and new values while the other thread laps it: `mixed` makes one such mix at random.
struct Toggle {
    std::string name;
    std::function<void(host::HostedPlugin&, bool on)> apply;
    std::function<void(host::HostedPlugin&, Random&)> mixed;
};

std::vector<Toggle> toggles(int32_t numParams) {
    std::vector<Toggle> list;
    for (int32_t i = 0; i < numParams; ++i)
        list.push_back({"parameter " + std::to_string(i),
                        [i](host::HostedPlugin& p, bool on) { p.setParameter(i, on ? 1.0f : 0.0f); },
                        nullptr});
    list.push_back(
        {"every parameter", [](host::HostedPlugin& p, bool on) { setAllParameters(p, on ? 1.0f : 0.0f); },
         [numParams](host::HostedPlugin& p, Random& random) {
             for (int32_t i = 0; i < numParams; ++i) p.setParameter(i, random.below(2) == 1 ? 1.0f : 0.0f);
         }});
    list.push_back({"sample rate 8000/192000",
                    [](host::HostedPlugin& p, bool on) { p.setSampleRate(on ? 8000.0f : 192000.0f); },
                    nullptr});
    return list;
}

// +-0.5 noise, in blocks alternately through the float and the double process call.
class NoiseProcessor {
public:
    explicit NoiseProcessor(uint32_t seed) {
        Random random(seed);
        for (int32_t i = 0; i < kBlock; ++i) {
            const double v = random.uniform(-0.5, 0.5);
            dIn.left[i] = v;
            dIn.right[i] = -v;
            fIn.left[i] = static_cast<float>(v);
            fIn.right[i] = static_cast<float>(-v);
        }
    }
    // Peak of one block; infinity when not finite.
    double block(host::HostedPlugin& plugin) {
        wide = !wide;
        if (wide) {
            processCall(plugin, dIn, dOut, 0, kBlock);
            nonFinite += nonFiniteCount(dOut, 0, kBlock);
            return peakOf(dOut, 0, kBlock);
        }
        processCall(plugin, fIn, fOut, 0, kBlock);
        nonFinite += nonFiniteCount(fOut, 0, kBlock);
        return peakOf(fOut, 0, kBlock);
    }
    size_t nonFinite = 0; // output samples so far

private:
    StereoBuffer<double> dIn{kBlock}, dOut{kBlock};
    StereoBuffer<float> fIn{kBlock}, fOut{kBlock};
    bool wide = false;
};

void runToggle(const Target& target, const Toggle& toggle, double seconds, Check& check) {
    // The same changes between blocks on one thread: what the settings reach when nothing races.
    auto single = loadPlugin(target, check);
    if (!single) return;
    prepare(*single, 48000.0f, kBlock);
    NoiseProcessor singleNoise(target.seed);
    double singlePeak = 0.0;
    for (int b = 0; b < kSingleThreadBlocks; ++b) {
        toggle.apply(*single, (b / 2) % 2 == 1);
        singlePeak = std::max(singlePeak, singleNoise.block(*single));
    }
    // The mixes of old and new values a change of several calls can show a block, with the sudden jumps
    // between them that blocks meet while the other thread is midway.
    if (toggle.mixed) {
        Random mixes(target.seed ^ 0x5eedu);
        for (int b = 0; b < kMixedStateBlocks; ++b) {
            toggle.mixed(*single, mixes);
            singlePeak = std::max(singlePeak, singleNoise.block(*single));
        }
    }

    auto plugin = loadPlugin(target, check);
    if (!plugin) return;
    prepare(*plugin, 48000.0f, kBlock);
    std::atomic<bool> stop{false};
    std::thread changer([&] {
        for (bool on = true; !stop.load(std::memory_order_relaxed); on = !on) toggle.apply(*plugin, on);
    });
    NoiseProcessor noise(target.seed);
    const Budget budget(seconds);
    double peak = 0.0;
    long blocks = 0;
    while ((budget.left() || blocks < 16) && std::isfinite(peak)) {
        peak = std::max(peak, noise.block(*plugin));
        ++blocks;
    }
    stop = true;
    changer.join();
    // Twice (+6 dB) what the single-threaded run reached: a change between other blocks may overshoot a
    // little more, an unstable filter reaches 1e300.
    const double limit = 2.0 * singlePeak + 1e-3;
    check.expect(noise.nonFinite == 0 && peak <= limit, [&] {
        return toggle.name + " changed from a second thread: output " +
               (noise.nonFinite ? std::to_string(noise.nonFinite) + " samples not finite"
                                : "peaks at " + std::to_string(peak)) +
               " against " + std::to_string(singlePeak) + " single-threaded, after " +
               std::to_string(blocks) + " blocks";
    });
}
} // namespace

void checkThreads(const Target& target, const Budget& budget, Check& check) {
    auto keeper = loadPlugin(target, check);
    if (!keeper) return;
    const auto list = toggles(keeper->effect()->numParams);
    for (size_t i = 0; i < list.size(); ++i) {
        // An equal share of what is left of the budget for each remaining toggle.
        const double share = budget.secondsLeft() / static_cast<double>(list.size() - i);
        runToggle(target, list[i], std::max(0.02, share), check);
    }
}

} // namespace vr58::validate
