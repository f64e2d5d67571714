// The noise seed of a new effect: time-based, and distinct for every instance in the process.
#pragma once

#include <cstdint>

namespace vr58 {
uint32_t newInstanceNoiseSeed();
}
