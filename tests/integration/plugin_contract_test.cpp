#include "plugin_under_test.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace vr58;
using namespace vr58::testing;

TEST_P(EachPlugin, RecordFieldsAsAHostSeesThem) {
    auto plugin = loadPlugin(GetParam());
    ASSERT_TRUE(plugin);
    const AEffect* e = plugin->effect();
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->numPrograms, 0);
    EXPECT_EQ(e->numParams, GetParam().numParams);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    const int32_t editorFlag = GetParam().numParams == 15 ? effFlagsHasEditor : 0;
    EXPECT_EQ(e->flags, 0x1030 | editorFlag);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->uniqueID, 0x56523538);
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->resvd1, 0);
    EXPECT_EQ(e->user, nullptr);
    EXPECT_NE(e->processReplacing, nullptr);
    EXPECT_NE(e->processDoubleReplacing, nullptr);
    // The entry asks for the host's version first, with no effect yet, and nothing else.
    ASSERT_EQ(plugin->calls().size(), 1u);
    EXPECT_EQ(plugin->calls()[0].opcode, audioMasterVersion);
    EXPECT_TRUE(plugin->calls()[0].effectWasNull);
    EXPECT_NE(plugin->symbol("main"), nullptr);
    EXPECT_EQ(plugin->symbol("main"), plugin->symbol("VSTPluginMain"));
}

TEST_P(EachPlugin, RefusesAHostThatAnswersNoVersion) {
    std::string error;
    EXPECT_EQ(host::HostedPlugin::load(GetParam().path, error, 0), nullptr);
    EXPECT_FALSE(error.empty());
}

TEST_P(EachPlugin, IdentityAndOpcodeAnswers) {
    auto plugin = loadPlugin(GetParam());
    ASSERT_TRUE(plugin);
    const bool editorBuild = GetParam().numParams == 15;
    EXPECT_EQ(plugin->effectName(), editorBuild ? "VR58-G Tape Recorder" : "VR58 Tape Recorder");
    EXPECT_EQ(plugin->productString(), editorBuild ? "VR58-G Tape Recorder" : "VR58 Tape Recorder");
    EXPECT_EQ(plugin->vendorString(), "Quorvane");
    EXPECT_EQ(plugin->vendorVersion(), 1100);
    EXPECT_EQ(plugin->vstVersion(), 2400);
    EXPECT_EQ(plugin->plugCategory(), 1);
    EXPECT_EQ(plugin->canDo("receiveVstMidiEvent"), -1);
    EXPECT_EQ(plugin->dispatch(effIdentify), 0x4E764566);
    EXPECT_EQ(plugin->dispatch(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(plugin->dispatch(effSetTotalSampleToProcess, 0, 4096), 4096);
    EXPECT_EQ(plugin->dispatch(effCanBeAutomated, 500), 1);
    std::vector<int32_t> zeroOpcodes{80, 100, -1, -5, effGetTailSize, effSetBypass};
    // Without an editor to offer, the editor opcodes answer 0 too.
    if (!(plugin->effect()->flags & effFlagsHasEditor))
        zeroOpcodes.insert(zeroOpcodes.end(),
                           {effEditGetRect, effEditOpen, effEditKeyDown, effEditKeyUp, effSetEditKnobMode});
    for (int32_t opcode : zeroOpcodes) {
        char buffer[64] = {};
        EXPECT_EQ(plugin->dispatch(opcode, 0, 0, buffer), 0) << opcode;
    }
    EXPECT_EQ(plugin->mainsChanged(true), 0);
    EXPECT_EQ(plugin->setSpeakerArrangement(1, 1), 1);
    EXPECT_EQ(plugin->setSpeakerArrangement(1, 2), 0);
    EXPECT_EQ(plugin->setSpeakerArrangement(2, 2), 1);
    EXPECT_EQ(plugin->calls().size(), 1u); // only the version query
    EXPECT_EQ(plugin->close(), 1);
}

TEST_P(EachPlugin, ParameterTableDisplayAndClamping) {
    auto plugin = loadPlugin(GetParam());
    ASSERT_TRUE(plugin);
    const int32_t n = GetParam().numParams;
    const char* commonNames[10] = {"Trim",     "Gain",     "EQ Curve", "EQ RecLo", "EQ RecHi",
                                   "EQ RepLo", "EQ RepHi", "Head",     "Bump",     "Hiss"};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(plugin->parameterName(i), commonNames[i]);
    EXPECT_EQ(plugin->parameterName(GetParam().hbAtt), "HB Att");
    EXPECT_EQ(plugin->parameterName(GetParam().noise), "Noise");
    EXPECT_EQ(plugin->parameterLabel(2), "Typ");
    EXPECT_EQ(plugin->parameterDisplay(GetParam().noise), "1.000000");
    EXPECT_EQ(plugin->parameterDisplay(7), "0.000000");

    // Nine bytes written, not one more; an index past the table leaves the buffer as it was.
    const auto raw = plugin->rawText(effGetParamName, 2);
    EXPECT_EQ(raw[8], 0);
    EXPECT_EQ(raw[9], host::kUntouchedByte);
    const auto untouched = plugin->rawText(effGetParamName, n);
    EXPECT_EQ(untouched[0], host::kUntouchedByte);

    plugin->setParameter(3, 1.5f);
    EXPECT_EQ(plugin->getParameter(3), 1.0f);
    plugin->setParameter(3, -0.2f);
    EXPECT_EQ(plugin->getParameter(3), 0.0f);
    plugin->setParameter(3, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(plugin->getParameter(3), 0.0f);
    plugin->setParameter(0, 0.7f);
    EXPECT_EQ(plugin->parameterDisplay(0), "0.699999");
    plugin->setParameter(n, 0.3f);
    EXPECT_EQ(plugin->getParameter(n), 0.0f);
}

TEST_P(EachPlugin, ChunkRoundTripAndSharedUniqueId) {
    auto plugin = loadPlugin(GetParam());
    ASSERT_TRUE(plugin);
    for (int i = 0; i < GetParam().numParams; ++i) plugin->setParameter(i, 0.05f * static_cast<float>(i));
    const host::Chunk chunk = plugin->getChunk();
    ASSERT_EQ(chunk.size, 4 * GetParam().numParams);
    ASSERT_EQ(chunk.bytes.size(), static_cast<size_t>(chunk.size));

    auto other = loadPlugin(GetParam());
    ASSERT_TRUE(other);
    EXPECT_EQ(other->setChunk(chunk.bytes), 0);
    for (int i = 0; i < GetParam().numParams; ++i)
        EXPECT_EQ(other->getParameter(i), plugin->getParameter(i)) << i;

    // A chunk with out-of-range values restores them clamped.
    std::vector<uint8_t> wild = chunk.bytes;
    const float two = 2.0f, minusOne = -1.0f;
    std::memcpy(&wild[0], &two, 4);
    std::memcpy(&wild[4], &minusOne, 4);
    other->setChunk(wild);
    EXPECT_EQ(other->getParameter(0), 1.0f);
    EXPECT_EQ(other->getParameter(1), 0.0f);
}

// Both builds carry one ID, so hosts hand either build's chunk to either build: values go by parameter,
// and what the sender lacks keeps the receiver's value.
TEST(CrossBuildChunks, EditorlessStateLoadsIntoTheEditorBuildByParameter) {
    auto plain = loadPlugin(kPlainBinary);
    auto editor = loadPlugin(kEditorBinary);
    ASSERT_TRUE(plain && editor);
    for (int i = 0; i < 10; ++i) plain->setParameter(i, 0.25f);
    plain->setParameter(plain->findParameter("HB Att"), 0.125f);
    plain->setParameter(plain->findParameter("Noise"), 0.0f);
    editor->setParameter(editor->findParameter("H.Room"), 0.375f);
    editor->setParameter(editor->findParameter("VU Hold"), 1.0f);
    editor->setParameter(editor->findParameter("VU Path"), 0.5f);
    const host::Chunk chunk = plain->getChunk();
    ASSERT_EQ(chunk.size, 48);
    editor->setChunk(chunk.bytes);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(editor->getParameter(i), 0.25f) << i;
    EXPECT_EQ(editor->getParameter(editor->findParameter("HB Att")), 0.125f);
    EXPECT_EQ(editor->getParameter(editor->findParameter("Noise")), 0.0f);
    EXPECT_EQ(editor->getParameter(editor->findParameter("H.Room")), 0.375f);
    EXPECT_EQ(editor->getParameter(editor->findParameter("VU Hold")), 1.0f);
    EXPECT_EQ(editor->getParameter(editor->findParameter("VU Path")), 0.5f);
}

TEST(CrossBuildChunks, EditorStateLoadsIntoTheEditorlessBuildByParameter) {
    auto editor = loadPlugin(kEditorBinary);
    auto plain = loadPlugin(kPlainBinary);
    ASSERT_TRUE(plain && editor);
    for (int i = 0; i < 15; ++i) editor->setParameter(i, 0.75f);
    editor->setParameter(editor->findParameter("HB Att"), 0.125f);
    editor->setParameter(editor->findParameter("Noise"), 0.0f);
    const host::Chunk chunk = editor->getChunk();
    ASSERT_EQ(chunk.size, 60);
    plain->setChunk(chunk.bytes);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(plain->getParameter(i), 0.75f) << i;
    EXPECT_EQ(plain->getParameter(plain->findParameter("HB Att")), 0.125f);
    EXPECT_EQ(plain->getParameter(plain->findParameter("Noise")), 0.0f);
}

INSTANTIATE_TEST_SUITE_P(Builds, EachPlugin, ::testing::Values(kEditorBinary, kPlainBinary), binaryName);
