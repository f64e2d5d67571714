// vr58 preset and render --preset end to end with the real plug-ins: a preset sounds exactly like the
// settings it was made from, in its own plug-in and in the other one, and bad files change nothing.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace vr58::test;

namespace {

// Shared controls only, away from their defaults; the noise is off so renders can be compared exactly.
const std::vector<std::string> kSharedSettings = {
    "--set-normalised", "Trim=0.8",         "--set-normalised", "EQ Curve=0.1",     "--set-normalised",
    "EQ RecLo=0.7",     "--set-normalised", "EQ RepHi=0.3",     "--set-normalised", "Head=0.6",
    "--set-normalised", "Bump=0.9",         "--set-normalised", "HB Att=0",         "--set-normalised",
    "Noise=0",          "--set-normalised", "Gain=0.35"};

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<char> bytesOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PresetCli : public ::testing::Test {
protected:
    void SetUp() override {
        writeAudio(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100, 4000, testTone);
    }
    // Renders in.wav through plugin with extra arguments; returns the output's samples (the file's bytes
    // would differ in the time stamp of its peak chunk).
    std::vector<double> render(const std::string& plugin, const std::vector<std::string>& extra,
                               const std::string& name) {
        const RunResult run = runVr58(
            concat({"render", plugin, (dir / "in.wav").string(), (dir / name).string(), "--precision", "64"},
                   extra));
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return readAudio(dir / name).interleaved;
    }
    ScratchDir dir;
};

} // namespace

TEST_F(PresetCli, APresetSoundsLikeTheSettingsItWasMadeFrom) {
    for (const char* plugin : {VR58_REAL_PLUGIN_G, VR58_REAL_PLUGIN}) {
        const std::string file = (dir / "preset.fxp").string();
        ASSERT_EQ(runVr58(concat({"preset", plugin, file}, kSharedSettings)).exitCode, 0);
        // The 60-byte header and the plug-in's chunk: 15 or 12 values.
        EXPECT_EQ(bytesOf(file).size(), plugin == std::string(VR58_REAL_PLUGIN_G) ? 120u : 108u);
        EXPECT_EQ(render(plugin, {"--preset", file}, "preset.wav"),
                  render(plugin, kSharedSettings, "set.wav"))
            << plugin;
    }
    // Settings given with the preset apply on top of it.
    EXPECT_EQ(
        render(VR58_REAL_PLUGIN, {"--preset", (dir / "preset.fxp").string(), "--set-normalised", "Gain=0.5"},
               "over.wav"),
        render(VR58_REAL_PLUGIN, concat(kSharedSettings, {"--set-normalised", "Gain=0.5"}), "direct.wav"));
}

TEST_F(PresetCli, ForeignOrCutPresetsAreRefusedBeforeAnythingIsWritten) {
    const std::string foreign = (dir / "foreign.fxp").string();
    ASSERT_EQ(runVr58({"preset", VR58_FIXTURE_RECORDING, foreign, "--name", "Other"}).exitCode, 0);
    const std::string good = (dir / "good.fxp").string();
    ASSERT_EQ(runVr58({"preset", VR58_REAL_PLUGIN_G, good}).exitCode, 0);
    const auto whole = bytesOf(good);
    std::ofstream(dir / "cut.fxp", std::ios::binary).write(whole.data(), 100);
    std::ofstream(dir / "header-only.fxp", std::ios::binary).write(whole.data(), 40);
    std::ofstream(dir / "text.fxp") << "not a preset\n";

    const std::vector<std::pair<std::string, std::string>> cases = {
        {foreign, "is a preset for the plug-in ID 'VRfx', not for this plug-in ('VR58')"},
        {(dir / "cut.fxp").string(), "truncated: the chunk needs 60 bytes, the file has 40"},
        {(dir / "header-only.fxp").string(), "truncated: 40 bytes, the header alone needs 60"},
        {(dir / "text.fxp").string(), "not a VST preset file (no 'CcnK' header)"},
        {(dir / "missing.fxp").string(), "no such file"},
    };
    const auto before = dir.entries();
    for (const auto& [file, expected] : cases) {
        const RunResult run = runVr58({"render", VR58_REAL_PLUGIN_G, (dir / "in.wav").string(),
                                       (dir / "out.wav").string(), "--preset", file});
        EXPECT_NE(run.exitCode, 0) << file;
        ASSERT_EQ(run.errLines().size(), 1u) << run.err;
        EXPECT_EQ(run.errLines()[0], "vr58: " + file + ": " + expected);
        EXPECT_EQ(dir.entries(), before) << file;
    }
}

TEST_F(PresetCli, AListWritesEveryPresetOrNone) {
    std::ofstream(dir / "good.txt") << "# two presets\n\"Soft\" --set-normalised Trim=0.4\n\n\"Loud, hot\" "
                                       "--set-normalised Trim=1 --set-normalised Noise=0\n";
    const RunResult run =
        runVr58({"preset", VR58_REAL_PLUGIN, (dir / "set").string(), "--list", (dir / "good.txt").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(
        render(VR58_REAL_PLUGIN, {"--preset", (dir / "set" / "Loud, hot.fxp").string()}, "a.wav"),
        render(VR58_REAL_PLUGIN, {"--set-normalised", "Trim=1", "--set-normalised", "Noise=0"}, "b.wav"));
    EXPECT_TRUE(std::filesystem::exists(dir / "set" / "Soft.fxp"));

    // A setting that only the editor build has fails the whole list in the other build.
    std::ofstream(dir / "bad.txt")
        << "\"Fine\" --set-normalised Trim=0.4\n\"Meter\" --set-normalised H.Room=0\n";
    const RunResult bad =
        runVr58({"preset", VR58_REAL_PLUGIN, (dir / "none").string(), "--list", (dir / "bad.txt").string()});
    EXPECT_NE(bad.exitCode, 0);
    ASSERT_EQ(bad.errLines().size(), 1u) << bad.err;
    EXPECT_NE(bad.err.find("bad.txt:2: --set: unknown parameter 'H.Room'"), std::string::npos) << bad.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "none"));
}

TEST_F(PresetCli, APresetOfOnePluginLoadsInTheOtherWithTheSharedControlsRight) {
    // The editor build's file also moves a meter control, which the other build does not have.
    const std::string editorFile = (dir / "from-editor-build.fxp").string();
    const std::string plainFile = (dir / "from-plain-build.fxp").string();
    ASSERT_EQ(runVr58(concat({"preset", VR58_REAL_PLUGIN_G, editorFile, "--set-normalised", "H.Room=0.2"},
                             kSharedSettings))
                  .exitCode,
              0);
    ASSERT_EQ(runVr58(concat({"preset", VR58_REAL_PLUGIN, plainFile}, kSharedSettings)).exitCode, 0);
    EXPECT_EQ(render(VR58_REAL_PLUGIN, {"--preset", editorFile}, "plain.wav"),
              render(VR58_REAL_PLUGIN, kSharedSettings, "plain-set.wav"));
    EXPECT_EQ(render(VR58_REAL_PLUGIN_G, {"--preset", plainFile}, "editor.wav"),
              render(VR58_REAL_PLUGIN_G, kSharedSettings, "editor-set.wav"));
}
