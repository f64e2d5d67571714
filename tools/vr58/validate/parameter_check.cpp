#include "driver.h"

#include <cfloat>
#include <cstdio>
#include <cstring>
#include <limits>

namespace vr58::validate {

namespace {
std::string describe(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

// After any set: every stored value finite in 0..1, every display printable and terminated in its limit.
void expectSaneStore(host::HostedPlugin& plugin, const std::string& after, Check& check) {
    const int32_t n = plugin.effect()->numParams;
    for (int32_t i = 0; i < n; ++i) {
        const float v = plugin.getParameter(i);
        check.expect(std::isfinite(v) && v >= 0.0f && v <= 1.0f, [&] {
            return "after " + after + ", parameter " + std::to_string(i) + " reads " + describe(v);
        });
        const host::TextBuffer text = plugin.rawText(effGetParamDisplay, i);
        bool sane = false;
        for (size_t c = 0; c <= kVstMaxParamStrLen; ++c) {
            if (text[c] == 0) {
                sane = true;
                break;
            }
            if (text[c] < 0x20 || text[c] > 0x7E) break;
        }
        for (size_t c = kVstMaxParamStrLen + 1; c < text.size(); ++c)
            sane = sane && text[c] == host::kUntouchedByte;
        check.expect(sane, [&] {
            return "after " + after + ", the display of parameter " + std::to_string(i) +
                   " is not printable text terminated within 8 characters";
        });
    }
    for (int32_t index :
         {-1, n, 1000, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()})
        check.expect(std::isfinite(plugin.getParameter(index)),
                     [&] { return "getParameter(" + std::to_string(index) + ") is not finite"; });
}

void expectFiniteAudio(host::HostedPlugin& plugin, const std::string& after, Check& check) {
    StereoBuffer<double> in(256), out(256);
    for (size_t i = 0; i < 256; ++i) in.left[i] = in.right[i] = std::sin(i * 0.1) * 0.5;
    processCall(plugin, in, out, 0, 256);
    const double peak = peakOf(out, 0, 256);
    check.expect(peak <= kOutputBound,
                 [&] { return "after " + after + ", the output peaks at " + std::to_string(peak); });
}
} // namespace

void checkParameters(const Target& target, const Budget& budget, Check& check) {
    auto plugin = loadPlugin(target, check);
    if (!plugin) return;
    prepare(*plugin, 48000.0f, 256);
    const int32_t n = plugin->effect()->numParams;
    const float values[] = {std::numeric_limits<float>::quiet_NaN(),
                            -std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            FLT_MAX,
                            -FLT_MAX,
                            1e30f,
                            -1e30f,
                            2.0f,
                            -1.0f,
                            1e-40f,
                            -1e-40f,
                            std::numeric_limits<float>::denorm_min(),
                            -0.0f,
                            0.0f,
                            1.0f,
                            std::nextafter(1.0f, 2.0f),
                            0.5f};
    for (float value : values) {
        for (int32_t i = 0; i < n; ++i) plugin->setParameter(i, value);
        for (int32_t index : {-1, n, n + 1, 100000, std::numeric_limits<int32_t>::min()})
            plugin->setParameter(index, value);
        expectSaneStore(*plugin, "setting every parameter to " + describe(value), check);
        expectFiniteAudio(*plugin, "setting every parameter to " + describe(value), check);
    }
    Random random(target.seed);
    while (budget.left()) {
        for (int i = 0; i < 50; ++i) {
            const int32_t index = static_cast<int32_t>(random.below(static_cast<uint32_t>(n) + 2)) - 1;
            uint32_t bits = static_cast<uint32_t>(random.next());
            float value;
            std::memcpy(&value, &bits, sizeof value);
            plugin->setParameter(index, value);
        }
        expectSaneStore(*plugin, "random bit patterns", check);
        expectFiniteAudio(*plugin, "random bit patterns", check);
    }
}

} // namespace vr58::validate
