// Counts heap allocations while run works: the LV2 adapter declares itself hard real-time capable, so
// neither the port conversions nor the chain may allocate, whatever values the host writes.
#include "lv2/lv2_plugin.h"
#include "lv2/lv2_ports.h"

#include "counting_allocator.h"
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace vr58;
using namespace vr58::lv2;

TEST(Lv2AudioThread, RunDoesNotAllocateWhileEveryPortMoves) {
    for (const BuildConfig* build : {&kEditorBuild, &kPlainBuild}) {
        const LV2_Descriptor* descriptor = descriptorOf(*build);
        LV2_Handle handle = descriptor->instantiate(descriptor, 48000.0, "", nullptr);
        ASSERT_TRUE(handle);
        std::vector<float> controls(40, 0.0f);
        std::vector<float> left(256), right(256), outL(256), outR(256);
        for (uint32_t p = kFirstParameterPort; p < controls.size(); ++p)
            descriptor->connect_port(handle, p, &controls[p]);
        descriptor->connect_port(handle, kAudioInLeft, left.data());
        descriptor->connect_port(handle, kAudioInRight, right.data());
        descriptor->connect_port(handle, kAudioOutLeft, outL.data());
        descriptor->connect_port(handle, kAudioOutRight, outR.data());
        descriptor->activate(handle);
        const float values[] = {-30.0f, -18.0f, -14.0f, -1.3f,  0.0f, 0.7f,    1.0f,
                                2.0f,   61.5f,  85.0f,  200.0f, NAN,  INFINITY};
        const long before = vr58::testing::heapAllocations();
        for (int run = 0; run < 200; ++run) {
            for (size_t p = kFirstParameterPort; p < controls.size(); ++p)
                controls[p] = values[(run + p) % std::size(values)];
            for (size_t i = 0; i < left.size(); ++i) left[i] = right[i] = std::sin(0.05 * (i + run * 256.0));
            descriptor->run(handle, static_cast<uint32_t>(left.size()));
        }
        EXPECT_EQ(vr58::testing::heapAllocations() - before, 0) << build->productName;
        for (float sample : outL) EXPECT_TRUE(std::isfinite(sample));
        descriptor->deactivate(handle);
        descriptor->cleanup(handle);
    }
}
