// The filter sections of both channels run together in two lanes. Each run evaluates the scalar section's
// difference equation with the same operations in the same order, so every lane equals processSample on
// that channel's section bit for bit. A pair is loaded from the left and right sections before a run of
// frames and only the state is stored back afterwards; the coefficients stay as designed.
#pragma once

#include "tape/filter_sections.h"
#include "tape/two_lanes.h"

namespace vr58 {

struct LowShelfLanes {
    Lanes k, c, s;
};
struct HighShelfLanes {
    Lanes k, c, s;
};
struct HighPassLanes {
    Lanes b0, b1, a1, x1, y1;
};
struct PeakingLanes {
    Lanes a1, a2, b0, b1, b2, x1, x2, y1, y2;
};

template <typename Section> Lanes pairOf(const Section (&pair)[2], double Section::*field) {
    return lanesOf(pair[0].*field, pair[1].*field);
}

template <typename Section> void storePair(Section (&pair)[2], double Section::*field, Lanes value) {
    pair[0].*field = leftLane(value);
    pair[1].*field = rightLane(value);
}

inline LowShelfLanes loadLanes(const LowShelfFilter (&pair)[2]) {
    using F = LowShelfFilter;
    return {pairOf(pair, &F::k), pairOf(pair, &F::c), pairOf(pair, &F::s)};
}
inline HighShelfLanes loadLanes(const HighShelfFilter (&pair)[2]) {
    using F = HighShelfFilter;
    return {pairOf(pair, &F::k), pairOf(pair, &F::c), pairOf(pair, &F::s)};
}
inline HighPassLanes loadLanes(const HighPassFilter (&pair)[2]) {
    using F = HighPassFilter;
    return {pairOf(pair, &F::b0), pairOf(pair, &F::b1), pairOf(pair, &F::a1), pairOf(pair, &F::x1),
            pairOf(pair, &F::y1)};
}
inline PeakingLanes loadLanes(const PeakingFilter (&pair)[2]) {
    using F = PeakingFilter;
    return {pairOf(pair, &F::a1), pairOf(pair, &F::a2), pairOf(pair, &F::b0),
            pairOf(pair, &F::b1), pairOf(pair, &F::b2), pairOf(pair, &F::x1),
            pairOf(pair, &F::x2), pairOf(pair, &F::y1), pairOf(pair, &F::y2)};
}

inline void storeState(const LowShelfLanes& lanes, LowShelfFilter (&pair)[2]) {
    storePair(pair, &LowShelfFilter::s, lanes.s);
}
inline void storeState(const HighShelfLanes& lanes, HighShelfFilter (&pair)[2]) {
    storePair(pair, &HighShelfFilter::s, lanes.s);
}
inline void storeState(const HighPassLanes& lanes, HighPassFilter (&pair)[2]) {
    storePair(pair, &HighPassFilter::x1, lanes.x1);
    storePair(pair, &HighPassFilter::y1, lanes.y1);
}
inline void storeState(const PeakingLanes& lanes, PeakingFilter (&pair)[2]) {
    storePair(pair, &PeakingFilter::x1, lanes.x1);
    storePair(pair, &PeakingFilter::x2, lanes.x2);
    storePair(pair, &PeakingFilter::y1, lanes.y1);
    storePair(pair, &PeakingFilter::y2, lanes.y2);
}

inline Lanes processLanes(LowShelfLanes& f, Lanes x) {
    const Lanes s = x - f.c * f.s;
    const Lanes ap = f.c * s + f.s;
    const Lanes y = x + f.k * (x + ap);
    f.s = s;
    return y;
}

inline Lanes processLanes(HighShelfLanes& f, Lanes x) {
    const Lanes s = x - f.c * f.s;
    const Lanes ap = f.c * s + f.s;
    const Lanes y = x + f.k * (x - ap);
    f.s = s;
    return y;
}

inline Lanes processLanes(HighPassLanes& f, Lanes x) {
    const Lanes y = f.b0 * x + f.b1 * f.x1 - f.a1 * f.y1;
    f.x1 = x;
    f.y1 = y;
    return y;
}

inline Lanes processLanes(PeakingLanes& f, Lanes x) {
    const Lanes y = f.b0 * x + f.b1 * f.x1 + f.b2 * f.x2 - f.a1 * f.y1 - f.a2 * f.y2;
    f.x2 = f.x1;
    f.x1 = x;
    f.y2 = f.y1;
    f.y1 = y;
    return y;
}

} // namespace vr58
