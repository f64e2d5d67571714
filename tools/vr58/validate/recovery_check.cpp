#include "driver.h"
#include "signals.h"

#include <limits>
#include <sstream>

namespace vr58::validate {

namespace {
constexpr int32_t kBlock = 512;
constexpr size_t kFrames = 16 * kBlock;
constexpr size_t kBadFrame = 4900;

template <typename Sample> std::vector<Sample> badValues() {
    return {std::numeric_limits<Sample>::quiet_NaN(), std::numeric_limits<Sample>::infinity(),
            -std::numeric_limits<Sample>::infinity(), std::numeric_limits<Sample>::max(),
            static_cast<Sample>(sizeof(Sample) == 8 ? 1e300 : 1e38)};
}

template <typename Sample>
void recoverFrom(const Target& target, Sample bad, float parameterValue, bool everyChannel, Check& check) {
    auto plugin = loadPlugin(target, check);
    if (!plugin) return;
    prepare(*plugin, 48000.0f, kBlock);
    if (parameterValue >= 0.0f) setAllParameters(*plugin, parameterValue);
    auto in = makeSine<Sample>(kFrames);
    in.left[kBadFrame] = bad;
    if (everyChannel) in.right[kBadFrame] = bad;
    StereoBuffer<Sample> out(kFrames);
    for (size_t start = 0; start < kFrames; start += kBlock) processCall(*plugin, in, out, start, kBlock);
    const size_t nextBlock = (kBadFrame / kBlock + 1) * kBlock;
    const double before = peakOf(out, 0, kBadFrame);
    const double after = peakOf(out, nextBlock, kFrames);
    // Not one sample of the host's bus may be NaN or infinite, the bad one's own block included.
    const size_t nonFinite = nonFiniteCount(out, 0, kFrames);
    check.expect(nonFinite == 0 && before <= kOutputBound && after <= kOutputBound, [&] {
        std::ostringstream value;
        value << static_cast<double>(bad);
        return value.str() + " in a sine (" + precisionName(sizeof(Sample) == 8) + ", parameters " +
               (parameterValue < 0.0f ? std::string("at their defaults")
                                      : "at " + std::to_string(parameterValue)) +
               "): " + std::to_string(nonFinite) + " output samples not finite, output peaks at " +
               std::to_string(after) + " from the next block on";
    });
}

template <typename Sample> void recoverAll(const Target& target, Check& check) {
    for (Sample bad : badValues<Sample>())
        for (float parameters : {-1.0f, 0.0f, 1.0f})
            for (bool everyChannel : {false, true})
                recoverFrom<Sample>(target, bad, parameters, everyChannel, check);
}
} // namespace

void checkRecovery(const Target& target, Check& check) {
    auto keeper = loadPlugin(target, check);
    if (!keeper) return;
    recoverAll<float>(target, check);
    recoverAll<double>(target, check);
}

} // namespace vr58::validate
