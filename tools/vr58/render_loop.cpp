#include "render_loop.h"

#include <algorithm>
#include <type_traits>

namespace vr58::tool {

namespace {

template <typename Sample>
void renderAs(host::HostedPlugin& plugin, FrameSource& source, FrameSink& sink, int blockSize,
              const std::function<void(size_t)>& progress) {
    const AEffect& record = *plugin.effect();
    const int sourceChannels = source.channels();
    const int sinkChannels = renderedChannels(plugin, sourceChannels);
    const size_t block = static_cast<size_t>(blockSize);

    // Every buffer is allocated once, before the first process call.
    std::vector<double> interleavedIn(block * static_cast<size_t>(sourceChannels));
    std::vector<double> interleavedOut(block * static_cast<size_t>(sinkChannels));
    std::vector<std::vector<Sample>> in(static_cast<size_t>(record.numInputs), std::vector<Sample>(block));
    std::vector<std::vector<Sample>> out(static_cast<size_t>(record.numOutputs), std::vector<Sample>(block));
    std::vector<Sample*> inPointers;
    std::vector<Sample*> outPointers;
    for (auto& channel : in) inPointers.push_back(channel.data());
    for (auto& channel : out) outPointers.push_back(channel.data());

    size_t done = 0;
    for (;;) {
        const size_t frames = source.read(interleavedIn.data(), block);
        if (frames == 0) break;
        for (size_t c = 0; c < in.size(); ++c) {
            const size_t from = sourceChannels == 1 ? 0 : c;
            for (size_t i = 0; i < frames; ++i)
                in[c][i] = static_cast<Sample>(interleavedIn[i * static_cast<size_t>(sourceChannels) + from]);
        }
        if constexpr (std::is_same_v<Sample, double>)
            plugin.processDoubleReplacing(inPointers.data(), outPointers.data(),
                                          static_cast<int32_t>(frames));
        else
            plugin.processReplacing(inPointers.data(), outPointers.data(), static_cast<int32_t>(frames));
        for (size_t c = 0; c < static_cast<size_t>(sinkChannels); ++c)
            for (size_t i = 0; i < frames; ++i)
                interleavedOut[i * static_cast<size_t>(sinkChannels) + c] = static_cast<double>(out[c][i]);
        sink.write(interleavedOut.data(), frames);
        done += frames;
        if (progress) progress(done);
    }
}

} // namespace

size_t MemorySource::read(double* interleaved, size_t frames) {
    const size_t length = planar_.empty() ? 0 : planar_.front().size();
    const size_t count = std::min(frames, length - position_);
    for (size_t i = 0; i < count; ++i)
        for (size_t c = 0; c < planar_.size(); ++c)
            interleaved[i * planar_.size() + c] = planar_[c][position_ + i];
    position_ += count;
    return count;
}

void MemorySink::write(const double* interleaved, size_t frames) {
    for (size_t c = 0; c < planar.size(); ++c)
        for (size_t i = 0; i < frames; ++i) planar[c].push_back(interleaved[i * planar.size() + c]);
}

int renderedChannels(const host::HostedPlugin& plugin, int sourceChannels) {
    return sourceChannels == 1 ? 1 : plugin.effect()->numOutputs;
}

void render(host::HostedPlugin& plugin, FrameSource& source, FrameSink& sink, int blockSize,
            Precision precision, const std::function<void(size_t)>& progress) {
    if (precision == Precision::Double)
        renderAs<double>(plugin, source, sink, blockSize, progress);
    else
        renderAs<float>(plugin, source, sink, blockSize, progress);
}

} // namespace vr58::tool
