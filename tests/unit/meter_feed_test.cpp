#include "tape/meter_feed.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace vr58;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Feeds `values` through the audio side in blocks of `blockSize`, as the process calls do.
void feed(MeterFeed& meter, double rate, const std::vector<double>& values, size_t blockSize = 333) {
    for (size_t start = 0; start < values.size(); start += blockSize) {
        MeterFeed::Block block = meter.beginBlock(rate);
        for (size_t i = start; i < values.size() && i < start + blockSize; ++i) block.push(values[i]);
        meter.endBlock(block);
    }
}

std::vector<double> constant(double value, double seconds, double rate) {
    return std::vector<double>(static_cast<size_t>(std::lround(seconds * rate)), value);
}

} // namespace

TEST(VuBallistics, CoefficientsAreTheBilinearVuLowPass) {
    VuBallistics f{};
    f.x1 = f.y1 = 0.7;
    designVuBallistics(f, 48000.0);
    EXPECT_EQ(f.x1, 0.0);
    EXPECT_EQ(f.y1, 0.0);
    EXPECT_NEAR(f.a1, -1.999542478722914932, 4e-16);
    EXPECT_NEAR(f.a2, 0.999542557945866350, 4e-16);
    EXPECT_NEAR(f.b0, 1.980573785442705921e-8, 1e-22);
    EXPECT_EQ(f.b2, f.b0);
    EXPECT_EQ(f.b1, 2.0 * f.b0);

    // A rate the host should never give still yields a working filter.
    VuBallistics fallback{}, reference{};
    designVuBallistics(reference, 44100.0);
    for (double bad : {0.0, -48000.0, kNaN, kInf}) {
        designVuBallistics(fallback, bad);
        EXPECT_EQ(fallback.a1, reference.a1) << bad;
        EXPECT_EQ(fallback.b0, reference.b0) << bad;
    }
}

TEST(VuBallistics, StepReachesNinetyNinePercentIn300MsAndOvershootsByOneAndAQuarterPercent) {
    for (double rate : {44100.0, 48000.0, 96000.0}) {
        MeterFeed meter;
        meter.start();
        const auto step = constant(1.0, 0.3, rate);
        feed(meter, rate, step);
        EXPECT_NEAR(meter.smoothedLevel(), 0.9900, 0.00005) << rate;

        // Through blocks the feed gives exactly what the plain filter gives sample by sample.
        VuBallistics plain{};
        designVuBallistics(plain, rate);
        for (double x : step) stepVuBallistics(plain, x);
        EXPECT_EQ(meter.smoothedLevel(), plain.y1) << rate;

        double maximum = 0.0, when = 0.0;
        for (int i = 1; i <= static_cast<int>(rate); ++i)
            if (const double y = stepVuBallistics(plain, 1.0); y > maximum) maximum = y, when = i / rate;
        EXPECT_NEAR(maximum, 1.0125, 0.00005) << rate;
        EXPECT_NEAR(when + 0.3, 0.40, 0.01) << rate;
    }
}

TEST(MeterFeed, NonFiniteValuesNeverLatchTheNeedle) {
    const double rate = 48000.0;
    MeterFeed meter;
    meter.start();
    feed(meter, rate, {0.5, kNaN, -kInf, kNaN, 0.5});
    ASSERT_TRUE(std::isfinite(meter.smoothedLevel()));

    // An infinite signal drives the needle to the stop; it comes back once the signal does.
    feed(meter, rate, constant(kInf, 0.5, rate));
    EXPECT_GT(meter.smoothedLevel(), 1.0);
    feed(meter, rate, constant(0.1, 4.0, rate));
    EXPECT_NEAR(meter.smoothedLevel(), 0.1, 1e-3);

    // A stream of NaN reads as silence.
    feed(meter, rate, constant(kNaN, 4.0, rate));
    EXPECT_NEAR(meter.smoothedLevel(), 0.0, 1e-3);
}

TEST(MeterFeed, PeakIsTheLargestValueSinceTheLastTake) {
    MeterFeed meter;
    meter.start();
    feed(meter, 44100.0, {0.2, 1.0, 0.3});
    EXPECT_EQ(meter.takePeak(), 1.0); // exactly full scale: the LED's "> 1" does not light
    EXPECT_EQ(meter.takePeak(), 0.0); // taking clears

    feed(meter, 44100.0, {0.5, 1.0001});
    feed(meter, 44100.0, {0.7});
    EXPECT_EQ(meter.takePeak(), 1.0001); // kept across blocks

    feed(meter, 44100.0, {kNaN, kNaN});
    EXPECT_EQ(meter.takePeak(), 0.0);
    feed(meter, 44100.0, {0.4, kInf, kNaN});
    EXPECT_EQ(meter.takePeak(), kInf);
}

TEST(MeterFeed, StartGivesAFreshStateEvenWithABlockInFlight) {
    const double rate = 44100.0;
    MeterFeed meter;
    EXPECT_FALSE(meter.running());
    meter.start();
    EXPECT_TRUE(meter.running());
    feed(meter, rate, constant(3.0, 0.5, rate));
    ASSERT_GT(meter.smoothedLevel(), 1.0);

    // A block begun before the editor reopened publishes nothing into the new state.
    MeterFeed::Block inFlight = meter.beginBlock(rate);
    for (int i = 0; i < 100; ++i) inFlight.push(5.0);
    meter.stop();
    EXPECT_FALSE(meter.running());
    meter.start();
    meter.endBlock(inFlight);
    EXPECT_EQ(meter.smoothedLevel(), 0.0);
    EXPECT_EQ(meter.takePeak(), 0.0);

    // The next block starts from a cleared filter: one sample of 1 gives exactly b0.
    VuBallistics fresh{};
    designVuBallistics(fresh, rate);
    feed(meter, rate, {1.0});
    EXPECT_EQ(meter.smoothedLevel(), fresh.b0);

    // A new sample rate clears the filter as well.
    feed(meter, rate, constant(1.0, 0.1, rate));
    designVuBallistics(fresh, 96000.0);
    feed(meter, 96000.0, {1.0});
    EXPECT_EQ(meter.smoothedLevel(), fresh.b0);
}
