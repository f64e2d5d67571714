// Driving a loaded plug-in the way the checks need: prepared like a host prepares it, process calls on
// stereo buffers in either precision, and the peak of what came out.
#pragma once

#include "check.h"
#include "checks.h"
#include "host/hosted_plugin.h"

#include <cmath>
#include <memory>
#include <vector>

namespace vr58::validate {

// Above this an output has blown up (+80 dBFS). A legitimate chain may come near +60 dBFS: the tape chain
// at full gain and treble reaches about 1000 on a saturated tone; an unstable filter goes far beyond.
constexpr double kOutputBound = 10000.0;

// The binary loaded and opened; a failure to load is a failed case of the check.
std::unique_ptr<host::HostedPlugin> loadPlugin(const Target& target, Check& check);

// effOpen has been sent by loadPlugin; this sets rate and block and switches processing on.
void prepare(host::HostedPlugin& plugin, float sampleRate, int32_t blockSize);

// Sets every parameter to one value.
void setAllParameters(host::HostedPlugin& plugin, float value);

template <typename Sample> struct StereoBuffer {
    explicit StereoBuffer(size_t frames = 0) : left(frames), right(frames) {}
    std::vector<Sample> left, right;
    size_t frames() const { return left.size(); }
};

// One process call over frames [start, start + frames) of in into the same frames of out.
template <typename Sample>
bool processCall(host::HostedPlugin& plugin, StereoBuffer<Sample>& in, StereoBuffer<Sample>& out,
                 size_t start, int32_t frames) {
    Sample* ins[2] = {in.left.data() + start, in.right.data() + start};
    Sample* outs[2] = {out.left.data() + start, out.right.data() + start};
    if constexpr (sizeof(Sample) == sizeof(float))
        return plugin.processReplacing(ins, outs, frames);
    else
        return plugin.processDoubleReplacing(ins, outs, frames);
}

// The largest magnitude in frames [start, end) of both channels; infinity if any sample is not finite.
template <typename Sample> double peakOf(const StereoBuffer<Sample>& b, size_t start, size_t end) {
    double peak = 0.0;
    for (size_t i = start; i < end; ++i) {
        const double l = b.left[i], r = b.right[i];
        if (!std::isfinite(l) || !std::isfinite(r)) return INFINITY;
        peak = std::max(peak, std::max(std::abs(l), std::abs(r)));
    }
    return peak;
}

// How many samples of frames [start, end) of both channels are NaN or infinite.
template <typename Sample> size_t nonFiniteCount(const StereoBuffer<Sample>& b, size_t start, size_t end) {
    size_t count = 0;
    for (size_t i = start; i < end; ++i) count += !std::isfinite(b.left[i]) + !std::isfinite(b.right[i]);
    return count;
}

const char* precisionName(bool doublePrecision);

} // namespace vr58::validate
