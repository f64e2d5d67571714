#include "driver.h"
#include "signals.h"

namespace vr58::validate {

namespace {
constexpr int kCycles = 1000;
constexpr int kLiveInstances = 33;
constexpr int kFrames = 4096;

// Every parameter at 0, so that nothing random (a hiss) tells instances apart.
StereoBuffer<float> renderAtZero(host::HostedPlugin& plugin, const StereoBuffer<float>& in) {
    prepare(plugin, 48000.0f, 512);
    setAllParameters(plugin, 0.0f);
    StereoBuffer<float> input = in, out(in.frames());
    for (size_t start = 0; start < in.frames(); start += 512) processCall(plugin, input, out, start, 512);
    return out;
}
} // namespace

void checkLifecycle(const Target& target, Check& check) {
    // Hosts keep the library loaded while they create and destroy effects; a few cycles unload it too.
    auto keeper = loadPlugin(target, check);
    if (!keeper) return;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        if (cycle == kCycles - 10) keeper.reset();
        auto plugin = loadPlugin(target, check);
        if (!plugin) return;
        plugin->dispatch(effMainsChanged, 0, 1);
        check.expect(plugin->close() == 1,
                     [&] { return "effClose did not answer 1 in cycle " + std::to_string(cycle); });
    }

    const auto in = makeSignal<float>(Signal::FullScaleNoise, kFrames, target.seed);
    std::vector<std::unique_ptr<host::HostedPlugin>> live;
    for (int i = 0; i < kLiveInstances; ++i) {
        live.push_back(loadPlugin(target, check));
        if (!live.back()) return;
    }
    const auto first = renderAtZero(*live[0], in);
    check.expect(std::isfinite(peakOf(first, 0, kFrames)), [] { return std::string("non-finite output"); });
    for (int i = 1; i < kLiveInstances; ++i) {
        const auto out = renderAtZero(*live[i], in);
        check.expect(out.left == first.left && out.right == first.right,
                     [&] { return "live instance " + std::to_string(i) + " differs from the first"; });
    }
    live.clear();

    // Suspend and resume between blocks: twins doing the same calls agree, and the output stays finite.
    auto a = loadPlugin(target, check);
    auto b = loadPlugin(target, check);
    if (!a || !b) return;
    StereoBuffer<float> input = in, outA(kFrames), outB(kFrames);
    for (auto* plugin : {a.get(), b.get()}) {
        prepare(*plugin, 44100.0f, 256);
        setAllParameters(*plugin, 0.0f);
    }
    for (int cycle = 0; cycle < 100; ++cycle) {
        const size_t start = (cycle * 256) % kFrames;
        for (auto* plugin : {a.get(), b.get()}) {
            plugin->mainsChanged(false);
            plugin->mainsChanged(true);
        }
        processCall(*a, input, outA, start, 256);
        processCall(*b, input, outB, start, 256);
        check.expect(std::isfinite(peakOf(outA, start, start + 256)) &&
                         std::equal(outA.left.begin() + start, outA.left.begin() + start + 256,
                                    outB.left.begin() + start),
                     [&] {
                         return "suspend/resume cycle " + std::to_string(cycle) +
                                ": twins disagree or not finite";
                     });
    }
}

} // namespace vr58::validate
