// Deterministic stereo test material: tones, a chirp, bursts and a few full-scale excursions.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace vr58::testing {

inline std::vector<std::vector<double>> makeProgramMaterial(int frames, double sampleRate,
                                                            double peak = 0.9) {
    std::vector<std::vector<double>> out(2, std::vector<double>(frames));
    uint32_t lcg = 12345u;
    for (int i = 0; i < frames; ++i) {
        const double t = i / sampleRate;
        lcg = lcg * 1664525u + 1013904223u;
        const double noise = ((lcg >> 8) / 16777216.0 - 0.5) * 0.1;
        const double burst = (i % 4800) < 300 ? std::exp(-(i % 4800) / 60.0) : 0.0;
        const double sweep = std::sin(2.0 * 3.141592653589793 * (40.0 + 4000.0 * t) * t);
        out[0][i] = peak * (0.5 * sweep + 0.4 * burst + noise);
        out[1][i] = peak * (0.5 * std::sin(2.0 * 3.141592653589793 * 97.0 * t) + 0.4 * burst - noise);
    }
    return out;
}

} // namespace vr58::testing
