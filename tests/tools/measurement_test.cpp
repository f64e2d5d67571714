// The analysis behind vr58 measure, on signals whose answers are known in closed form.
#include "measurement.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vr58::tool;

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

TEST(Measurement, LogSpacedFrequenciesCoverBothEndsEvenly) {
    const auto frequencies = logSpacedFrequencies(10.0, 22000.0, 24);
    ASSERT_EQ(frequencies.size(), 268u); // 11.1 octaves at 24 a octave, rounded up, plus the start
    EXPECT_EQ(frequencies.front(), 10.0);
    EXPECT_EQ(frequencies.back(), 22000.0);
    EXPECT_NEAR(frequencies[24], 20.0, 1e-9);
    for (size_t i = 1; i < frequencies.size(); ++i) EXPECT_GT(frequencies[i], frequencies[i - 1]);
}

TEST(Measurement, ResponseGainOfATwoTapAverageFollowsItsCosine) {
    // y[n] = (x[n] + x[n-1]) / 2 has |H| = |cos(pi f / fs)|: 1 at 0 Hz, -3.01 dB at fs/4.
    const double level = 1e-4;
    std::vector<double> response(4096, 0.0);
    response[0] = response[1] = level / 2.0;
    EXPECT_NEAR(responseGainDb(response, level, 12000.0, 48000.0), -3.0103, 1e-4);
    for (double frequency : {10.0, 1000.0, 20000.0})
        EXPECT_NEAR(responseGainDb(response, level, frequency, 48000.0),
                    20.0 * std::log10(std::cos(3.141592653589793 * frequency / 48000.0)), 1e-9);
}

TEST(Measurement, HarmonicsSeparateExactlyAndGiveTheThd) {
    // 0.5 at 1 kHz, 0.05 at 3 kHz, 0.02 at 9 kHz and a 10 kHz tone that is not a counted harmonic.
    std::vector<double> signal(48000);
    for (size_t n = 0; n < signal.size(); ++n) {
        const double t = static_cast<double>(n) / 48000.0;
        signal[n] = 0.5 * std::sin(kTwoPi * 1000.0 * t + 0.3) + 0.05 * std::sin(kTwoPi * 3000.0 * t) +
                    0.02 * std::cos(kTwoPi * 9000.0 * t) + 0.1 * std::sin(kTwoPi * 10000.0 * t);
    }
    const auto amplitudes = harmonicAmplitudes(signal.data(), signal.size(), 48, 9);
    ASSERT_EQ(amplitudes.size(), 9u);
    EXPECT_NEAR(amplitudes[0], 0.5, 1e-12);
    EXPECT_NEAR(amplitudes[1], 0.0, 1e-12);
    EXPECT_NEAR(amplitudes[2], 0.05, 1e-12);
    EXPECT_NEAR(amplitudes[8], 0.02, 1e-12);
    EXPECT_NEAR(thdPercent(amplitudes), 100.0 * std::hypot(0.05, 0.02) / 0.5, 1e-9);
}
