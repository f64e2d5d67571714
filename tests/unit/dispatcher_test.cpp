#include "effect_fixture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <map>

using namespace vr58;
using namespace vr58::testing;

namespace {
intptr_t dispatch(AEffect* e, int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                  float opt = 0.0f) {
    return e->dispatcher(e, opcode, index, value, ptr, opt);
}
} // namespace

TEST(EffectRecord, HoldsTheValuesOfEachBuild) {
    auto fx = makeTapedeck(kEditorBuild);
    AEffect* e = fx->getAeffect();
    EXPECT_EQ(e->magic, 0x56737450);
    EXPECT_EQ(e->numPrograms, 0);
    EXPECT_EQ(e->numParams, 15);
    EXPECT_EQ(e->numInputs, 2);
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, 0x1030); // the has-editor bit comes with the editor itself
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_EQ(e->uniqueID, 0x56523538);
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->object, fx.get());
    EXPECT_EQ(e->user, nullptr);
    EXPECT_EQ(e->resvd1, 0);
    EXPECT_EQ(e->resvd2, 0);
    for (char c : e->future) EXPECT_EQ(c, 0);
    EXPECT_EQ(makeTapedeck(kPlainBuild)->getAeffect()->numParams, 12);
}

TEST(Dispatcher, AnswersTheListedOpcodes) {
    auto fx = makeTapedeck(kEditorBuild);
    AEffect* e = fx->getAeffect();
    EXPECT_EQ(dispatch(e, effGetVstVersion), 2400);
    EXPECT_EQ(dispatch(e, effGetVendorVersion), 1100);
    EXPECT_EQ(dispatch(e, effGetPlugCategory), 1);
    EXPECT_EQ(dispatch(e, effIdentify), 0x4E764566);
    char midi[] = "receiveVstMidiEvent";
    char other[] = "bypass";
    EXPECT_EQ(dispatch(e, effCanDo, 0, 0, midi), -1);
    EXPECT_EQ(dispatch(e, effCanDo, 0, 0, other), -1);
    EXPECT_EQ(dispatch(e, effGetCurrentMidiProgram), -1);
    EXPECT_EQ(dispatch(e, effGetTailSize), 0);
    EXPECT_EQ(dispatch(e, effSetBypass, 0, 1), 0);
    EXPECT_EQ(dispatch(e, effCanBeAutomated, 0), 1);
    EXPECT_EQ(dispatch(e, effCanBeAutomated, 999), 1);
    EXPECT_EQ(dispatch(e, effSetTotalSampleToProcess, 0, 12345), 12345);
    EXPECT_EQ(dispatch(e, effSetTotalSampleToProcess, 0, -7), -7);
    char name[kVstMaxProductStrLen + 1];
    EXPECT_EQ(dispatch(e, effGetEffectName, 0, 0, name), 1);
    EXPECT_STREQ(name, "VR58-G Tape Recorder");
    EXPECT_EQ(dispatch(e, effGetProductString, 0, 0, name), 1);
    EXPECT_EQ(dispatch(e, effGetVendorString, 0, 0, name), 1);
    EXPECT_STREQ(name, "Quorvane");
    dispatch(e, effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "Default");
    void* chunk = nullptr;
    EXPECT_EQ(dispatch(e, effGetChunk, 0, 0, &chunk), 60);
    EXPECT_NE(chunk, nullptr);
    EXPECT_EQ(dispatch(e, effSetChunk, 0, 60, chunk), 0);
    EXPECT_EQ(dispatch(e, effSetBlockSize, 0, 512), 0);
    EXPECT_EQ(dispatch(e, effSetSampleRate, 0, 0, nullptr, 96000.0f), 0);
    EXPECT_EQ(fx->getSampleRate(), 96000.0f);
}

TEST(Dispatcher, UnlistedAndEditorOpcodesAnswerZeroWithoutAnEditor) {
    const std::map<int32_t, intptr_t> nonZero = {{effGetVstVersion, 2400}, {effGetVendorVersion, 1100},
                                                 {effGetPlugCategory, 1},  {effIdentify, 0x4E764566},
                                                 {effCanBeAutomated, 1},   {effGetCurrentMidiProgram, -1},
                                                 {effGetEffectName, 1},    {effGetVendorString, 1},
                                                 {effGetProductString, 1}, {effCanDo, -1},
                                                 {effGetChunk, 60}};
    for (int32_t opcode = -5; opcode <= 100; ++opcode) {
        if (opcode == effClose) continue; // destroys the effect, checked below
        auto fx = makeTapedeck(kEditorBuild);
        char buffer[256] = {};
        void* ptr = buffer;
        void* chunk = nullptr;
        if (opcode == effGetChunk) ptr = &chunk;
        intptr_t value = 0;
        if (opcode == effSetSpeakerArrangement) value = 0; // null input arrangement: refused
        const intptr_t answer = dispatch(fx->getAeffect(), opcode, 0, value, ptr, 0.0f);
        const auto expected = nonZero.find(opcode);
        EXPECT_EQ(answer, expected == nonZero.end() ? 0 : expected->second) << "opcode " << opcode;
    }
    EXPECT_TRUE(recordedHostCalls().empty()); // none of them talks to the host
}

TEST(Dispatcher, EditorOpcodesAnswerZeroInTheEditorlessBuild) {
    auto fx = makeTapedeck(kPlainBuild);
    AEffect* e = fx->getAeffect();
    ERect* rect = reinterpret_cast<ERect*>(0x1);
    EXPECT_EQ(dispatch(e, effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(dispatch(e, effEditOpen, 0, 0, reinterpret_cast<void*>(0x1234)), 0);
    EXPECT_EQ(dispatch(e, effEditKeyDown, 'a', 0, nullptr, 0.0f), 0);
    EXPECT_EQ(dispatch(e, effEditKeyUp, 'a', 0, nullptr, 0.0f), 0);
    EXPECT_EQ(dispatch(e, effSetEditKnobMode, 0, 2), 0);
    EXPECT_EQ(fx->getEditor(), nullptr);
}

TEST(Dispatcher, SpeakerArrangementQueriesWriteNullThroughBothPointers) {
    auto fx = makeTapedeck(kEditorBuild);
    VstSpeakerArrangement dummy{};
    VstSpeakerArrangement* in = &dummy;
    VstSpeakerArrangement* out = &dummy;
    EXPECT_EQ(dispatch(fx->getAeffect(), effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out),
              0);
    EXPECT_EQ(in, nullptr);
    EXPECT_EQ(out, nullptr);
}

TEST(Dispatcher, MainsChangedAndOpenSendNothingToTheHost) {
    auto fx = makeTapedeck(kEditorBuild);
    AEffect* e = fx->getAeffect();
    dispatch(e, effOpen);
    dispatch(e, effMainsChanged, 0, 1);
    dispatch(e, effMainsChanged, 0, 0);
    EXPECT_TRUE(recordedHostCalls().empty());
}

TEST(Dispatcher, CloseAnswersOneAndDestroysTheEffect) {
    static int destroyed = 0;
    struct Counted : HookRecordingTapedeck {
        using HookRecordingTapedeck::HookRecordingTapedeck;
        ~Counted() override { ++destroyed; }
    };
    auto* fx = new Counted(recordingHostCallback, kEditorBuild);
    AEffect* e = fx->getAeffect();
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(destroyed, 1);
}

TEST(Dispatcher, DeprecatedProcessLeavesOutputsUntouched) {
    auto fx = makeTapedeck(kEditorBuild);
    float in[2][4] = {{1, 2, 3, 4}, {5, 6, 7, 8}};
    float out[2][4] = {{9, 9, 9, 9}, {9, 9, 9, 9}};
    float* ins[2] = {in[0], in[1]};
    float* outs[2] = {out[0], out[1]};
    fx->getAeffect()->process(fx->getAeffect(), ins, outs, 4);
    for (auto& channel : out)
        for (float v : channel) EXPECT_EQ(v, 9.0f);
}

TEST(HostCallbacks, AutomationAndEditGesturesReachTheHost) {
    auto fx = makeTapedeck(kEditorBuild);
    fx->setParameterAutomated(3, 1.7f);
    EXPECT_EQ(fx->getParameter(3), 1.0f);
    ASSERT_EQ(recordedHostCalls().size(), 1u);
    EXPECT_EQ(recordedHostCalls()[0].opcode, audioMasterAutomate);
    EXPECT_EQ(recordedHostCalls()[0].index, 3);
    EXPECT_EQ(recordedHostCalls()[0].opt, 1.7f); // as the caller passed it, not clamped
    EXPECT_TRUE(fx->beginEdit(5));
    EXPECT_TRUE(fx->endEdit(5));
    fx->masterIdle();
    ASSERT_EQ(recordedHostCalls().size(), 4u);
    EXPECT_EQ(recordedHostCalls()[1].opcode, audioMasterBeginEdit);
    EXPECT_EQ(recordedHostCalls()[1].index, 5);
    EXPECT_EQ(recordedHostCalls()[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(recordedHostCalls()[3].opcode, audioMasterIdle);

    QuorvaneTapedeck orphan(nullptr, kEditorBuild);
    orphan.setParameterAutomated(0, 0.25f);
    EXPECT_EQ(orphan.getParameter(0), 0.25f);
    EXPECT_FALSE(orphan.beginEdit(0));
    EXPECT_FALSE(orphan.endEdit(0));
}

// With no programs every number is outside the range: none may become the current program.
TEST(Dispatcher, RefusesProgramNumbersOutsideTheEffectsPrograms) {
    auto fx = makeTapedeck(kEditorBuild);
    AEffect* e = fx->getAeffect();
    for (intptr_t program :
         {intptr_t{-3}, intptr_t{-1}, intptr_t{0}, intptr_t{1}, intptr_t{INT32_MAX}, intptr_t{INT32_MIN}}) {
        EXPECT_EQ(dispatch(e, effSetProgram, 0, program), 0);
        EXPECT_EQ(dispatch(e, effGetProgram), 0) << "after effSetProgram " << program;
    }
}
