#include "driver.h"

#include <cstring>
#include <limits>

namespace vr58::validate {

namespace {
std::vector<uint8_t> randomBytes(Random& random, size_t size) {
    std::vector<uint8_t> bytes(size);
    for (auto& b : bytes) b = static_cast<uint8_t>(random.next());
    return bytes;
}

std::vector<uint8_t> floats(size_t count, float value) {
    std::vector<uint8_t> bytes(4 * count);
    for (size_t i = 0; i < count; ++i) std::memcpy(&bytes[4 * i], &value, 4);
    return bytes;
}

// After a restore: values finite in 0..1, audio finite, and the state survives a round trip through a
// second instance byte for byte.
void expectSaneAfter(const Target& target, host::HostedPlugin& plugin, const std::string& what,
                     Check& check) {
    const int32_t n = plugin.effect()->numParams;
    for (int32_t i = 0; i < n; ++i) {
        const float v = plugin.getParameter(i);
        check.expect(std::isfinite(v) && v >= 0.0f && v <= 1.0f, [&] {
            return "after " + what + ", parameter " + std::to_string(i) + " is out of 0..1";
        });
    }
    StereoBuffer<float> in(256), out(256);
    for (size_t i = 0; i < 256; ++i) in.left[i] = in.right[i] = static_cast<float>(std::sin(i * 0.2) * 0.5);
    processCall(plugin, in, out, 0, 256);
    check.expect(peakOf(out, 0, 256) <= kOutputBound,
                 [&] { return "after " + what + ", the output blew up"; });

    const host::Chunk saved = plugin.getChunk();
    auto twin = loadPlugin(target, check);
    if (!twin) return;
    twin->setChunk(saved.bytes);
    const host::Chunk again = twin->getChunk();
    bool same = again.bytes == saved.bytes;
    for (int32_t i = 0; i < n; ++i) same = same && twin->getParameter(i) == plugin.getParameter(i);
    check.expect(same, [&] { return "after " + what + ", the state does not survive a round trip"; });
}
} // namespace

void checkChunks(const Target& target, const Budget& budget, Check& check) {
    auto plugin = loadPlugin(target, check);
    if (!plugin) return;
    prepare(*plugin, 44100.0f, 256);
    const size_t n = static_cast<size_t>(plugin->effect()->numParams);
    expectSaneAfter(target, *plugin, "nothing", check);

    plugin->dispatch(effSetChunk, 0, 60, nullptr);
    plugin->dispatch(effSetChunk, 1, 4096, nullptr);
    expectSaneAfter(target, *plugin, "a null chunk", check);
    for (float value : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                        -std::numeric_limits<float>::infinity(), 1e30f, -0.0f}) {
        plugin->setChunk(floats(n, value));
        expectSaneAfter(target, *plugin, "a chunk of " + std::to_string(value), check);
    }
    Random random(target.seed);
    for (size_t size : {size_t(0), size_t(1), size_t(3), 4 * n - 1, 4 * n, 4 * n + 1, size_t(48), size_t(60),
                        size_t(4096), size_t(1) << 20}) {
        plugin->setChunk(randomBytes(random, size));
        expectSaneAfter(target, *plugin, std::to_string(size) + " random bytes", check);
    }
    while (budget.left()) {
        const size_t size = random.below(4) == 0 ? random.below(1u << 20) : random.below(128);
        plugin->setChunk(randomBytes(random, size));
        expectSaneAfter(target, *plugin, std::to_string(size) + " random bytes", check);
    }
}

} // namespace vr58::validate
