// Requests of our own that a host may make of the effect through effVendorSpecific, with our unique ID
// as the index and the request in value. Only the vr58 command makes them; other hosts never do.
#pragma once

#include "engine/build_config.h"

#include <cstdint>

namespace vr58::vendor {

inline constexpr int32_t kIndex = kUniqueId;

enum Request : intptr_t {
    // ptr: const uint32_t, the noise seed. The hiss continues from this seed at the next process call,
    // so two renders of one file with one seed are equal to the bit. Answers 1. Without it the seed comes
    // from the clock and every run hisses differently, as on tape. Any thread.
    kSetNoiseSeed = 0x53656564, // 'Seed'
};

} // namespace vr58::vendor
