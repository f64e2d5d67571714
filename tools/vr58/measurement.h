// The analysis behind vr58 measure: the magnitude response of an impulse response and the harmonics of
// a steady sine, both evaluated at exact frequencies rather than read off FFT bins.
#pragma once

#include <cstddef>
#include <vector>

namespace vr58::tool {

// Frequencies from low to high, evenly spaced on a log scale with pointsPerOctave per octave; the last
// one is high itself.
std::vector<double> logSpacedFrequencies(double low, double high, int pointsPerOctave);

// Gain in dB at frequency of the system whose answer to an impulse of height impulseLevel is response.
double responseGainDb(const std::vector<double>& response, double impulseLevel, double frequency,
                      double sampleRate);

// Peak amplitudes of harmonics 1..harmonics of a sine whose period is exactly periodFrames samples;
// frames must hold a whole number of periods for the harmonics to separate exactly.
std::vector<double> harmonicAmplitudes(const double* samples, size_t frames, int periodFrames, int harmonics);

// Total harmonic distortion in percent: the harmonics from the second on against the fundamental.
double thdPercent(const std::vector<double>& amplitudes);

double toDb(double linear);

} // namespace vr58::tool
