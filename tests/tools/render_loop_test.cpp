// The render loop through the recording fixture: channel mapping, blocks, and both precisions.
#include "plugin_session.h"
#include "render_loop.h"

#include <gtest/gtest.h>

using namespace vr58::tool;

namespace {

std::vector<std::vector<double>> ramp(size_t channels, size_t frames) {
    std::vector<std::vector<double>> planar(channels, std::vector<double>(frames));
    for (size_t c = 0; c < channels; ++c)
        for (size_t i = 0; i < frames; ++i)
            planar[c][i] = (c == 0 ? 1.0 : -1.0) * static_cast<double>(i) / 1024.0;
    return planar;
}

std::vector<std::vector<double>> renderThroughFixture(const std::vector<std::vector<double>>& input,
                                                      int block, Precision precision) {
    auto plugin = loadPlugin(VR58_FIXTURE_RECORDING);
    preparePlugin(*plugin, 44100, block, static_cast<int>(input.size()), {{"Gain", 0.25f}}, precision);
    MemorySource source(input);
    MemorySink sink(renderedChannels(*plugin, static_cast<int>(input.size())));
    size_t lastProgress = 0;
    render(*plugin, source, sink, block, precision, [&](size_t done) { lastProgress = done; });
    EXPECT_EQ(lastProgress, input.front().size());
    return sink.planar;
}

} // namespace

TEST(RenderLoop, StereoInBlocksWithARemainderInBothPrecisions) {
    const auto input = ramp(2, 1000);
    for (Precision precision : {Precision::Single, Precision::Double}) {
        const auto output = renderThroughFixture(input, 300, precision);
        ASSERT_EQ(output.size(), 2u);
        ASSERT_EQ(output[1].size(), 1000u);
        for (size_t i = 0; i < 1000; ++i) {
            ASSERT_EQ(output[0][i], input[0][i] * 0.5) << i;
            ASSERT_EQ(output[1][i], input[1][i] * 0.5) << i;
        }
    }
}

TEST(RenderLoop, MonoFeedsBothInputsAndKeepsTheLeftOutput) {
    const auto input = ramp(1, 77);
    const auto output = renderThroughFixture(input, 10, Precision::Single);
    ASSERT_EQ(output.size(), 1u);
    ASSERT_EQ(output[0].size(), 77u);
    EXPECT_EQ(output[0][76], input[0][76] * 0.5);
}

TEST(RenderLoop, EmptyInputWritesNothing) {
    const std::vector<std::vector<double>> input(2);
    auto plugin = loadPlugin(VR58_FIXTURE_RECORDING);
    preparePlugin(*plugin, 44100, 64, 2, {}, Precision::Single);
    MemorySource source(input);
    MemorySink sink(2);
    render(*plugin, source, sink, 64, Precision::Single);
    EXPECT_TRUE(sink.planar[0].empty());
}
