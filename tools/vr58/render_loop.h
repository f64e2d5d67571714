// The streaming render: frames from a source, through the plug-in block by block, into a sink.
#pragma once

#include "arguments.h"
#include "host/hosted_plugin.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace vr58::tool {

class FrameSource {
public:
    virtual ~FrameSource() = default;
    virtual int channels() const = 0;
    // Fills up to frames interleaved frames; returns how many (0 at the end).
    virtual size_t read(double* interleaved, size_t frames) = 0;
};

class FrameSink {
public:
    virtual ~FrameSink() = default;
    virtual void write(const double* interleaved, size_t frames) = 0;
};

// Planar signal held in memory, used as a source or collected from a sink.
class MemorySource : public FrameSource {
public:
    explicit MemorySource(const std::vector<std::vector<double>>& planar) : planar_(planar) {}
    int channels() const override { return static_cast<int>(planar_.size()); }
    size_t read(double* interleaved, size_t frames) override;

private:
    const std::vector<std::vector<double>>& planar_;
    size_t position_ = 0;
};

class MemorySink : public FrameSink {
public:
    explicit MemorySink(int channels) : planar(static_cast<size_t>(channels)) {}
    void write(const double* interleaved, size_t frames) override;
    std::vector<std::vector<double>> planar;
};

// The number of channels render() writes: 1 for a mono source (the plug-in's first output), otherwise
// all of the plug-in's outputs.
int renderedChannels(const host::HostedPlugin& plugin, int sourceChannels);

// Runs the whole source through a prepared plug-in (see preparePlugin). A mono source feeds every
// plug-in input. progress, if set, receives the frames done so far after each block.
void render(host::HostedPlugin& plugin, FrameSource& source, FrameSink& sink, int blockSize,
            Precision precision, const std::function<void(size_t)>& progress = {});

} // namespace vr58::tool
