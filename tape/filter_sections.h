// The four recursive sections of the tape chain. Each is one template over double (one channel) and the
// two-lane type (both channels at once, tape/two_lanes.h); the run evaluates the same operations in the
// same order at both types, so a lane gives the bits of its channel's section run alone. Designs are made
// in double, channel by channel, and write coefficients only, so a section can be redesigned between two
// samples and continue from its state without a transient.
#pragma once

#include "tape/biquad.h"
#include "tape/decibels.h"

namespace vr58 {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

// First-order shelves built on an allpass A(z) = (c + z^-1) / (1 + c z^-1) (Zoelzer), with separate boost
// and cut coefficients so that a cut is the exact inverse of the same boost:
//   low shelf:  H(z) = 1 + k (1 + A(z)),  gain 1 + 2k at 0 Hz, unity at Nyquist
//   high shelf: H(z) = 1 + k (1 - A(z)),  unity at 0 Hz, gain 1 + 2k at Nyquist
// k = (V0 - 1) / 2 with V0 = 10^(dB/20) the linear shelf gain; with t = tan(pi fc / fs) the prewarped
// corner, c = (t - 1) / (t + 1) for a boost, (t - V0) / (t + V0) (low) or (V0 t - 1) / (V0 t + 1) (high)
// for a cut. Per sample, with s the allpass state:
//   s' = x - c s,  A = c s' + s,  y = x + k (x + A) (low) or x + k (x - A) (high)
template <typename T> struct LowShelfFilter { T k, c, s; };
template <typename T> struct HighShelfFilter { T k, c, s; };

// First-order high-pass from the bilinear transform with prewarping, K = 1 / tan(pi fc / fs):
//   y = b0 x + b1 x1 - a1 y1,  b0 = K / (K + 1), b1 = -b0, a1 = (1 - K) / (K + 1)
template <typename T> struct HighPassFilter { T b0, b1, a1, x1, y1; };

// Second-order peaking equaliser (RBJ cookbook, bandwidth in octaves) run as a biquad (tape/biquad.h):
//   A = 10^(dB/40), w0 = 2 pi f0 / fs, alpha = sin(w0) sinh(ln(2)/2 BW w0 / sin(w0)),
//   a0 = 1 + alpha / A, a1 = -2 cos(w0) / a0, a2 = (1 - alpha / A) / a0,
//   b0 = (1 + alpha A) / a0, b1 = -2 cos(w0) / a0, b2 = (1 - alpha A) / a0
// a0 is kept as designed.
template <typename T> struct PeakingFilter : Biquad<T> { T a0; };

void designLowShelf(LowShelfFilter<double>& section, double gainDb, double cornerHz, double sampleRate);
void designHighShelf(HighShelfFilter<double>& section, double gainDb, double cornerHz, double sampleRate);
void designHighPass(HighPassFilter<double>& section, double cornerHz, double sampleRate);
void designPeaking(PeakingFilter<double>& section, double gainDb, double bandwidthOctaves, double centreHz,
                   double sampleRate);

template <typename T> inline T processSample(LowShelfFilter<T>& f, T x) {
    const T s = x - f.c * f.s;
    const T ap = f.c * s + f.s;
    const T y = x + f.k * (x + ap);
    f.s = s;
    return y;
}

template <typename T> inline T processSample(HighShelfFilter<T>& f, T x) {
    const T s = x - f.c * f.s;
    const T ap = f.c * s + f.s;
    const T y = x + f.k * (x - ap);
    f.s = s;
    return y;
}

template <typename T> inline T processSample(HighPassFilter<T>& f, T x) {
    const T y = f.b0 * x + f.b1 * f.x1 - f.a1 * f.y1;
    f.x1 = x;
    f.y1 = y;
    return y;
}

} // namespace vr58
