#include "engine/platform/noise_seed.h"

#include "engine/platform/tick_count.h"

#include <atomic>

namespace vr58 {
// Hosts open several tracks within one millisecond; with the tick count alone they would hiss in unison
// and add up in phase. A process-wide count of instances (times an odd constant, so every count gives a
// different pattern) is mixed in.
uint32_t newInstanceNoiseSeed() {
    static std::atomic<uint32_t> instances{0};
    const uint32_t instance = instances.fetch_add(1, std::memory_order_relaxed);
    return systemTickCount() ^ (instance * 0x9E3779B9u);
}
} // namespace vr58
