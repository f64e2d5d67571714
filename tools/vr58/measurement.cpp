#include "measurement.h"

#include <cmath>
#include <complex>

namespace vr58::tool {

namespace {
constexpr double kTwoPi = 6.283185307179586;
// The rotating phasor is re-seeded this often so rounding cannot build up over long responses.
constexpr size_t kPhasorReseed = 1024;
} // namespace

std::vector<double> logSpacedFrequencies(double low, double high, int pointsPerOctave) {
    std::vector<double> frequencies;
    const double octaves = std::log2(high / low);
    const int steps = static_cast<int>(std::ceil(octaves * pointsPerOctave));
    for (int i = 0; i <= steps; ++i)
        frequencies.push_back(i == steps ? high : low * std::exp2(static_cast<double>(i) / pointsPerOctave));
    return frequencies;
}

double responseGainDb(const std::vector<double>& response, double impulseLevel, double frequency,
                      double sampleRate) {
    const double omega = kTwoPi * frequency / sampleRate;
    const std::complex<double> step = std::polar(1.0, -omega);
    std::complex<double> sum = 0.0;
    std::complex<double> phasor = 1.0;
    for (size_t n = 0; n < response.size(); ++n) {
        if (n % kPhasorReseed == 0) phasor = std::polar(1.0, -omega * static_cast<double>(n));
        sum += response[n] * phasor;
        phasor *= step;
    }
    return toDb(std::abs(sum) / impulseLevel);
}

std::vector<double> harmonicAmplitudes(const double* samples, size_t frames, int periodFrames,
                                       int harmonics) {
    std::vector<double> cosines(static_cast<size_t>(periodFrames));
    std::vector<double> sines(static_cast<size_t>(periodFrames));
    for (int m = 0; m < periodFrames; ++m) {
        cosines[static_cast<size_t>(m)] = std::cos(kTwoPi * m / periodFrames);
        sines[static_cast<size_t>(m)] = std::sin(kTwoPi * m / periodFrames);
    }
    std::vector<double> amplitudes;
    for (int h = 1; h <= harmonics; ++h) {
        double re = 0.0;
        double im = 0.0;
        for (size_t n = 0; n < frames; ++n) {
            const size_t m = (n * static_cast<size_t>(h)) % static_cast<size_t>(periodFrames);
            re += samples[n] * cosines[m];
            im -= samples[n] * sines[m];
        }
        amplitudes.push_back(2.0 * std::hypot(re, im) / static_cast<double>(frames));
    }
    return amplitudes;
}

double thdPercent(const std::vector<double>& amplitudes) {
    double sumOfSquares = 0.0;
    for (size_t h = 1; h < amplitudes.size(); ++h) sumOfSquares += amplitudes[h] * amplitudes[h];
    return 100.0 * std::sqrt(sumOfSquares) / amplitudes.front();
}

double toDb(double linear) {
    return 20.0 * std::log10(linear);
}

} // namespace vr58::tool
