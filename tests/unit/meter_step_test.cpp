// The meter step of the chain: one meter value per frame into the effect's meter feed while it runs,
// from the trimmed input or the output as VU Path says, the left channel alone for a mono arrangement,
// the same values in both precisions.
#include "effect_fixture.h"
#include "tape/meter_feed.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace vr58;
using namespace vr58::testing;

namespace {

constexpr int kFrames = 2048;
constexpr double kRate = 48000.0;

struct Metered {
    double level;
    double peak;
    std::vector<double> left, right; // what the chain wrote
};

std::unique_ptr<TapeEffect> meteredTapedeck(float vuPath) {
    auto fx = makeTapeEffect(kEditorBuild, 7);
    fx->setSampleRate(static_cast<float>(kRate));
    fx->setParameter(kEditorBuild.noiseIndex, 0.0f);
    fx->setParameter(kTrim, 0.6f); // +4.8 dB, so input and trimmed input differ
    fx->setParameter(kEditorBuild.vuPathIndex, vuPath);
    return fx;
}

std::vector<double> signal(int channel) {
    std::vector<double> s(kFrames);
    for (int i = 0; i < kFrames; ++i) s[i] = (channel ? 0.3 : 0.7) * std::sin(0.01 * i * (channel + 1));
    return s;
}

Metered runDouble(TapeEffect& fx) {
    std::vector<double> inL = signal(0), inR = signal(1), outL(kFrames), outR(kFrames);
    double* in[] = {inL.data(), inR.data()};
    double* out[] = {outL.data(), outR.data()};
    fx.process(in, out, kFrames);
    return {fx.meterFeed().smoothedLevel(), fx.meterFeed().takePeak(), outL, outR};
}

// The meter values as the formulas define them, through the ballistics, independently of the chain.
Metered expected(const std::vector<double>& vL, const std::vector<double>& vR, bool mono) {
    VuBallistics f;
    designVuBallistics(f, kRate);
    double peak = 0.0;
    for (int i = 0; i < kFrames; ++i) {
        const double m = mono ? std::fabs(vL[i]) : (std::fabs(vL[i]) + std::fabs(vR[i])) * 0.5;
        peak = std::max(peak, m);
        stepVuBallistics(f, m);
    }
    return {f.y1, peak, {}, {}};
}

std::vector<double> trimmed(const std::vector<double>& in) {
    std::vector<double> out(in.size());
    const double gain = std::exp(static_cast<double>(0.6f * 48.0f - 24.0f) * 0.11512925464970228);
    for (size_t i = 0; i < in.size(); ++i) out[i] = in[i] * gain;
    return out;
}

TEST(MeterStep, FeedsTheMeterOnlyWhileItRuns) {
    auto fx = meteredTapedeck(1.0f);
    Metered closed = runDouble(*fx);
    EXPECT_EQ(closed.level, 0.0);
    EXPECT_EQ(closed.peak, 0.0);

    fx->meterFeed().start();
    Metered open = runDouble(*fx);
    const Metered want = expected(open.left, open.right, false);
    EXPECT_EQ(open.level, want.level);
    EXPECT_EQ(open.peak, want.peak);
    EXPECT_GT(open.level, 0.01);

    fx->meterFeed().stop();
    runDouble(*fx);
    EXPECT_EQ(fx->meterFeed().smoothedLevel(), open.level);
    EXPECT_EQ(fx->meterFeed().takePeak(), 0.0);
}

TEST(MeterStep, VuPathHalfMetersTheTrimmedInputAndMonoTheLeftChannel) {
    auto fx = meteredTapedeck(0.5f);
    fx->meterFeed().start();
    const Metered input = runDouble(*fx);
    const Metered want = expected(trimmed(signal(0)), trimmed(signal(1)), false);
    EXPECT_EQ(input.level, want.level);
    EXPECT_EQ(input.peak, want.peak);

    auto mono = meteredTapedeck(1.0f);
    mono->setMono(true);
    mono->meterFeed().start();
    const Metered left = runDouble(*mono);
    const Metered wantLeft = expected(left.left, left.right, true);
    EXPECT_EQ(left.level, wantLeft.level);
    EXPECT_EQ(left.peak, wantLeft.peak);
}

TEST(MeterStep, BothPrecisionsFeedTheSameValues) {
    auto floats = meteredTapedeck(1.0f);
    floats->meterFeed().start();

    std::vector<float> inL(kFrames), inR(kFrames), outL(kFrames), outR(kFrames);
    const std::vector<double> sL = signal(0), sR = signal(1);
    for (int i = 0; i < kFrames; ++i) {
        inL[i] = static_cast<float>(sL[i]);
        inR[i] = static_cast<float>(sR[i]);
    }
    // The double run gets the same samples, widened from float.
    auto widened = meteredTapedeck(1.0f);
    widened->meterFeed().start();
    std::vector<double> wL(inL.begin(), inL.end()), wR(inR.begin(), inR.end()), oL(kFrames), oR(kFrames);
    double* win[] = {wL.data(), wR.data()};
    double* wout[] = {oL.data(), oR.data()};
    widened->process(win, wout, kFrames);
    float* in[] = {inL.data(), inR.data()};
    float* out[] = {outL.data(), outR.data()};
    floats->process(in, out, kFrames);
    EXPECT_EQ(floats->meterFeed().smoothedLevel(), widened->meterFeed().smoothedLevel());
    EXPECT_GT(floats->meterFeed().smoothedLevel(), 0.0);
    EXPECT_EQ(floats->meterFeed().takePeak(), widened->meterFeed().takePeak());
}

} // namespace
