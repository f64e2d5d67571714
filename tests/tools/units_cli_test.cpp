// vr58 in the user's units: --set with units and words, info's column of units, factory presets by name,
// and every command's own --help.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>

using namespace vr58::test;

namespace {

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The parameter values a preset file holds: its chunk, the last 4 bytes per parameter, little-endian.
std::vector<float> presetValues(const std::filesystem::path& path, size_t count) {
    const std::string bytes = fileBytes(path);
    std::vector<float> values(count);
    if (bytes.size() < 4 * count) return {};
    std::memcpy(values.data(), bytes.data() + bytes.size() - 4 * count, 4 * count);
    return values;
}

} // namespace

TEST(UnitsCli, SettingsInUnitsAndWordsBecomeTheirNormalisedValues) {
    ScratchDir dir;
    const RunResult run = runVr58({"preset",
                                   VR58_REAL_PLUGIN_G,
                                   (dir / "u.fxp").string(),
                                   "--set",
                                   "Trim=-6.5dB",
                                   "--set",
                                   "Gain=+3 dB",
                                   "--set",
                                   "EQ Curve=nab",
                                   "--set",
                                   "Head=85Hz",
                                   "--set",
                                   "HB Att=0dB",
                                   "--set",
                                   "Bump=+5dB",
                                   "--set",
                                   "Hiss=\xE2\x88\x92"
                                   "96dB",
                                   "--set",
                                   "H.Room=-14dB",
                                   "--set",
                                   "VU Hold=On",
                                   "--set",
                                   "VU Path=in",
                                   "--set",
                                   "Noise=off",
                                   "--set-normalised",
                                   "EQ RecHi=0.25"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<float> values = presetValues(dir / "u.fxp", 15);
    ASSERT_EQ(values.size(), 15u);
    const float expected[15] = {17.5f / 48.0f, 27.0f / 48.0f, 0.0f, 0.5f, 0.25f, 0.5f, 0.5f, 0.5f,
                                // +5 dB of bump at 85 Hz without attenuation: (b + 1)(4 - 0.5) = 5
                                5.0f / 3.5f - 1.0f, 0.0f, 1.0f / 3.0f, 1.0f, 0.0f, 0.0f, 0.0f};
    for (int i = 0; i < 15; ++i) EXPECT_NEAR(values[i], expected[i], 1e-6f) << "parameter " << i;
}

TEST(UnitsCli, InfoShowsEachValueInItsUnit) {
    const RunResult editor = runVr58({"info", VR58_REAL_PLUGIN_G});
    ASSERT_EQ(editor.exitCode, 0) << editor.err;
    for (const char* row : {"      0  Trim      dB        0.500000  0.500000  0 dB\n",
                            "      2  EQ Curve  Typ       0.500000  0.500000  IEC\n",
                            "      3  EQ RecLo  dB        0.500000  0.500000  0 dB (acts with NAB only)\n",
                            "      8  Bump      dB        0.000000  0.000000  +2 dB\n",
                            "      9  Hiss      dB        0.500000  0.500000  -66 dB\n",
                            "     10  H.Room    dB        0.625000  0.625000  -18 dB\n",
                            "     12  VU Path   I/O       1.000000  1.000000  Output\n"})
        EXPECT_NE(editor.out.find(row), std::string::npos) << row << editor.out;
    const RunResult plain = runVr58({"info", VR58_REAL_PLUGIN});
    EXPECT_NE(plain.out.find("     10  HB Att    dB        1.000000  1.000000  -2 dB\n"), std::string::npos)
        << plain.out;
    // A plug-in that is not a VR58 has no units to show.
    const RunResult foreign = runVr58({"info", VR58_FIXTURE_RECORDING});
    ASSERT_EQ(foreign.exitCode, 0) << foreign.err;
    EXPECT_EQ(foreign.out.find("in units"), std::string::npos) << foreign.out;
}

TEST(UnitsCli, FactoryPresetsByNameAreTheBuildsPresetFiles) {
    const RunResult list = runVr58({"presets"});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    EXPECT_NE(list.out.find("\"Clean 15 ips NAB\"  "), std::string::npos) << list.out;
    EXPECT_NE(list.out.find("\"Tape tone, no hiss\"  The default machine with the hiss switched off.\n"),
              std::string::npos)
        << list.out;

    ScratchDir dir;
    writeAudio(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100, 3000, testTone);
    const auto render = [&](const std::string& preset, const std::string& out) {
        const RunResult run = runVr58({"render", VR58_REAL_PLUGIN_G, (dir / "in.wav").string(),
                                       (dir / out).string(), "--preset", preset, "--seed", "3"});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return fileBytes(dir / out);
    };
    const std::string byFile = render(VR58_FACTORY_PRESETS "/VR58G_x64/Hot 7.5 ips.fxp", "file.wav");
    EXPECT_TRUE(render("Hot 7.5 ips", "name.wav") == byFile);
    EXPECT_TRUE(render("hot 7.5 IPS", "caseless.wav") == byFile);
    EXPECT_FALSE(render("Bus glue", "other.wav") == byFile);

    const auto picture = [&](const std::string& preset, const std::string& out) {
        const RunResult run =
            runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (dir / out).string(), "--preset", preset});
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return fileBytes(dir / out);
    };
    EXPECT_TRUE(picture("Lo-fi cassette", "a.png") ==
                picture(VR58_FACTORY_PRESETS "/VR58G_x64/Lo-fi cassette.fxp", "b.png"));
    EXPECT_FALSE(picture("Vocal air", "c.png") == fileBytes(dir / "a.png"));
}

TEST(UnitsCli, EveryCommandAnswersHelpWithItsOwnUsage) {
    for (const std::string command :
         {"info", "render", "demo", "editor-preview", "measure", "preset", "presets", "validate"}) {
        for (const char* help : {"--help", "-h"}) {
            const RunResult run = runVr58({command, "x", help});
            EXPECT_EQ(run.exitCode, 0) << command << " " << help << ": " << run.err;
            EXPECT_EQ(run.err, "") << command;
            const std::string head = "usage:\n  vr58 " + command;
            EXPECT_EQ(run.out.rfind(head, 0), 0u) << command << ":\n" << run.out;
            EXPECT_TRUE(run.out.size() > head.size() &&
                        std::isspace(static_cast<unsigned char>(run.out[head.size()])))
                << command << ":\n"
                << run.out;
            // Only its own usage.
            const std::string other = command == "info" ? "vr58 render" : "vr58 info";
            EXPECT_EQ(run.out.find(other), std::string::npos) << command << ":\n" << run.out;
        }
    }
}
