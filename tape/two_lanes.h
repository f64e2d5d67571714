// Two doubles in one SSE2 register: the left channel in lane 0, the right in lane 1. Lane-wise additions and
// multiplications round exactly like the scalar ones (no contraction, no fast-math), so the two channels
// computed side by side give the bits each would give alone. This is the only file that knows the
// register form; the chain writes ordinary arithmetic on Lanes.
#pragma once

#include <cstdint>

namespace vr58 {

using Lanes = double __attribute__((vector_size(16)));
using LaneMask = int64_t __attribute__((vector_size(16)));

inline Lanes lanesOf(double left, double right) {
    return Lanes{left, right};
}

inline Lanes bothLanes(double value) {
    return Lanes{value, value};
}

inline double leftLane(Lanes v) {
    return v[0];
}

inline double rightLane(Lanes v) {
    return v[1];
}

// Clears the sign bits: |left|, |right| exactly.
inline Lanes magnitudes(Lanes v) {
    const LaneMask sign = {INT64_MIN, INT64_MIN};
    return reinterpret_cast<Lanes>(reinterpret_cast<LaneMask>(v) & ~sign);
}

// Keeps finite values bit for bit and makes infinities and NaNs +0: x - x is exactly 0 for every finite x.
inline Lanes finiteOrSilence(Lanes v) {
    const LaneMask finite = (v - v) == bothLanes(0.0);
    return reinterpret_cast<Lanes>(reinterpret_cast<LaneMask>(v) & finite);
}

// Keeps the lanes of v where `health` is finite and makes the others +0.
inline Lanes keepWhereFinite(Lanes v, Lanes health) {
    const LaneMask finite = (health - health) == bothLanes(0.0);
    return reinterpret_cast<Lanes>(reinterpret_cast<LaneMask>(v) & finite);
}

// Reads frame i of two channel buffers, widening float samples to double.
template <typename Sample> inline Lanes loadFrame(const Sample* left, const Sample* right, int32_t i) {
    return lanesOf(static_cast<double>(left[i]), static_cast<double>(right[i]));
}

// Writes frame i, narrowing to float for float buffers.
template <typename Sample> inline void storeFrame(Sample* left, Sample* right, int32_t i, Lanes v) {
    left[i] = static_cast<Sample>(v[0]);
    right[i] = static_cast<Sample>(v[1]);
}

} // namespace vr58
