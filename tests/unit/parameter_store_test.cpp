#include "effect_fixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>

using namespace vr58;
using namespace vr58::testing;

namespace {
std::string display(QuorvaneTapedeck& fx, int32_t index) {
    char text[9];
    std::memset(text, '#', sizeof text);
    fx.getParameterDisplay(index, text);
    EXPECT_EQ(text[8], '\0');
    return text;
}

std::vector<unsigned char> chunkOf(QuorvaneTapedeck& fx) {
    void* data = nullptr;
    const int32_t size = fx.getChunk(&data, false);
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

std::vector<unsigned char> littleEndian(const std::vector<float>& values) {
    std::vector<unsigned char> bytes;
    for (float v : values) {
        uint32_t bits;
        std::memcpy(&bits, &v, 4);
        for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<unsigned char>(bits >> (8 * b)));
    }
    return bytes;
}
} // namespace

TEST(ParameterStore, FreshEffectHoldsTheDefaultsOfEachBuild) {
    auto fx = makeTapedeck(kEditorBuild);
    const char* expected[15] = {"0.500000", "0.500000", "0.500000", "0.500000", "0.500000",
                                "0.500000", "0.500000", "0.000000", "0.000000", "0.500000",
                                "0.625000", "0.000000", "1.000000", "1.000000", "1.000000"};
    for (int i = 0; i < 15; ++i) EXPECT_EQ(display(*fx, i), expected[i]) << i;

    // The editor-less build drops the meter's three and moves HB Att and Noise up to 10 and 11.
    auto plain = makeTapedeck(kPlainBuild);
    ASSERT_EQ(plain->getAeffect()->numParams, 12);
    const std::pair<const char*, const char*> plainExpected[12] = {
        {"Trim", "0.500000"},     {"Gain", "0.500000"},     {"EQ Curve", "0.500000"},
        {"EQ RecLo", "0.500000"}, {"EQ RecHi", "0.500000"}, {"EQ RepLo", "0.500000"},
        {"EQ RepHi", "0.500000"}, {"Head", "0.000000"},     {"Bump", "0.000000"},
        {"Hiss", "0.500000"},     {"HB Att", "1.000000"},   {"Noise", "1.000000"}};
    for (int i = 0; i < 12; ++i) {
        char name[9];
        plain->getParameterName(i, name);
        EXPECT_STREQ(name, plainExpected[i].first) << i;
        EXPECT_EQ(display(*plain, i), plainExpected[i].second) << i;
    }
}

TEST(ParameterStore, NamesAndLabelsAreZeroFilledToNineBytes) {
    auto fx = makeTapedeck(kEditorBuild);
    char text[12];
    std::memset(text, 'x', sizeof text);
    fx->getParameterName(2, text);
    EXPECT_EQ(std::string(text, 8), "EQ Curve");
    EXPECT_EQ(text[8], '\0');
    EXPECT_EQ(text[9], 'x'); // nine bytes exactly

    std::memset(text, 'x', sizeof text);
    fx->getParameterLabel(12, text);
    EXPECT_STREQ(text, "I/O");
    for (int i = 3; i <= 8; ++i) EXPECT_EQ(text[i], '\0') << i;
    EXPECT_EQ(text[9], 'x');
}

TEST(ParameterStore, ValuesAreClampedAndNaNStoresZero) {
    auto fx = makeTapedeck(kEditorBuild);
    fx->setParameter(3, 1.5f);
    EXPECT_EQ(fx->getParameter(3), 1.0f);
    EXPECT_EQ(display(*fx, 3), "1.000000");
    fx->setParameter(3, -0.2f);
    EXPECT_EQ(fx->getParameter(3), 0.0f);
    EXPECT_EQ(display(*fx, 3), "0.000000");
    fx->setParameter(3, std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(fx->getParameter(3), 0.0f);
    fx->setParameter(3, std::numeric_limits<float>::infinity());
    EXPECT_EQ(fx->getParameter(3), 1.0f);
    fx->setParameter(3, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(fx->getParameter(3), 0.0f);
}

TEST(ParameterStore, DisplayCutsDigitsOfTheExactFloat) {
    auto fx = makeTapedeck(kEditorBuild);
    const std::pair<float, const char*> cases[] = {
        {0.7f, "0.699999"}, {0.9f, "0.899999"}, {0.01f, "0.009999"},       {0.625f, "0.625000"},
        {1.0f, "1.000000"}, {0.0f, "0.000000"}, {0.123456789f, "0.123456"}};
    for (auto [value, text] : cases) {
        fx->setParameter(0, value);
        EXPECT_EQ(display(*fx, 0), text) << value;
    }
}

TEST(ParameterStore, OutOfRangeIndicesChangeNothing) {
    auto fx = makeTapedeck(kEditorBuild);
    fx->setParameter(15, 0.3f);
    fx->setParameter(-1, 0.3f);
    EXPECT_TRUE(fx->hookCalls.empty());
    EXPECT_EQ(fx->getParameter(15), 0.0f);
    EXPECT_EQ(fx->getParameter(-1), 0.0f);
    char text[9];
    std::memset(text, '#', sizeof text);
    fx->getParameterName(15, text);
    fx->getParameterLabel(15, text);
    fx->getParameterDisplay(15, text);
    for (char c : text) EXPECT_EQ(c, '#');

    auto plain = makeTapedeck(kPlainBuild);
    plain->setParameter(12, 0.3f);
    EXPECT_TRUE(plain->hookCalls.empty());
    EXPECT_EQ(plain->getParameter(12), 0.0f);
}

TEST(ParameterStore, HookSeesTheStoredValue) {
    auto fx = makeTapedeck(kEditorBuild);
    fx->setParameter(4, 2.0f);
    ASSERT_EQ(fx->hookCalls.size(), 1u);
    EXPECT_EQ(fx->hookCalls[0].index, 4);
    EXPECT_EQ(fx->hookCalls[0].value, 1.0f);
}

TEST(Chunk, SavesLittleEndianFloatsInIndexOrderAndRestoresThem) {
    auto fx = makeTapedeck(kEditorBuild);
    fx->setParameter(0, 0.25f);
    fx->setParameter(14, 0.0f);
    const auto bytes = chunkOf(*fx);
    ASSERT_EQ(bytes.size(), 60u);
    std::vector<float> expected;
    for (int i = 0; i < 15; ++i) expected.push_back(fx->getParameter(i));
    EXPECT_EQ(bytes, littleEndian(expected));
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[3], 0x3E); // 0.25f = 0x3E800000

    auto restored = makeTapedeck(kEditorBuild);
    auto copy = bytes;
    EXPECT_EQ(restored->setChunk(copy.data(), 60, false), 0);
    ASSERT_EQ(restored->hookCalls.size(), 15u);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(restored->hookCalls[i].index, i);
        EXPECT_EQ(restored->getParameter(i), fx->getParameter(i));
    }
    auto plain = makeTapedeck(kPlainBuild);
    EXPECT_EQ(chunkOf(*plain).size(), 48u);
}

TEST(Chunk, BufferIsReusedByTheSameEffect) {
    auto fx = makeTapedeck(kEditorBuild);
    void* first = nullptr;
    void* second = nullptr;
    fx->getChunk(&first, false);
    fx->setParameter(1, 0.75f);
    fx->getChunk(&second, true);
    EXPECT_EQ(first, second);
    EXPECT_EQ(chunkOf(*fx), chunkOf(*fx));
}

TEST(Chunk, ValuesAreClampedAndNaNBecomesZero) {
    auto fx = makeTapedeck(kEditorBuild);
    std::vector<float> values(15, 0.5f);
    values[0] = 2.0f;
    values[1] = -1.0f;
    values[2] = std::numeric_limits<float>::quiet_NaN();
    auto bytes = littleEndian(values);
    fx->setChunk(bytes.data(), static_cast<int32_t>(bytes.size()), true);
    EXPECT_EQ(fx->getParameter(0), 1.0f);
    EXPECT_EQ(fx->getParameter(1), 0.0f);
    EXPECT_EQ(fx->getParameter(2), 0.0f);
}

TEST(Chunk, ShorterChunkRestoresOnlyTheValuesItHolds) {
    // The editor-less build's 48 bytes handed to the editor build go by parameter (HB Att and Noise sit at
    // 10 and 11 there), with a guard word behind the data that must not be read as a thirteenth value.
    auto fx = makeTapedeck(kEditorBuild);
    std::vector<float> values(10, 0.25f);
    values.push_back(0.125f); // HB Att
    values.push_back(0.0f);   // Noise
    values.push_back(0.875f);
    auto bytes = littleEndian(values);
    EXPECT_EQ(fx->setChunk(bytes.data(), 48, false), 0);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(fx->getParameter(i), 0.25f) << i;
    EXPECT_EQ(fx->getParameter(10), 0.625f); // H.Room, VU Hold and VU Path keep their values
    EXPECT_EQ(fx->getParameter(11), 0.0f);
    EXPECT_EQ(fx->getParameter(12), 1.0f);
    EXPECT_EQ(fx->getParameter(13), 0.125f);
    EXPECT_EQ(fx->getParameter(14), 0.0f);
    ASSERT_EQ(fx->hookCalls.size(), 12u);
    EXPECT_EQ(fx->hookCalls[10].index, 13);

    fx->hookCalls.clear();
    fx->setChunk(bytes.data(), 7, false); // one whole value and a fragment
    EXPECT_EQ(fx->hookCalls.size(), 1u);
    fx->setChunk(nullptr, 60, false);
    fx->setChunk(bytes.data(), -4, false);
    EXPECT_EQ(fx->hookCalls.size(), 1u);
}

TEST(Identity, StringsAreZeroFilledToTheirLimits) {
    auto fx = makeTapedeck(kEditorBuild);
    char text[70];
    std::memset(text, 'x', sizeof text);
    EXPECT_TRUE(fx->getVendorString(text));
    EXPECT_STREQ(text, "Quorvane");
    EXPECT_EQ(text[64], '\0');
    EXPECT_EQ(text[65], 'x');
    std::memset(text, 'x', sizeof text);
    fx->getProgramName(text);
    EXPECT_STREQ(text, "Default");
    EXPECT_EQ(text[24], '\0');
    EXPECT_EQ(text[25], 'x');
    std::memset(text, 'x', sizeof text);
    EXPECT_TRUE(fx->getEffectName(text));
    EXPECT_STREQ(text, "VR58-G Tape Recorder");
    EXPECT_EQ(text[32], '\0');
    EXPECT_EQ(text[33], 'x');
    std::memset(text, 'x', sizeof text);
    auto plain = makeTapedeck(kPlainBuild);
    EXPECT_TRUE(plain->getProductString(text));
    EXPECT_STREQ(text, "VR58 Tape Recorder");
    EXPECT_EQ(text[64], '\0');
    char query[] = "receiveVstMidiEvent";
    EXPECT_EQ(fx->canDo(query), -1);
}
