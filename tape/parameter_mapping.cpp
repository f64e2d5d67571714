#include "tape/parameter_mapping.h"

#include "tape/decibels.h"

#include <cmath>

namespace vr58 {

namespace {
// The float nearest 1/3, and the float just below 2/3 (the nearest one already selects AES).
constexpr float kNabBelow = 0.3333333432674408f;
constexpr float kIecUpTo = 0.6666666269302368f;
// Above this fraction of the rate the three-octave bump collapses onto the unit circle in double
// precision; the shelves are long stable there.
constexpr double kNyquistMargin = 0.45;
} // namespace

EqCurve eqCurvePosition(float curve) {
    if (curve < kNabBelow) return EqCurve::NAB;
    if (curve <= kIecUpTo) return EqCurve::IEC;
    return EqCurve::AES;
}

EqualiserDesign equaliserDesign(float curve, float recLo, float recHi, float repLo, float repHi) {
    EqualiserDesign design{};
    design.recordHighDb = static_cast<double>(recHi * 28.0f - 14.0f);
    design.reproHighDb = static_cast<double>(repHi * 28.0f - 14.0f);
    design.lowCornerHz = 50.0;
    switch (eqCurvePosition(curve)) {
    case EqCurve::NAB: // 50 us with the 3180 us low shelf
        design.recordLowDb = static_cast<double>(recLo * 20.0f - 10.0f);
        design.reproLowDb = static_cast<double>(repLo * 20.0f - 10.0f);
        design.highCornerHz = 3180.0;
        break;
    case EqCurve::IEC: // 35 us
        design.highCornerHz = 4550.0;
        break;
    case EqCurve::AES: // 17.5 us
        design.highCornerHz = 9100.0;
        break;
    }
    return design;
}

HeadBumpDesign headBumpDesign(float head, float bump, float hbAtt) {
    HeadBumpDesign design{};
    design.highPassHz = static_cast<double>(10.0f + 10.0f * head);
    design.centreHz = static_cast<double>(65.0f + 40.0f * head);
    const double h = head;
    const double b = bump;
    design.gainDb = b * (4.0 - h) + (4.0 - h) - static_cast<double>(2.0f * hbAtt);
    design.bandwidthOctaves = 3.0;
    return design;
}

double trimOrGainDb(float value) {
    return static_cast<double>(value * 48.0f - 24.0f);
}

double hissDb(float value) {
    return static_cast<double>(value * 60.0f - 96.0f);
}

double headRoomDb(float value) {
    if (value < 0.25f) return -12.0;
    if (value < 0.5f) return -14.0;
    if (value < 0.75f) return -18.0;
    return -20.0;
}

bool noiseOn(float value) {
    return value != 0.0f; // a NaN compares unequal and counts as on
}

bool meterReadsOutput(float value) {
    return value > 0.5f;
}

bool vuHoldOn(float value) {
    return value > 0.5f;
}

double decibelsToGain(double db) {
    return std::exp(db * kDbToGain);
}

double limitBelowNyquist(double frequencyHz, double sampleRate) {
    const double limit = kNyquistMargin * sampleRate;
    return frequencyHz < limit ? frequencyHz : limit;
}

} // namespace vr58
