// The four recursive sections of the tape chain, in double precision. A design writes coefficients only,
// so a section can be redesigned between two samples and continue from its state without a transient.
#pragma once

namespace vr58 {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kDbToGain = 0.11512925464970228;     // ln(10)/20
constexpr double kDbToHalfGain = 0.05756462732485114; // ln(10)/40

// First-order shelves built on an allpass A(z) = (c + z^-1) / (1 + c z^-1) (Zoelzer), with separate boost
// and cut coefficients so that a cut is the exact inverse of the same boost.
//   low shelf:  H(z) = 1 + k (1 + A(z)),  gain 1 + 2k at 0 Hz, unity at Nyquist
//   high shelf: H(z) = 1 + k (1 - A(z)),  unity at 0 Hz, gain 1 + 2k at Nyquist
// k = (V0 - 1) / 2 with V0 the linear shelf gain; s is the allpass state.
struct LowShelfFilter {
    double k, c, s;
};
struct HighShelfFilter {
    double k, c, s;
};

// First-order high-pass from the bilinear transform with prewarping: y = b0 x + b1 x1 - a1 y1.
struct HighPassFilter {
    double b0, b1, a1, x1, y1;
};

// Second-order peaking equaliser (RBJ cookbook, bandwidth in octaves), direct form I. a0 is kept as
// designed; the other coefficients are already divided by it.
struct PeakingFilter {
    double a0, a1, a2, b0, b1, b2, x1, x2, y1, y2;
};

void designLowShelf(LowShelfFilter& section, double gainDb, double cornerHz, double sampleRate);
void designHighShelf(HighShelfFilter& section, double gainDb, double cornerHz, double sampleRate);
void designHighPass(HighPassFilter& section, double cornerHz, double sampleRate);
void designPeaking(PeakingFilter& section, double gainDb, double bandwidthOctaves, double centreHz,
                   double sampleRate);

inline double processSample(LowShelfFilter& f, double x) {
    const double s = x - f.c * f.s;
    const double ap = f.c * s + f.s;
    const double y = x + f.k * (x + ap);
    f.s = s;
    return y;
}

inline double processSample(HighShelfFilter& f, double x) {
    const double s = x - f.c * f.s;
    const double ap = f.c * s + f.s;
    const double y = x + f.k * (x - ap);
    f.s = s;
    return y;
}

inline double processSample(HighPassFilter& f, double x) {
    const double y = f.b0 * x + f.b1 * f.x1 - f.a1 * f.y1;
    f.x1 = x;
    f.y1 = y;
    return y;
}

inline double processSample(PeakingFilter& f, double x) {
    const double y = f.b0 * x + f.b1 * f.x1 + f.b2 * f.x2 - f.a1 * f.y1 - f.a2 * f.y2;
    f.x2 = f.x1;
    f.x1 = x;
    f.y2 = f.y1;
    f.y1 = y;
    return y;
}

} // namespace vr58
