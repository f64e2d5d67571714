#include "effect_fixture.h"
#include "engine/vendor_requests.h"
#include "reference_tape.h"
#include "tape/noise_generator.h"
#include "test_signals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <xmmintrin.h>

using namespace vr58;
using namespace vr58::testing;

namespace {
struct Setting {
    const char* name;
    std::vector<std::pair<int, float>> values;
};

std::vector<float> valuesOf(TapeEffect& fx) {
    std::vector<float> v;
    for (int i = 0; i < fx.parameterCount(); ++i) v.push_back(fx.parameter(i));
    return v;
}

const Setting kSettings[] = {
    {"defaults", {}},
    {"nab hot", {{kEqCurve, 0.1f}, {kTrim, 0.8f}, {kEqRecLo, 0.7f}, {kEqRepHi, 0.3f}}},
    {"aes bump", {{kEqCurve, 1.0f}, {kHead, 0.6f}, {kBump, 1.0f}, {kEqRecHi, 0.9f}, {kGain, 0.3f}}},
    {"quiet", {{kTrim, 0.1f}, {kHiss, 1.0f}, {kEqCurve, 0.34f}}},
};
} // namespace

TEST(Noise, WordsFromSeedZero) {
    NoiseGenerator noise{0, 0};
    const float left = noise.draw();
    EXPECT_EQ(noise.seed, 0x3619636Bu);
    EXPECT_EQ(noise.word, 0x401B0CB1u);
    EXPECT_FLOAT_EQ(left, -0.28867519f);
    const float right = noise.draw();
    EXPECT_EQ(noise.seed, 0x9D6F2492u);
    EXPECT_EQ(noise.word, 0x404EB792u);
    EXPECT_FLOAT_EQ(right, 0.11497712f);
}

TEST(Noise, SeedAdvancesTwoStepsPerFrameOnlyWhileOn) {
    auto fx = makeTapeEffect(kEditorBuild, 0);
    fx->setSampleRate(44100.0f);
    std::vector<float> left(64, 0.0f), right(64, 0.0f);
    float* ins[2] = {left.data(), right.data()};
    float* outs[2] = {left.data(), right.data()};
    fx->process(ins, outs, 1);
    EXPECT_EQ(fx->noiseSeed(), 0x9D6F2492u);
    fx->process(ins, outs, 0);
    fx->process(ins, outs, -5);
    EXPECT_EQ(fx->noiseSeed(), 0x9D6F2492u);

    NoiseGenerator expected{0, 0x9D6F2492u};
    for (int i = 0; i < 2 * 63; ++i) expected.draw();
    fx->process(ins, outs, 63);
    EXPECT_EQ(fx->noiseSeed(), expected.seed);

    fx->setParameter(kEditorBuild.noiseIndex, 0.0f);
    fx->process(ins, outs, 64);
    EXPECT_EQ(fx->noiseSeed(), expected.seed);
    fx->setParameter(kEditorBuild.noiseIndex, 1e-30f); // any non-zero value means on
    fx->process(ins, outs, 1);
    EXPECT_NE(fx->noiseSeed(), expected.seed);
}

TEST(Noise, ASeedRequestTakesEffectAtTheNextBlockOnly) {
    auto fx = makeTapedeck(kPlainBuild, 77);
    fx->setSampleRate(44100.0f);
    std::vector<float> left(16, 0.0f), right(16, 0.0f);
    float* buffers[2] = {left.data(), right.data()};
    const uint32_t seed = 0xC0FFEEu;
    EXPECT_EQ(fx->dispatcher(effVendorSpecific, vendor::kIndex, vendor::kSetNoiseSeed, nullptr, 0.0f), 0);
    EXPECT_EQ(fx->dispatcher(effVendorSpecific, kUniqueId + 1, vendor::kSetNoiseSeed,
                             const_cast<uint32_t*>(&seed), 0.0f),
              0); // not our index
    EXPECT_NE(fx->noiseSeed(), seed);
    ASSERT_EQ(fx->dispatcher(effVendorSpecific, vendor::kIndex, vendor::kSetNoiseSeed,
                             const_cast<uint32_t*>(&seed), 0.0f),
              1);
    EXPECT_NE(fx->noiseSeed(), seed); // handed over, not yet taken: the audio thread owns the generator
    fx->processReplacing(buffers, buffers, 0);
    EXPECT_NE(fx->noiseSeed(), seed);
    NoiseGenerator expected{0, seed};
    for (int i = 0; i < 2 * 16; ++i) expected.draw();
    fx->processReplacing(buffers, buffers, 16);
    EXPECT_EQ(fx->noiseSeed(), expected.seed);
    fx->processReplacing(buffers, buffers, 16); // taken once: the hiss runs on from there
    for (int i = 0; i < 2 * 16; ++i) expected.draw();
    EXPECT_EQ(fx->noiseSeed(), expected.seed);
}

TEST(Chain, NonPositiveFrameCountsWriteNothing) {
    auto fx = makeTapeEffect(kEditorBuild, 0);
    fx->setSampleRate(44100.0f);
    float in[2] = {0.5f, 0.5f};
    float out[2] = {7.0f, 7.0f};
    float* ins[2] = {&in[0], &in[1]};
    float* outs[2] = {&out[0], &out[1]};
    fx->process(ins, outs, 0);
    fx->process(ins, outs, -1);
    EXPECT_EQ(out[0], 7.0f);
    EXPECT_EQ(out[1], 7.0f);
}

TEST(Chain, MatchesTheReferenceBitForBitWithNoiseOn) {
    for (const Setting& setting : kSettings) {
        for (float rate : {44100.0f, 48000.0f, 96000.0f, 22050.0f}) {
            auto fx = makeTapeEffect(kEditorBuild, 0xC0FFEEu);
            fx->setSampleRate(rate);
            for (auto [index, value] : setting.values) fx->setParameter(index, value);
            ReferenceTape reference(valuesOf(*fx), kEditorLayout, rate, 0xC0FFEEu);

            const auto material = makeProgramMaterial(3000, rate);
            std::vector<double> outL(3000), outR(3000), refL(3000), refR(3000);
            const double* ins[2] = {material[0].data(), material[1].data()};
            double* outs[2] = {outL.data(), outR.data()};
            for (int start = 0; start < 3000; start += 700) { // uneven blocks: state carries across calls
                const int n = std::min(700, 3000 - start);
                const double* blockIn[2] = {ins[0] + start, ins[1] + start};
                double* blockOut[2] = {outs[0] + start, outs[1] + start};
                fx->process(const_cast<double**>(blockIn), blockOut, n);
            }
            reference.run(material[0].data(), material[1].data(), refL.data(), refR.data(), 3000);
            for (int i = 0; i < 3000; ++i) {
                ASSERT_EQ(outL[i], refL[i]) << setting.name << " at " << rate << " frame " << i;
                ASSERT_EQ(outR[i], refR[i]) << setting.name << " at " << rate << " frame " << i;
            }
            EXPECT_EQ(fx->noiseSeed(), reference.currentSeed());
        }
    }
}

TEST(Chain, FloatAndDoublePathsAgreeOnceNarrowed) {
    for (const Setting& setting : kSettings) {
        auto single = makeTapeEffect(kEditorBuild, 99);
        auto wide = makeTapeEffect(kEditorBuild, 99);
        for (auto* fx : {single.get(), wide.get()}) {
            fx->setSampleRate(48000.0f);
            for (auto [index, value] : setting.values) fx->setParameter(index, value);
        }
        const auto material = makeProgramMaterial(2048, 48000.0);
        std::vector<float> fl(material[0].begin(), material[0].end()),
            fr(material[1].begin(), material[1].end());
        std::vector<double> dl(fl.begin(), fl.end()), dr(fr.begin(), fr.end());
        float* fins[2] = {fl.data(), fr.data()};
        double* dins[2] = {dl.data(), dr.data()};
        single->process(fins, fins, 2048); // in place
        wide->process(dins, dins, 2048);
        for (int i = 0; i < 2048; ++i) {
            ASSERT_EQ(fl[i], static_cast<float>(dl[i])) << setting.name << " " << i;
            ASSERT_EQ(fr[i], static_cast<float>(dr[i])) << setting.name << " " << i;
        }
    }
}

TEST(Chain, SaturationCapsAtFullScale) {
    auto fx = makeTapeEffect(kEditorBuild, 0);
    fx->setSampleRate(44100.0f);
    fx->setParameter(kEditorBuild.noiseIndex, 0.0f);
    ReferenceTape reference(valuesOf(*fx), kEditorLayout, 44100.0f, 0);
    std::vector<double> in(4000), out(4000), ref(4000);
    for (int i = 0; i < 4000; ++i) in[i] = (i / 200) % 2 ? 10.0 : -10.0;
    double* ins[2] = {in.data(), in.data()};
    std::vector<double> right(4000);
    double* outs[2] = {out.data(), right.data()};
    fx->process(ins, outs, 4000);
    std::vector<double> refRight(4000);
    reference.run(in.data(), in.data(), ref.data(), refRight.data(), 4000);
    EXPECT_EQ(out, ref);
    EXPECT_EQ(std::erf(10.0), 1.0);
    double peak = 0.0;
    for (double v : out) peak = std::max(peak, std::abs(v));
    EXPECT_GT(peak, 1.0); // the head bump and high-pass overshoot of a full-scale square
    EXPECT_LT(peak, 3.0);
}

TEST(Chain, EditorlessBuildReadsNoiseAndAttenuationAtItsOwnIndices) {
    auto fx = makeTapeEffect(kPlainBuild, 5);
    fx->setSampleRate(44100.0f);
    fx->setParameter(10, 0.3f);
    fx->setParameter(kHead, 0.5f);
    ReferenceTape reference(valuesOf(*fx), kPlainLayout, 44100.0f, 5);
    const auto material = makeProgramMaterial(1500, 44100.0);
    std::vector<double> l(1500), r(1500), rl(1500), rr(1500);
    const double* ins[2] = {material[0].data(), material[1].data()};
    double* outs[2] = {l.data(), r.data()};
    fx->process(const_cast<double**>(ins), outs, 1500);
    reference.run(material[0].data(), material[1].data(), rl.data(), rr.data(), 1500);
    EXPECT_EQ(l, rl);
    EXPECT_EQ(r, rr);
    fx->setParameter(11, 0.0f);
    const uint32_t seed = fx->noiseSeed();
    fx->process(const_cast<double**>(ins), outs, 1500);
    EXPECT_EQ(fx->noiseSeed(), seed);
}

TEST(Denormals, ProcessFlushesSubnormalsAndRestoresTheCallersControlWord) {
    // The tail of an impulse of 1e-306 passes through the subnormal range within the first 20,000 samples
    // (the head-bump peak has a slow real pole); with flushing on, no output is subnormal and the states
    // end at exactly zero, so does the output after them.
    auto fx = makeTapeEffect(kEditorBuild, 0);
    fx->setSampleRate(44100.0f);
    fx->setParameter(kEditorBuild.noiseIndex, 0.0f);
    const unsigned before = _mm_getcsr();
    std::vector<double> l(1 << 16, 0.0), r(1 << 16, 0.0);
    l[0] = r[0] = 1e-306;
    double* bufs[2] = {l.data(), r.data()};
    fx->process(bufs, bufs, 1 << 16);
    EXPECT_EQ(_mm_getcsr(), before);
    for (int i = 0; i < (1 << 16); ++i) {
        ASSERT_TRUE(l[i] == 0.0 || std::fpclassify(l[i]) == FP_NORMAL) << i;
    }
    EXPECT_NE(l[0], 0.0);
    std::vector<double> tail(512, 0.0), tailR(512, 0.0);
    double* tails[2] = {tail.data(), tailR.data()};
    fx->process(tails, tails, 512);
    for (double v : tail) ASSERT_EQ(v, 0.0);
    // And the caller's own flags come back even when it had asked for flushing itself.
    _mm_setcsr(before | 0x8040);
    fx->process(bufs, bufs, 16);
    EXPECT_EQ(_mm_getcsr(), before | 0x8040);
    _mm_setcsr(before);
}
