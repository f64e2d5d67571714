// The demo phrase: about eight seconds of stereo at 48 kHz made in code, with drum-like transients, a bass
// line, a tone sweep and one loud passage that drives the tape saturation hard. Always the same samples.
#pragma once

#include <vector>

namespace vr58::tool {

constexpr int kDemoSampleRate = 48000;
constexpr double kDemoSeconds = 8.0;
constexpr double kDemoLoudStart = 5.5; // seconds; the loud passage ends at kDemoLoudEnd
constexpr double kDemoLoudEnd = 7.0;
constexpr double kDemoPeak = 0.95; // the loudest sample of the phrase, linear

// Two channels (left, right) of kDemoSeconds × kDemoSampleRate samples.
std::vector<std::vector<double>> makeDemoPhrase();

} // namespace vr58::tool
