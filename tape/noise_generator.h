// Tape hiss source: a 32-bit linear congruential generator whose top 23 bits become the mantissa of a
// float in [2, 4), shifted to a uniform value in [-0.5, 0.5).
#pragma once

#include <cstdint>
#include <cstring>

namespace vr58 {

struct NoiseGenerator {
    uint32_t word; // bit pattern of the last float drawn
    uint32_t seed;

    float draw() {
        seed = seed * 196314165u + 907633515u;
        word = (seed >> 9) | 0x40000000u;
        float f;
        std::memcpy(&f, &word, sizeof f);
        return (f - 3.0f) * 0.5f;
    }
};

} // namespace vr58
