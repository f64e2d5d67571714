#include "demo_signal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vr58::tool {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kBeat = 0.5; // 120 beats per minute

// Deterministic white noise in -1..1, so every run writes the same input file.
class Noise {
public:
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

private:
    uint32_t state_ = 0x5EED58u;
};

struct Stereo {
    std::vector<double>& left;
    std::vector<double>& right;
    void add(size_t i, double sample, double pan) { // pan -1 (left) .. 1 (right), constant power
        const double angle = (pan + 1.0) * kPi / 4.0;
        left[i] += sample * std::cos(angle);
        right[i] += sample * std::sin(angle);
    }
};

size_t at(double seconds) {
    return static_cast<size_t>(seconds * kDemoSampleRate);
}

void addKick(Stereo& mix, double start, double amplitude) {
    double phase = 0.0;
    for (size_t i = at(start), n = 0; i < mix.left.size() && n < at(0.4); ++i, ++n) {
        const double t = static_cast<double>(n) / kDemoSampleRate;
        phase += 2.0 * kPi * (50.0 + 100.0 * std::exp(-t / 0.03)) / kDemoSampleRate;
        mix.add(i, amplitude * std::exp(-t / 0.12) * std::sin(phase), 0.0);
    }
}

void addSnare(Stereo& mix, Noise& noise, double start, double amplitude) {
    for (size_t i = at(start), n = 0; i < mix.left.size() && n < at(0.3); ++i, ++n) {
        const double t = static_cast<double>(n) / kDemoSampleRate;
        const double body = 0.5 * std::sin(2.0 * kPi * 190.0 * t) * std::exp(-t / 0.05);
        mix.add(i, amplitude * (noise.next() * std::exp(-t / 0.08) + body), -0.1);
    }
}

void addHat(Stereo& mix, Noise& noise, double start, double amplitude) {
    double previous = 0.0;
    for (size_t i = at(start), n = 0; i < mix.left.size() && n < at(0.08); ++i, ++n) {
        const double t = static_cast<double>(n) / kDemoSampleRate;
        const double white = noise.next();
        mix.add(i, amplitude * (white - previous) * std::exp(-t / 0.015), 0.4); // differenced: bright
        previous = white;
    }
}

// A note with a soft attack and release, built from a few harmonics.
void addNote(Stereo& mix, double start, double length, double frequency, double amplitude, double pan,
             const std::vector<double>& harmonics) {
    const size_t count = at(length);
    for (size_t i = at(start), n = 0; i < mix.left.size() && n < count; ++i, ++n) {
        const double t = static_cast<double>(n) / kDemoSampleRate;
        const double envelope = std::min({1.0, t / 0.01, (length - t) / 0.03});
        double sample = 0.0;
        for (size_t h = 0; h < harmonics.size(); ++h)
            sample += harmonics[h] * std::sin(2.0 * kPi * frequency * static_cast<double>(h + 1) * t);
        mix.add(i, amplitude * envelope * sample, pan);
    }
}

// Exponential sweep whose position also pans from left to right.
void addSweep(Stereo& mix, double start, double length, double from, double to, double amplitude) {
    double phase = 0.0;
    for (size_t i = at(start), n = 0; i < mix.left.size() && n < at(length); ++i, ++n) {
        const double position = static_cast<double>(n) / static_cast<double>(at(length));
        phase += 2.0 * kPi * from * std::pow(to / from, position) / kDemoSampleRate;
        const double envelope = std::min({1.0, position / 0.05, (1.0 - position) / 0.05});
        mix.add(i, amplitude * envelope * std::sin(phase), -0.8 + 1.6 * position);
    }
}

} // namespace

std::vector<std::vector<double>> makeDemoPhrase() {
    const size_t frames = at(kDemoSeconds);
    std::vector<std::vector<double>> planar(2, std::vector<double>(frames, 0.0));
    Stereo mix{planar[0], planar[1]};
    Noise noise;

    const double bassNotes[] = {41.20, 41.20, 49.00, 55.00, 41.20, 36.71, 49.00, 55.00};
    const std::vector<double> bassHarmonics = {1.0, 0.35, 0.15, 0.05};
    const std::vector<double> chordHarmonics = {1.0, 0.5, 0.33, 0.25, 0.2, 0.16}; // saw-like
    for (int beat = 0; beat < 15; ++beat) {
        const double t = beat * kBeat;
        const bool loud = t >= kDemoLoudStart && t < kDemoLoudEnd;
        if (beat % 2 == 0)
            addKick(mix, t, loud ? 0.9 : 0.45);
        else
            addSnare(mix, noise, t, loud ? 0.5 : 0.25);
        addHat(mix, noise, t, 0.12);
        addHat(mix, noise, t + kBeat / 2, 0.07);
        addNote(mix, t, kBeat * 0.9, bassNotes[beat % 8], loud ? 0.45 : 0.22, 0.0, bassHarmonics);
    }
    addSweep(mix, 1.5, 3.5, 60.0, 12000.0, 0.18);
    // The loud passage: a held power chord on top of the doubled-up drums and bass.
    for (double frequency : {110.0, 164.81, 220.0})
        addNote(mix, kDemoLoudStart, kDemoLoudEnd - kDemoLoudStart, frequency, 0.3,
                frequency == 164.81 ? 0.3 : -0.2, chordHarmonics);

    double peak = 0.0;
    for (const auto& channel : planar)
        for (double sample : channel) peak = std::max(peak, std::fabs(sample));
    for (auto& channel : planar)
        for (double& sample : channel) sample *= kDemoPeak / peak;
    return planar;
}

} // namespace vr58::tool
