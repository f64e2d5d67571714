// Both channels' sections as one section over two lanes: a pair is loaded from the left and right sections
// before a run of frames, and only the state is stored back afterwards; the coefficients stay as designed.
// The peaking pair runs as a two-lane biquad, without the a0 it does not use.
#pragma once

#include "tape/filter_sections.h"
#include "tape/two_lanes.h"

namespace vr58 {

template <typename Section> Lanes pairOf(const Section (&pair)[2], double Section::*field) {
    return lanesOf(pair[0].*field, pair[1].*field);
}

template <typename Section> void storePair(Section (&pair)[2], double Section::*field, Lanes value) {
    pair[0].*field = leftLane(value);
    pair[1].*field = rightLane(value);
}

inline LowShelfFilter<Lanes> loadLanes(const LowShelfFilter<double> (&pair)[2]) {
    using F = LowShelfFilter<double>;
    return {pairOf(pair, &F::k), pairOf(pair, &F::c), pairOf(pair, &F::s)};
}
inline HighShelfFilter<Lanes> loadLanes(const HighShelfFilter<double> (&pair)[2]) {
    using F = HighShelfFilter<double>;
    return {pairOf(pair, &F::k), pairOf(pair, &F::c), pairOf(pair, &F::s)};
}
inline HighPassFilter<Lanes> loadLanes(const HighPassFilter<double> (&pair)[2]) {
    using F = HighPassFilter<double>;
    return {pairOf(pair, &F::b0), pairOf(pair, &F::b1), pairOf(pair, &F::a1), pairOf(pair, &F::x1),
            pairOf(pair, &F::y1)};
}
inline Biquad<Lanes> loadLanes(const PeakingFilter<double> (&pair)[2]) {
    using F = PeakingFilter<double>;
    return {pairOf<F>(pair, &F::a1), pairOf<F>(pair, &F::a2), pairOf<F>(pair, &F::b0),
            pairOf<F>(pair, &F::b1), pairOf<F>(pair, &F::b2), pairOf<F>(pair, &F::x1),
            pairOf<F>(pair, &F::x2), pairOf<F>(pair, &F::y1), pairOf<F>(pair, &F::y2)};
}

inline void storeState(const LowShelfFilter<Lanes>& lanes, LowShelfFilter<double> (&pair)[2]) {
    storePair(pair, &LowShelfFilter<double>::s, lanes.s);
}
inline void storeState(const HighShelfFilter<Lanes>& lanes, HighShelfFilter<double> (&pair)[2]) {
    storePair(pair, &HighShelfFilter<double>::s, lanes.s);
}
inline void storeState(const HighPassFilter<Lanes>& lanes, HighPassFilter<double> (&pair)[2]) {
    storePair(pair, &HighPassFilter<double>::x1, lanes.x1);
    storePair(pair, &HighPassFilter<double>::y1, lanes.y1);
}
inline void storeState(const Biquad<Lanes>& lanes, PeakingFilter<double> (&pair)[2]) {
    using F = PeakingFilter<double>;
    storePair<F>(pair, &F::x1, lanes.x1);
    storePair<F>(pair, &F::x2, lanes.x2);
    storePair<F>(pair, &F::y1, lanes.y1);
    storePair<F>(pair, &F::y2, lanes.y2);
}

} // namespace vr58
