#include "tape/filter_sections.h"
#include "tape/lane_sections.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <cstring>

using namespace vr58;

namespace {
using Complex = std::complex<double>;

Complex unitDelay(double hz, double fs) {
    return std::polar(1.0, -kTwoPi * hz / fs);
}

Complex allpass(double c, Complex zInv) {
    return (c + zInv) / (1.0 + c * zInv);
}

double magnitude(const LowShelfFilter<double>& f, double hz, double fs) {
    return std::abs(1.0 + f.k * (1.0 + allpass(f.c, unitDelay(hz, fs))));
}
double magnitude(const HighShelfFilter<double>& f, double hz, double fs) {
    return std::abs(1.0 + f.k * (1.0 - allpass(f.c, unitDelay(hz, fs))));
}
double magnitude(const HighPassFilter<double>& f, double hz, double fs) {
    const Complex z = unitDelay(hz, fs);
    return std::abs((f.b0 + f.b1 * z) / (1.0 + f.a1 * z));
}
double magnitude(const PeakingFilter<double>& f, double hz, double fs) {
    const Complex z = unitDelay(hz, fs);
    return std::abs((f.b0 + f.b1 * z + f.b2 * z * z) / (1.0 + f.a1 * z + f.a2 * z * z));
}
double toDb(double gain) {
    return 20.0 * std::log10(gain);
}

using Gains = std::array<double, 2>;
constexpr double kRate = 48000.0;

// Feeds a sine at `hz` to both channels through `run` and returns, per channel, the amplitude of the
// output's component at `hz` once the section has settled; the measured second holds whole periods of every
// frequency used.
template <typename Run> Gains sineGains(double hz, Run&& run) {
    constexpr int settle = 96000, measure = 48000;
    Gains sinSum{}, cosSum{};
    for (int n = 0; n < settle + measure; ++n) {
        const double phase = kTwoPi * hz * n / kRate;
        const Gains y = run(std::sin(phase));
        if (n < settle) continue;
        for (int ch = 0; ch < 2; ++ch) {
            sinSum[ch] += y[ch] * std::sin(phase);
            cosSum[ch] += y[ch] * std::cos(phase);
        }
    }
    return {2.0 / measure * std::hypot(sinSum[0], cosSum[0]),
            2.0 / measure * std::hypot(sinSum[1], cosSum[1])};
}

// Runs a left and a right section of one kind at double, channel by channel, and as one two-lane section:
// both give the gain of the section's transfer function, the lanes the same bits as the channels alone, and
// the lanes' state stored back is the state of the channels.
template <typename Section> void expectResponseAtBothTypes(const Section (&designed)[2], double hz) {
    Section channels[2] = {designed[0], designed[1]};
    const Gains alone = sineGains(hz, [&](double x) -> Gains {
        return {processSample(channels[0], x), processSample(channels[1], x)};
    });
    Section paired[2] = {designed[0], designed[1]};
    auto lanes = loadLanes(paired);
    const Gains together = sineGains(hz, [&](double x) -> Gains {
        const Lanes y = processSample(lanes, bothLanes(x));
        return {leftLane(y), rightLane(y)};
    });
    storeState(lanes, paired);
    for (int ch = 0; ch < 2; ++ch) {
        const double expected = magnitude(designed[ch], hz, kRate);
        EXPECT_NEAR(alone[ch], expected, 1e-7 * expected) << "channel " << ch << " at " << hz << " Hz";
        EXPECT_EQ(together[ch], alone[ch]) << "channel " << ch << " at " << hz << " Hz";
        EXPECT_EQ(std::memcmp(&paired[ch], &channels[ch], sizeof(Section)), 0) << "channel " << ch;
    }
}
} // namespace

TEST(SectionRun, EverySectionGivesItsResponseInDoubleAndInTwoLanes) {
    LowShelfFilter<double> low[2]{};
    designLowShelf(low[0], 10.0, 50.0, kRate);
    designLowShelf(low[1], -6.0, 50.0, kRate);
    expectResponseAtBothTypes(low, 50.0);

    HighShelfFilter<double> high[2]{};
    designHighShelf(high[0], -8.0, 3180.0, kRate);
    designHighShelf(high[1], 12.0, 4550.0, kRate);
    expectResponseAtBothTypes(high, 3000.0);

    HighPassFilter<double> highPass[2]{};
    designHighPass(highPass[0], 10.0, kRate);
    designHighPass(highPass[1], 20.0, kRate);
    expectResponseAtBothTypes(highPass, 10.0);

    PeakingFilter<double> peak[2]{};
    designPeaking(peak[0], 6.0, 3.0, 65.0, kRate);
    designPeaking(peak[1], -2.0, 3.0, 105.0, kRate);
    expectResponseAtBothTypes(peak, 80.0);
}

TEST(ShelfSections, ZeroDecibelsPassesEverySampleUnchanged) {
    LowShelfFilter<double> low{};
    HighShelfFilter<double> high{};
    designLowShelf(low, 0.0, 50.0, 44100.0);
    designHighShelf(high, 0.0, 4550.0, 44100.0);
    EXPECT_EQ(low.k, 0.0);
    EXPECT_EQ(high.k, 0.0);
    for (double x : {0.3, -0.77, 1e-3, 0.999, -1.0}) {
        EXPECT_EQ(processSample(low, x), x);
        EXPECT_EQ(processSample(high, x), x);
    }
}

TEST(ShelfSections, LowShelfBoostAndCutAreReciprocal) {
    LowShelfFilter<double> boost{}, cut{};
    designLowShelf(boost, 10.0, 50.0, 44100.0);
    designLowShelf(cut, -10.0, 50.0, 44100.0);
    EXPECT_NEAR(magnitude(boost, 0.001, 44100.0), 3.1623, 1e-4);
    EXPECT_NEAR(magnitude(boost, 50.0, 44100.0), 2.3452, 1e-4);
    EXPECT_NEAR(toDb(magnitude(boost, 50.0, 44100.0)), 7.40, 0.005);
    EXPECT_NEAR(magnitude(boost, 22050.0, 44100.0), 1.0, 1e-9);
    for (double hz : {5.0, 50.0, 200.0, 1000.0, 15000.0, 22050.0})
        EXPECT_NEAR(magnitude(boost, hz, 44100.0) * magnitude(cut, hz, 44100.0), 1.0, 1e-12) << hz;
}

TEST(ShelfSections, HighShelfReachesItsGainAtNyquist) {
    HighShelfFilter<double> boost{}, cut{};
    designHighShelf(boost, 10.0, 3180.0, 44100.0);
    designHighShelf(cut, -10.0, 3180.0, 44100.0);
    EXPECT_NEAR(magnitude(boost, 0.0, 44100.0), 1.0, 1e-12);
    EXPECT_NEAR(magnitude(boost, 22050.0, 44100.0), 3.1623, 1e-4);
    EXPECT_NEAR(magnitude(boost, 3180.0, 44100.0), std::sqrt((1.0 + 10.0) / 2.0), 1e-9);
    for (double hz : {100.0, 3180.0, 10000.0})
        EXPECT_NEAR(magnitude(boost, hz, 44100.0) * magnitude(cut, hz, 44100.0), 1.0, 1e-12) << hz;
}

TEST(HighPassSection, CornerAtMinus3dBAndConstantInputDecays) {
    HighPassFilter<double> hp{};
    designHighPass(hp, 10.0, 44100.0);
    EXPECT_NEAR(toDb(magnitude(hp, 10.0, 44100.0)), -3.01, 0.005);
    EXPECT_NEAR(magnitude(hp, 22050.0, 44100.0), 1.0, 1e-12);
    double y = 0.0;
    for (int i = 0; i < 44100; ++i) y = processSample(hp, 1.0);
    EXPECT_GT(y, 0.0);
    EXPECT_LT(y, 0.25); // one time constant of 10 Hz is 16 ms; a second later little is left
}

TEST(PeakingSection, GainAtCentreIsExactAndUnityAtTheEnds) {
    PeakingFilter<double> peak{};
    designPeaking(peak, 2.0, 3.0, 65.0, 44100.0);
    EXPECT_NEAR(toDb(magnitude(peak, 65.0, 44100.0)), 2.00, 1e-9);
    EXPECT_NEAR(magnitude(peak, 0.0, 44100.0), 1.0, 1e-9); // near-cancelling sums at DC
    EXPECT_NEAR(magnitude(peak, 22050.0, 44100.0), 1.0, 1e-12);
    // a0 is kept unnormalised: a0 * (1 + a2) = (1 + alpha/A) + (1 - alpha/A) = 2.
    EXPECT_NEAR(peak.a0 * (1.0 + peak.a2), 2.0, 1e-12);

    PeakingFilter<double> flat{};
    designPeaking(flat, 0.0, 3.0, 65.0, 44100.0);
    for (double x : {0.5, -0.25, 0.125, 0.0, 0.9}) EXPECT_NEAR(processSample(flat, x), x, 1e-15);
}

TEST(SectionDesign, RedesignKeepsStateSoOutputContinues) {
    PeakingFilter<double> peak{};
    designPeaking(peak, 6.0, 3.0, 100.0, 48000.0);
    for (int i = 0; i < 100; ++i) processSample(peak, std::sin(i * 0.01));
    const PeakingFilter<double> before = peak;
    designPeaking(peak, 3.0, 3.0, 80.0, 48000.0);
    EXPECT_EQ(peak.x1, before.x1);
    EXPECT_EQ(peak.x2, before.x2);
    EXPECT_EQ(peak.y1, before.y1);
    EXPECT_EQ(peak.y2, before.y2);
    EXPECT_NEAR(processSample(peak, std::sin(100 * 0.01)), before.y1, 0.05);

    LowShelfFilter<double> shelf{};
    designLowShelf(shelf, 6.0, 50.0, 48000.0);
    for (int i = 0; i < 50; ++i) processSample(shelf, 0.5);
    const double state = shelf.s;
    designLowShelf(shelf, -6.0, 50.0, 48000.0);
    EXPECT_EQ(shelf.s, state);
}
