#include "plugin_under_test.h"
#include "reference_tape.h"
#include "test_signals.h"

#include <cmath>

using namespace vr58;
using namespace vr58::testing;

namespace {
struct Setting {
    const char* name;
    std::vector<std::pair<int, float>> values; // by index; -1 / -2 stand for HB Att / Noise of the build
};

const Setting kSettings[] = {
    {"defaults", {}},
    {"nab hot", {{2, 0.1f}, {0, 0.8f}, {3, 0.7f}, {5, 0.2f}, {6, 0.3f}}},
    {"aes with head bump", {{2, 1.0f}, {7, 0.6f}, {8, 1.0f}, {-1, 0.0f}, {4, 0.9f}, {1, 0.3f}}},
    {"iec trimmed down", {{0, 0.1f}, {2, 0.5f}, {6, 1.0f}, {-1, 0.5f}}},
};

int resolve(const PluginBinary& binary, int index) {
    if (index == -1) return binary.hbAtt;
    if (index == -2) return binary.noise;
    return index;
}

std::vector<float> configure(host::HostedPlugin& plugin, const PluginBinary& binary, const Setting& setting,
                             float rate) {
    plugin.setSampleRate(rate);
    plugin.setBlockSize(512);
    plugin.mainsChanged(true);
    plugin.setParameter(binary.noise, 0.0f); // the seed comes from the clock: compare without hiss
    for (auto [index, value] : setting.values) plugin.setParameter(resolve(binary, index), value);
    std::vector<float> values;
    for (int i = 0; i < binary.numParams; ++i) values.push_back(plugin.getParameter(i));
    return values;
}

ReferenceLayout layoutOf(const PluginBinary& binary) {
    return {binary.hbAtt, binary.noise};
}

class ChainThroughBinary : public ::testing::TestWithParam<std::tuple<PluginBinary, float>> {};
} // namespace

TEST_P(ChainThroughBinary, BothPrecisionsMatchTheReferenceBitForBit) {
    const auto [binary, rate] = GetParam();
    const int frames = 6000;
    const auto material = makeProgramMaterial(frames, rate);
    for (const Setting& setting : kSettings) {
        auto wide = loadPlugin(binary);
        auto single = loadPlugin(binary);
        ASSERT_TRUE(wide && single);
        const auto values = configure(*wide, binary, setting, rate);
        configure(*single, binary, setting, rate);

        host::PlanarAudio<double> dOut;
        std::string error;
        ASSERT_TRUE(wide->process(material, dOut, 512, error)) << error;
        ReferenceTape reference(values, layoutOf(binary), rate, 0);
        std::vector<double> refL(frames), refR(frames);
        reference.run(material[0].data(), material[1].data(), refL.data(), refR.data(), frames);
        for (int i = 0; i < frames; ++i) {
            ASSERT_EQ(dOut[0][i], refL[i]) << setting.name << " frame " << i;
            ASSERT_EQ(dOut[1][i], refR[i]) << setting.name << " frame " << i;
        }

        host::PlanarAudio<float> fIn(2), fOut;
        for (int ch = 0; ch < 2; ++ch) fIn[ch].assign(material[ch].begin(), material[ch].end());
        ASSERT_TRUE(single->process(fIn, fOut, 333, error)) << error;
        ReferenceTape narrowReference(values, layoutOf(binary), rate, 0);
        std::vector<float> nL(frames), nR(frames);
        narrowReference.run(fIn[0].data(), fIn[1].data(), nL.data(), nR.data(), frames);
        EXPECT_EQ(fOut[0], nL) << setting.name;
        EXPECT_EQ(fOut[1], nR) << setting.name;
    }
}

INSTANTIATE_TEST_SUITE_P(RatesAndBuilds, ChainThroughBinary,
                         ::testing::Combine(::testing::Values(kEditorBinary, kPlainBinary),
                                            ::testing::Values(44100.0f, 48000.0f, 96000.0f)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    std::to_string(static_cast<int>(std::get<1>(info.param)));
                         });

TEST_P(EachPlugin, HissOnlyWhenNoiseIsOn) {
    auto plugin = loadPlugin(GetParam());
    ASSERT_TRUE(plugin);
    plugin->setSampleRate(48000.0f);
    plugin->setParameter(9, 1.0f); // -36 dB
    host::PlanarAudio<float> silence(2, std::vector<float>(48000, 0.0f)), out;
    std::string error;
    ASSERT_TRUE(plugin->process(silence, out, 512, error)) << error;
    double energy = 0.0;
    for (float v : out[0]) energy += double(v) * v;
    const double rmsDb = 10.0 * std::log10(energy / 48000.0);
    // Uniform noise in [-0.5, 0.5) has an RMS of -10.8 dBFS; -36 dB of gain and erf's +1.05 dB slope.
    EXPECT_NEAR(rmsDb, -36.0 - 10.79 + 1.05, 1.5);

    plugin->setParameter(GetParam().noise, 0.0f);
    ASSERT_TRUE(plugin->process(silence, out, 512, error)) << error;
    host::PlanarAudio<float> later;
    ASSERT_TRUE(plugin->process(silence, later, 4096, error));
    ASSERT_TRUE(plugin->process(silence, later, 4096, error));
    for (float v : later[0]) EXPECT_LT(std::abs(v), 1e-6f);
}

TEST_P(EachPlugin, UnusableSampleRatesKeepTheOutputFinite) {
    auto plugin = loadPlugin(GetParam());
    ASSERT_TRUE(plugin);
    plugin->setSampleRate(44100.0f);
    plugin->setParameter(2, 1.0f);
    for (float rate : {0.0f, -1.0f, std::nanf(""), INFINITY, 8000.0f, 9100.0f}) {
        plugin->setSampleRate(rate);
        host::PlanarAudio<double> in = makeProgramMaterial(4000, 8000.0), out;
        std::string error;
        ASSERT_TRUE(plugin->process(in, out, 256, error));
        for (const auto& channel : out)
            for (double v : channel) ASSERT_TRUE(std::isfinite(v) && std::abs(v) < 10.0) << rate;
    }
}

TEST_P(EachPlugin, InstancesCreatedTogetherHissIndependently) {
    // Eight tracks opened at once (well inside one millisecond of the tick count).
    std::vector<std::unique_ptr<host::HostedPlugin>> tracks;
    for (int i = 0; i < 8; ++i) tracks.push_back(loadPlugin(GetParam()));
    std::vector<std::vector<float>> hiss;
    for (auto& track : tracks) {
        ASSERT_TRUE(track);
        track->setSampleRate(48000.0f);
        host::PlanarAudio<float> silence(2, std::vector<float>(256, 0.0f)), out;
        std::string error;
        ASSERT_TRUE(track->process(silence, out, 256, error)) << error;
        hiss.push_back(out[0]);
    }
    for (size_t a = 0; a < hiss.size(); ++a)
        for (size_t b = a + 1; b < hiss.size(); ++b) EXPECT_NE(hiss[a], hiss[b]) << a << " and " << b;
}
