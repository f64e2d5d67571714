// Driving a loaded effect: callback routing and answers, texts and their buffers, parameters, chunk,
// identity, speaker arrangements and the process calls.
#include "host/hosted_plugin.h"
#include "recording_log.h"

#include <gtest/gtest.h>

#include <cstring>

using vr58::host::HostedPlugin;
using vr58::host::kUntouchedByte;
using vr58::host::PlanarAudio;

namespace {

class Recording : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        plugin = HostedPlugin::load(VR58_FIXTURE_RECORDING, error);
        ASSERT_TRUE(plugin) << error;
        log = reinterpret_cast<FixtureLogFunction>(plugin->symbol("vr58_fixture_log"))();
        plugin->clearCalls();
    }
    const FixtureDispatch& lastDispatch() const { return log->dispatches[log->dispatchCount - 1]; }

    std::unique_ptr<HostedPlugin> plugin;
    FixtureLog* log = nullptr;
};

} // namespace

TEST_F(Recording, CallbackRecordsArgumentsAndGivesConfiguredAnswers) {
    int marker = 0;
    EXPECT_EQ(plugin->dispatch(effVendorSpecific, 7, -3, &marker, 0.25f), 0); // unset opcodes answer 0
    plugin->setCallbackAnswer(audioMasterAutomate, 1234);
    EXPECT_EQ(plugin->dispatch(effVendorSpecific, 8, 5, nullptr, -1.5f), 1234);

    const auto& calls = plugin->calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].opcode, audioMasterAutomate);
    EXPECT_EQ(calls[0].index, 7);
    EXPECT_EQ(calls[0].value, -3);
    EXPECT_EQ(calls[0].ptr, &marker);
    EXPECT_EQ(calls[0].opt, 0.25f);
    EXPECT_EQ(calls[0].effect, plugin->effect());
    EXPECT_FALSE(calls[0].effectWasNull);
    EXPECT_EQ(calls[1].index, 8);
    EXPECT_EQ(calls[1].opt, -1.5f);

    plugin->clearCalls();
    EXPECT_TRUE(plugin->calls().empty());
}

TEST_F(Recording, CallbacksReachTheInstanceOfTheirRecord) {
    std::string error;
    auto other = HostedPlugin::load(VR58_FIXTURE_RECORDING, error);
    ASSERT_TRUE(other) << error;
    ASSERT_NE(other->effect(), plugin->effect());
    other->clearCalls();
    other->setCallbackAnswer(audioMasterAutomate, 2);
    plugin->setCallbackAnswer(audioMasterAutomate, 1);

    EXPECT_EQ(other->dispatch(effVendorSpecific, 22), 2);
    EXPECT_EQ(plugin->dispatch(effVendorSpecific, 11), 1);
    ASSERT_EQ(other->calls().size(), 1u);
    ASSERT_EQ(plugin->calls().size(), 1u);
    EXPECT_EQ(other->calls()[0].index, 22);
    EXPECT_EQ(plugin->calls()[0].index, 11);
}

TEST_F(Recording, TypedCallsSendTheirOpcodesAndArguments) {
    plugin->open();
    EXPECT_EQ(lastDispatch().opcode, effOpen);
    plugin->setSampleRate(96000.0f);
    EXPECT_EQ(lastDispatch().opcode, effSetSampleRate);
    EXPECT_EQ(lastDispatch().opt, 96000.0f);
    plugin->setBlockSize(333);
    EXPECT_EQ(lastDispatch().opcode, effSetBlockSize);
    EXPECT_EQ(lastDispatch().value, 333);
    plugin->mainsChanged(true);
    EXPECT_EQ(lastDispatch().opcode, effMainsChanged);
    EXPECT_EQ(lastDispatch().value, 1);
    plugin->mainsChanged(false);
    EXPECT_EQ(lastDispatch().value, 0);
    EXPECT_EQ(lastDispatch().effect, plugin->effect());
}

TEST_F(Recording, ParameterTextsAndTheirBuffers) {
    EXPECT_EQ(plugin->parameterName(2), "EQ Curve");
    EXPECT_EQ(plugin->parameterLabel(12), "I/O");
    EXPECT_EQ(plugin->parameterDisplay(10), "0.625000");

    // The plug-in writes exactly nine bytes; the rest of the buffer shows it stayed within them.
    const auto raw = plugin->rawText(effGetParamName, 0);
    EXPECT_EQ(std::memcmp(raw.data(), "Trim\0\0\0\0\0", 9), 0);
    EXPECT_EQ(raw[9], kUntouchedByte);
    EXPECT_EQ(raw.back(), kUntouchedByte);

    // Out of range: the buffer is left as it was and the text is empty.
    const auto untouched = plugin->rawText(effGetParamName, 15);
    for (unsigned char byte : untouched) ASSERT_EQ(byte, kUntouchedByte);
    EXPECT_EQ(plugin->parameterName(15), "");
    EXPECT_EQ(plugin->parameterName(-1), "");
}

TEST_F(Recording, ParametersByIndexAndByName) {
    EXPECT_EQ(plugin->findParameter("Trim"), 0);
    EXPECT_EQ(plugin->findParameter("Noise"), 14);
    EXPECT_EQ(plugin->findParameter("EQ Curve"), 2);
    EXPECT_EQ(plugin->findParameter("EQ"), -1);    // names match whole
    EXPECT_EQ(plugin->findParameter("noise"), -1); // and case-sensitively
    plugin->setParameter(3, 0.25f);
    EXPECT_EQ(plugin->getParameter(3), 0.25f);
    EXPECT_EQ(plugin->parameterDisplay(3), "0.250000");
}

TEST_F(Recording, ChunkRoundTrip) {
    plugin->setParameter(0, 0.125f);
    const auto chunk = plugin->getChunk();
    ASSERT_EQ(chunk.size, 60);
    ASSERT_EQ(chunk.bytes.size(), 60u);
    float first;
    std::memcpy(&first, chunk.bytes.data(), 4);
    EXPECT_EQ(first, 0.125f);

    plugin->setParameter(0, 0.9f);
    EXPECT_EQ(plugin->setChunk(chunk.bytes), 0);
    EXPECT_EQ(log->setChunkSize, 60);
    EXPECT_EQ(plugin->getParameter(0), 0.125f);
}

TEST_F(Recording, IdentityAndCapabilities) {
    EXPECT_EQ(plugin->effectName(), "Recording Fixture");
    EXPECT_EQ(plugin->vendorString(), "VR58 Tests");
    EXPECT_EQ(plugin->productString(), "Recording Fixture Product");
    EXPECT_EQ(plugin->vendorVersion(), 42);
    EXPECT_EQ(plugin->vstVersion(), 2400);
    EXPECT_EQ(plugin->plugCategory(), kPlugCategEffect);
    EXPECT_EQ(plugin->canDo("fixtureFeature"), 1);
    EXPECT_EQ(plugin->canDo("receiveVstMidiEvent"), -1);
}

TEST_F(Recording, SpeakerArrangementsCarryCountsAndTypes) {
    EXPECT_EQ(plugin->setSpeakerArrangement(1, 1), 1);
    EXPECT_EQ(log->arrangementIn, 1);
    EXPECT_EQ(log->arrangementInType, 0); // mono
    EXPECT_EQ(plugin->setSpeakerArrangement(2, 2), 1);
    EXPECT_EQ(log->arrangementOutType, 1); // stereo
    EXPECT_EQ(plugin->setSpeakerArrangement(1, 2), 0);
    EXPECT_EQ(log->arrangementIn, 1);
    EXPECT_EQ(log->arrangementOut, 2);

    // More speakers than the record can describe are refused before the plug-in sees them.
    const int32_t before = log->dispatchCount;
    EXPECT_EQ(plugin->setSpeakerArrangement(9, 9), 0);
    EXPECT_EQ(log->dispatchCount, before);
}

TEST_F(Recording, ProcessesPlanarSignalsInBlocksWithARemainder) {
    plugin->setParameter(1, 0.25f); // gain 0.5
    PlanarAudio<float> in(2, std::vector<float>(1000));
    for (size_t i = 0; i < 1000; ++i) {
        in[0][i] = static_cast<float>(i);
        in[1][i] = -static_cast<float>(i);
    }
    PlanarAudio<float> out;
    std::string error;
    const int32_t callsBefore = log->processCount;
    ASSERT_TRUE(plugin->process(in, out, 256, error)) << error;
    ASSERT_EQ(log->processCount, callsBefore + 4);
    EXPECT_EQ(log->processFrames[callsBefore + 0], 256);
    EXPECT_EQ(log->processFrames[callsBefore + 3], 1000 - 3 * 256);
    EXPECT_FALSE(log->processWasDouble[callsBefore]);
    ASSERT_EQ(out.size(), 2u);
    ASSERT_EQ(out[1].size(), 1000u);
    EXPECT_EQ(out[0][999], 499.5f);
    EXPECT_EQ(out[1][256], -128.0f); // first sample of the second block lands at its own place

    PlanarAudio<double> inD(2, std::vector<double>(10, 1.0));
    PlanarAudio<double> outD;
    ASSERT_TRUE(plugin->process(inD, outD, 4, error)) << error;
    EXPECT_TRUE(log->processWasDouble[log->processCount - 1]);
    EXPECT_EQ(log->processFrames[log->processCount - 1], 2);
    EXPECT_EQ(outD[1][9], 0.5);
}

TEST_F(Recording, ProcessOnCallerBuffersWorksInPlace) {
    float left[3] = {1, 2, 3};
    float right[3] = {4, 5, 6};
    float* channels[2] = {left, right};
    plugin->setParameter(1, 1.0f); // gain 2
    ASSERT_TRUE(plugin->processReplacing(channels, channels, 3));
    EXPECT_EQ(left[2], 6.0f);
    EXPECT_EQ(right[0], 8.0f);
}

TEST_F(Recording, ProcessRefusesMismatchedInput) {
    std::string error;
    PlanarAudio<float> out;
    PlanarAudio<float> mono(1, std::vector<float>(8));
    EXPECT_FALSE(plugin->process(mono, out, 4, error));
    EXPECT_EQ(error, "the plug-in takes 2 input channels, got 1");

    PlanarAudio<float> ragged{std::vector<float>(8), std::vector<float>(7)};
    EXPECT_FALSE(plugin->process(ragged, out, 4, error));
    EXPECT_EQ(error, "input channels differ in length");

    PlanarAudio<float> stereo(2, std::vector<float>(8));
    EXPECT_FALSE(plugin->process(stereo, out, 0, error));
    EXPECT_EQ(error, "block size must be positive");

    plugin->close();
    EXPECT_FALSE(plugin->process(stereo, out, 4, error));
    EXPECT_EQ(error, "the effect is closed");
}

TEST(HostedPluginMinimal, MissingDoublePrecisionIsAnErrorNotACrash) {
    std::string error;
    auto plugin = HostedPlugin::load(VR58_FIXTURE_MINIMAL, error);
    ASSERT_TRUE(plugin) << error;
    PlanarAudio<double> in(2, std::vector<double>(4, 1.0));
    PlanarAudio<double> out;
    EXPECT_FALSE(plugin->process(in, out, 4, error));
    EXPECT_EQ(error, "the plug-in has no 64-bit process call");
    double* channels[2] = {in[0].data(), in[1].data()};
    EXPECT_FALSE(plugin->processDoubleReplacing(channels, channels, 4));

    PlanarAudio<float> inF{{0.5f, -0.5f}, {0.25f, 1.0f}};
    PlanarAudio<float> outF;
    ASSERT_TRUE(plugin->process(inF, outF, 1, error)) << error;
    EXPECT_EQ(outF, inF);
    // A plug-in without parameters has no texts: the buffers stay untouched.
    EXPECT_EQ(plugin->parameterName(0), "");
    EXPECT_EQ(plugin->findParameter("Gain"), -1);
}
