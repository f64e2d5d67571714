#include "effect_fixture.h"
#include "reference_tape.h"
#include "tape/parameter_mapping.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vr58;
using namespace vr58::testing;

namespace {
// Runs an impulse and a few tones through a fresh copy of the effect (noise off) and returns the output:
// equal outputs mean equal coefficients.
std::vector<double> fingerprint(QuorvaneTapedeck& fx) {
    fx.setParameter(fx.buildConfig().noiseIndex, 0.0f);
    std::vector<double> left(512), right(512);
    for (int i = 0; i < 512; ++i) left[i] = right[i] = (i == 0 ? 0.5 : 0.0) + 0.1 * std::sin(i * 0.3);
    double* ins[2] = {left.data(), right.data()};
    std::vector<double> outL(512), outR(512);
    double* outs[2] = {outL.data(), outR.data()};
    fx.processDoubleReplacing(ins, outs, 512);
    outL.insert(outL.end(), outR.begin(), outR.end());
    return outL;
}
} // namespace

TEST(ParameterMapping, EqCurveThresholdsAreSinglePrecision) {
    EXPECT_EQ(eqCurvePosition(0.0f), EqCurve::NAB);
    EXPECT_EQ(eqCurvePosition(std::nextafter(0.3333333432674408f, 0.0f)), EqCurve::NAB);
    EXPECT_EQ(eqCurvePosition(0.3333333432674408f), EqCurve::IEC);
    EXPECT_EQ(eqCurvePosition(0.5f), EqCurve::IEC);
    EXPECT_EQ(eqCurvePosition(0.6666666269302368f), EqCurve::IEC);
    EXPECT_EQ(eqCurvePosition(0.6666666865348816f), EqCurve::AES);
    EXPECT_EQ(eqCurvePosition(1.0f), EqCurve::AES);
    EXPECT_EQ(equaliserDesign(0.1f, 0.5f, 0.5f, 0.5f, 0.5f).highCornerHz, 3180.0);
    EXPECT_EQ(equaliserDesign(0.5f, 1.0f, 1.0f, 0.0f, 0.0f).highCornerHz, 4550.0);
    EXPECT_EQ(equaliserDesign(1.0f, 0.5f, 0.5f, 0.5f, 0.5f).highCornerHz, 9100.0);
}

TEST(ParameterMapping, LowShelvesOnlyCountInTheNabPosition) {
    const EqualiserDesign nab = equaliserDesign(0.0f, 1.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(nab.recordLowDb, 10.0);
    EXPECT_EQ(nab.reproLowDb, -10.0);
    EXPECT_EQ(nab.recordHighDb, -14.0);
    EXPECT_EQ(nab.reproHighDb, 14.0);
    const EqualiserDesign iec = equaliserDesign(0.5f, 1.0f, 0.5f, 0.0f, 0.5f);
    EXPECT_EQ(iec.recordLowDb, 0.0);
    EXPECT_EQ(iec.reproLowDb, 0.0);
    EXPECT_EQ(iec.recordHighDb, 0.0);
}

TEST(ParameterMapping, HeadBumpRangesFromOneToEightDecibels) {
    const HeadBumpDesign defaults = headBumpDesign(0.0f, 0.0f, 1.0f);
    EXPECT_EQ(defaults.highPassHz, 10.0);
    EXPECT_EQ(defaults.centreHz, 65.0);
    EXPECT_EQ(defaults.gainDb, 2.0);
    EXPECT_EQ(defaults.bandwidthOctaves, 3.0);
    const HeadBumpDesign full = headBumpDesign(1.0f, 1.0f, 0.0f);
    EXPECT_EQ(full.highPassHz, 20.0);
    EXPECT_EQ(full.centreHz, 105.0);
    EXPECT_EQ(full.gainDb, 6.0);
    EXPECT_EQ(headBumpDesign(1.0f, 0.0f, 1.0f).gainDb, 1.0);
    EXPECT_EQ(headBumpDesign(0.0f, 1.0f, 0.0f).gainDb, 8.0);
}

TEST(ParameterMapping, LevelsAndHeadRoom) {
    EXPECT_EQ(trimOrGainDb(0.5f), 0.0);
    EXPECT_EQ(trimOrGainDb(0.0f), -24.0);
    EXPECT_EQ(trimOrGainDb(1.0f), 24.0);
    EXPECT_EQ(hissDb(0.5f), -66.0);
    EXPECT_EQ(headRoomDb(0.2499f), -12.0);
    EXPECT_EQ(headRoomDb(0.25f), -14.0);
    EXPECT_EQ(headRoomDb(0.5f), -18.0);
    EXPECT_EQ(headRoomDb(0.625f), -18.0);
    EXPECT_EQ(headRoomDb(0.75f), -20.0);
}

TEST(TapeModel, RecomputesOnlyWhatAParameterDrives) {
    auto base = makeTapedeck(kEditorBuild, 7);
    base->setSampleRate(48000.0f);
    const auto reference = fingerprint(*base);

    // Under IEC the record low shelf is flat whatever EQ RecLo says.
    auto iec = makeTapedeck(kEditorBuild, 7);
    iec->setSampleRate(48000.0f);
    iec->setParameter(kEqRecLo, 0.9f);
    iec->setParameter(kEqRepLo, 0.1f);
    EXPECT_EQ(fingerprint(*iec), reference);

    // The editor build's index 10 is the VU reference, the other build's is HB Att.
    auto headRoom = makeTapedeck(kEditorBuild, 7);
    headRoom->setSampleRate(48000.0f);
    headRoom->setParameter(10, 0.0f);
    EXPECT_EQ(fingerprint(*headRoom), reference);

    auto plain = makeTapedeck(kPlainBuild, 7);
    plain->setSampleRate(48000.0f);
    const auto plainReference = fingerprint(*plain);
    EXPECT_EQ(plainReference, reference);
    auto plainAtt = makeTapedeck(kPlainBuild, 7);
    plainAtt->setSampleRate(48000.0f);
    plainAtt->setParameter(10, 0.0f);
    EXPECT_NE(fingerprint(*plainAtt), plainReference);
}

// A parameter changed alone between blocks takes effect at the next block, as if it had been set before
// the first: a silent first block (noise off) leaves no history that could tell the two apart. The curve
// starts at NAB, where the low shelves count too.
TEST(TapeModel, EachFilterParameterChangedAloneBetweenBlocksRedesignsItsSection) {
    for (const BuildConfig* build : {&kEditorBuild, &kPlainBuild}) {
        for (const int32_t index :
             {int32_t{kEqCurve}, int32_t{kEqRecLo}, int32_t{kEqRecHi}, int32_t{kEqRepLo}, int32_t{kEqRepHi},
              int32_t{kHead}, int32_t{kBump}, build->hbAttIndex}) {
            const float changed = build->parameters[index].defaultValue < 0.5f ? 1.0f : 0.0f;
            std::vector<double> outputs[2];
            for (const bool between : {false, true}) {
                auto fx = makeTapedeck(*build, 7);
                fx->setSampleRate(48000.0f);
                fx->setParameter(build->noiseIndex, 0.0f);
                fx->setParameter(kEqCurve, 0.0f);
                if (!between) fx->setParameter(index, changed);
                std::vector<double> silence(64, 0.0), outL(64), outR(64);
                double* ins[2] = {silence.data(), silence.data()};
                double* outs[2] = {outL.data(), outR.data()};
                fx->processDoubleReplacing(ins, outs, 64);
                if (between) fx->setParameter(index, changed);
                outputs[between] = fingerprint(*fx);
            }
            EXPECT_EQ(outputs[true], outputs[false]) << build->productName << ", parameter " << index;
        }
    }
}

TEST(TapeModel, SpeakerArrangementSetsTheMonoFlag) {
    auto fx = makeTapedeck(kEditorBuild);
    VstSpeakerArrangement mono{}, stereo{};
    mono.numChannels = 1;
    stereo.numChannels = 2;
    EXPECT_TRUE(fx->setSpeakerArrangement(&mono, &mono));
    EXPECT_TRUE(fx->isMono());
    EXPECT_TRUE(fx->setSpeakerArrangement(&stereo, &stereo));
    EXPECT_FALSE(fx->isMono());
    EXPECT_TRUE(fx->setSpeakerArrangement(&mono, &mono));
    EXPECT_FALSE(fx->setSpeakerArrangement(&mono, &stereo));
    EXPECT_FALSE(fx->isMono());
    EXPECT_TRUE(fx->setSpeakerArrangement(&mono, &mono));
    EXPECT_FALSE(fx->setSpeakerArrangement(nullptr, &mono));
    EXPECT_TRUE(fx->isMono());
    EXPECT_EQ(fx->getAeffect()->numInputs, 2);
}

TEST(SampleRate, UnusableRatesAreIgnored) {
    auto fx = makeTapedeck(kEditorBuild);
    fx->setSampleRate(48000.0f);
    for (float bad : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()}) {
        fx->setSampleRate(bad);
        EXPECT_EQ(fx->getSampleRate(), 48000.0f) << bad;
    }
    EXPECT_EQ(fx->rateHooks.size(), 1u);
}

TEST(SampleRate, EverySectionStaysStableAtLowRates) {
    // At these rates the 9100 Hz and 4550 Hz corners, and for the smallest the bump too, reach Nyquist.
    for (float rate : {18200.0f, 9100.0f, 8000.0f, 1000.0f, 100.0f, 1.0f}) {
        auto fx = makeTapedeck(kEditorBuild, 3);
        fx->setSampleRate(rate);
        fx->setParameter(kEqCurve, 1.0f);
        fx->setParameter(kEqRecHi, 1.0f);
        fx->setParameter(kEqRepHi, 0.0f);
        fx->setParameter(kHead, 1.0f);
        fx->setParameter(kBump, 1.0f);
        std::vector<double> left(20000, 0.0), right(20000, 0.0);
        left[0] = right[0] = 1.0;
        for (int i = 0; i < 2000; ++i) left[i] += 0.5 * std::sin(i * 2.9);
        double* ins[2] = {left.data(), right.data()};
        double* outs[2] = {left.data(), right.data()};
        fx->processDoubleReplacing(ins, outs, 20000);
        double tail = 0.0;
        for (int i = 19000; i < 20000; ++i) {
            ASSERT_TRUE(std::isfinite(left[i]) && std::isfinite(right[i])) << rate;
            tail = std::max(tail, std::abs(left[i]) + std::abs(right[i]));
        }
        EXPECT_LT(tail, 0.1) << "hiss and decay only, at " << rate << " Hz";
    }
}
