#include "tape/filter_sections.h"

#include <cmath>

namespace vr58 {

namespace {
// The product frequency * pi is formed before the division by the rate, as the coefficients expect.
double prewarp(double frequencyHz, double sampleRate) {
    return std::tan(frequencyHz * kPi / sampleRate);
}
} // namespace

void designLowShelf(LowShelfFilter<double>& section, double gainDb, double cornerHz, double sampleRate) {
    const double t = prewarp(cornerHz, sampleRate);
    const double v0 = std::exp(gainDb * kDbToGain);
    section.k = (v0 - 1.0) * 0.5;
    section.c = gainDb >= 0.0 ? (t - 1.0) / (t + 1.0) : (t - v0) / (t + v0);
}

void designHighShelf(HighShelfFilter<double>& section, double gainDb, double cornerHz, double sampleRate) {
    const double t = prewarp(cornerHz, sampleRate);
    const double v0 = std::exp(gainDb * kDbToGain);
    section.k = (v0 - 1.0) * 0.5;
    section.c = gainDb >= 0.0 ? (t - 1.0) / (t + 1.0) : (v0 * t - 1.0) / (v0 * t + 1.0);
}

void designHighPass(HighPassFilter<double>& section, double cornerHz, double sampleRate) {
    const double k = 1.0 / prewarp(cornerHz, sampleRate);
    section.b0 = k / (k + 1.0);
    section.b1 = -section.b0;
    section.a1 = (1.0 - k) / (k + 1.0);
}

void designPeaking(PeakingFilter<double>& section, double gainDb, double bandwidthOctaves, double centreHz,
                   double sampleRate) {
    const double a = std::exp(gainDb * kDbToHalfGain);
    const double w0 = centreHz * kTwoPi / sampleRate;
    const double sn = std::sin(w0);
    const double cs = std::cos(w0);
    const double alpha = std::sinh(0.34657359027997264 * bandwidthOctaves * w0 / sn) * sn; // ln(2)/2
    const double a0 = 1.0 + alpha / a;
    section.a0 = a0;
    section.a1 = -2.0 * cs / a0;
    section.a2 = (1.0 - alpha / a) / a0;
    section.b0 = (1.0 + alpha * a) / a0;
    section.b1 = -2.0 * cs / a0;
    section.b2 = (1.0 - alpha * a) / a0;
}

} // namespace vr58
