// The .fxp program file: the exact bytes of its header, the round trip, and every way a file can be
// short or of another kind.
#include "engine/fxp_preset.h"

#include <algorithm>

#include <gtest/gtest.h>

using vr58::host::decodeFxp;
using vr58::host::encodeFxp;
using vr58::host::ProgramPreset;

namespace {

ProgramPreset sample() {
    ProgramPreset preset;
    preset.pluginId = 0x56523538; // 'VR58'
    preset.pluginVersion = 1;
    preset.parameterCount = 15;
    preset.name = "Hot 7.5 ips";
    for (int i = 0; i < 60; ++i) preset.chunk.push_back(static_cast<uint8_t>(i * 7));
    return preset;
}

std::string refusal(const std::vector<uint8_t>& bytes) {
    ProgramPreset preset;
    std::string error;
    return decodeFxp(bytes, preset, error) ? "accepted" : error;
}

} // namespace

TEST(FxpPreset, HeaderIsBigEndianWithTheSizeOfEverythingAfterIt) {
    const std::vector<uint8_t> bytes = encodeFxp(sample());
    ASSERT_EQ(bytes.size(), 120u);
    const std::vector<uint8_t> header(bytes.begin(), bytes.begin() + 28);
    EXPECT_EQ(header, (std::vector<uint8_t>{'C', 'c', 'n', 'K', 0,   0, 0, 112, 'F', 'P', 'C', 'h', 0, 0, 0,
                                            1,   'V', 'R', '5', '8', 0, 0, 0,   1,   0,   0,   0,   15}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&bytes[28])), "Hot 7.5 ips");
    EXPECT_EQ(bytes[55], 0); // the name field is zero-filled to its 28 bytes
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin() + 56, bytes.begin() + 60)),
              (std::vector<uint8_t>{0, 0, 0, 60}));
    EXPECT_EQ(bytes[60], 0);
    EXPECT_EQ(bytes[119], static_cast<uint8_t>(59 * 7));
}

TEST(FxpPreset, RoundTripKeepsEverythingAndCutsLongNames) {
    ProgramPreset read;
    std::string error;
    ASSERT_TRUE(decodeFxp(encodeFxp(sample()), read, error)) << error;
    EXPECT_EQ(read.pluginId, 0x56523538);
    EXPECT_EQ(read.pluginVersion, 1);
    EXPECT_EQ(read.parameterCount, 15);
    EXPECT_EQ(read.name, "Hot 7.5 ips");
    EXPECT_EQ(read.chunk, sample().chunk);

    ProgramPreset longName = sample();
    longName.name = std::string(40, 'n');
    ASSERT_TRUE(decodeFxp(encodeFxp(longName), read, error));
    EXPECT_EQ(read.name, std::string(27, 'n'));

    // A writer that fills all 28 bytes of the name field still gives a name of at most 27 characters,
    // the same that saving it again keeps.
    std::vector<uint8_t> unterminated = encodeFxp(sample());
    std::fill(unterminated.begin() + 28, unterminated.begin() + 56, 'u');
    ASSERT_TRUE(decodeFxp(unterminated, read, error)) << error;
    EXPECT_EQ(read.name, std::string(27, 'u'));
}

TEST(FxpPreset, EveryShortenedFileIsRefused) {
    const std::vector<uint8_t> whole = encodeFxp(sample());
    for (size_t size = 0; size < whole.size(); ++size) {
        const std::string error = refusal({whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size)});
        EXPECT_TRUE(error.find("truncated") != std::string::npos ||
                    error.find("no 'CcnK'") != std::string::npos)
            << size << ": " << error;
    }
    // A size field that promises more than the file holds is a cut file too, even when the chunk fits.
    std::vector<uint8_t> promising = whole;
    promising[7] = 113;
    EXPECT_EQ(refusal(promising), "truncated: the header announces 121 bytes, the file has 120");
}

TEST(FxpPreset, OtherKindsOfFileAreNamed) {
    std::vector<uint8_t> bytes = encodeFxp(sample());
    bytes[8] = 'F', bytes[9] = 'B', bytes[10] = 'C', bytes[11] = 'h';
    EXPECT_EQ(refusal(bytes), "is a bank of programs (.fxb), not a single preset (.fxp)");
    bytes[9] = 'x', bytes[10] = 'C', bytes[11] = 'k';
    EXPECT_EQ(refusal(bytes), "holds a plain parameter list ('FxCk'), not the plug-in's chunk ('FPCh')");
    bytes[0] = 'R';
    EXPECT_EQ(refusal(bytes), "not a VST preset file (no 'CcnK' header)");
}
