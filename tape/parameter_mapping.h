// From normalised parameter values to the physical values of the tape model. Linear maps run in single
// precision and are widened afterwards, so the results match the stored floats exactly.
#pragma once

#include <cstdint>

namespace vr58 {

enum class EqCurve { NAB, IEC, AES };

struct EqualiserDesign {
    double recordLowDb, recordHighDb, reproLowDb, reproHighDb;
    double highCornerHz;
    double lowCornerHz;
};

struct HeadBumpDesign {
    double highPassHz, centreHz, gainDb, bandwidthOctaves;
};

EqCurve eqCurvePosition(float curve);
EqualiserDesign equaliserDesign(float curve, float recLo, float recHi, float repLo, float repHi);
HeadBumpDesign headBumpDesign(float head, float bump, float hbAtt);

double trimOrGainDb(float value);   // -24..+24 dB
double hissDb(float value);         // -96..-36 dB
double headRoomDb(float value);     // VU reference: -12, -14, -18 or -20 dB by quarters
bool noiseOn(float value);          // hiss is off only at exactly 0
bool meterReadsOutput(float value); // VU Path: the input up to 0.5, the output above
bool vuHoldOn(float value);         // VU Hold: on above 0.5
double decibelsToGain(double db);

// Keeps a corner just below half the sample rate, where every section stays stable and finite.
double limitBelowNyquist(double frequencyHz, double sampleRate);

} // namespace vr58
