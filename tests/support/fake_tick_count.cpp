#include "fake_tick_count.h"

#include "engine/platform/noise_seed.h"
#include "engine/platform/tick_count.h"

namespace {
uint32_t fakeTicks = 0;
}

namespace vr58 {
uint32_t systemTickCount() {
    return fakeTicks;
}
uint32_t newInstanceNoiseSeed() {
    return fakeTicks;
}
namespace testing {
void setFakeTickCount(uint32_t ticks) {
    fakeTicks = ticks;
}
} // namespace testing
} // namespace vr58
