// vr58 info and vr58 demo end to end, through the recording fixture and, when built, the real plug-ins.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vr58::test;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kDemoFiles = {"VR58G_x64-aes-head-bump.wav",
                                             "VR58G_x64-defaults.wav",
                                             "VR58G_x64-nab-hot.wav",
                                             "VR58_x64-aes-head-bump.wav",
                                             "VR58_x64-defaults.wav",
                                             "VR58_x64-nab-hot.wav",
                                             "input.wav"};

void expectDemoFiles(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, kDemoFiles);
    for (const auto& name : kDemoFiles) {
        const Audio audio = readAudio(dir / name);
        EXPECT_EQ(audio.info.samplerate, 48000) << name;
        EXPECT_EQ(audio.info.channels, 2) << name;
        EXPECT_EQ(audio.info.frames, 8 * 48000) << name;
        EXPECT_EQ(audio.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT) << name;
    }
}

} // namespace

TEST(InfoCli, PrintsRecordIdentityAndParameterTable) {
    const RunResult run = runVr58({"info", VR58_FIXTURE_RECORDING});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* expected :
         {"magic           0x56737450 'VstP'", "numParams       15", "initialDelay    3",
          "flags           0x1030 (canReplacing, programChunks, canDoubleReplacing)",
          "uniqueID        0x56526678 'VRfx'", "version         7", "effect name     Recording Fixture",
          "product         Recording Fixture Product", "vendor version  42", "category        1 (effect)",
          "      2  EQ Curve  Typ       0.500000  0.500000",
          "     14  Noise     n/y       1.000000  1.000000"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected << "\nin:\n" << run.out;
}

TEST(DemoCli, RendersEveryPresetThroughBothPluginsAndReportsLevels) {
    // Both names point at the recording fixture, which knows every parameter the presets set; at its
    // default Gain it passes the phrase unchanged, so every render has the input's levels.
    ScratchDir plugins;
    fs::copy_file(VR58_FIXTURE_RECORDING, plugins / "VR58G_x64.so");
    fs::copy_file(VR58_FIXTURE_RECORDING, plugins / "VR58_x64.so");
    ScratchDir out;
    const RunResult run = runVr58({"demo", (out / "demo").string(), "--plugins", plugins.path().string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    expectDemoFiles(out / "demo");
    EXPECT_NE(run.out.find("input.wav"), std::string::npos);
    EXPECT_NE(run.out.find("VR58_x64-nab-hot.wav"), std::string::npos);
    const Audio input = readAudio(out / "demo" / "input.wav");
    EXPECT_EQ(readAudio(out / "demo" / "VR58G_x64-defaults.wav").interleaved, input.interleaved);
    // The phrase peaks at 0.95 (-0.4 dBFS); the report shows it.
    EXPECT_NE(run.out.find("-0.4"), std::string::npos) << run.out;
}

TEST(DemoCli, MissingPluginFailsBeforeWritingAnything) {
    ScratchDir plugins;
    fs::copy_file(VR58_FIXTURE_RECORDING, plugins / "VR58G_x64.so");
    ScratchDir out;
    const RunResult run = runVr58({"demo", (out / "demo").string(), "--plugins", plugins.path().string()});
    EXPECT_NE(run.exitCode, 0);
    ASSERT_EQ(run.errLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("VR58_x64.so: no such file"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(out / "demo"));

    // A plug-in lacking a preset's parameter is refused up front as well.
    fs::copy_file(VR58_FIXTURE_MINIMAL, plugins / "VR58_x64.so");
    const RunResult lacking =
        runVr58({"demo", (out / "demo").string(), "--plugins", plugins.path().string()});
    EXPECT_NE(lacking.exitCode, 0);
    EXPECT_NE(lacking.err.find("unknown parameter 'EQ Curve'"), std::string::npos) << lacking.err;
    EXPECT_FALSE(fs::exists(out / "demo"));
}

TEST(InfoCli, DescribesTheRealPlugins) {
    const RunResult plain = runVr58({"info", VR58_REAL_PLUGIN});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_NE(plain.out.find("uniqueID        0x56523538 'VR58'"), std::string::npos) << plain.out;
    EXPECT_NE(plain.out.find("product         VR58 Tape Recorder"), std::string::npos) << plain.out;
    EXPECT_NE(plain.out.find("     11  Noise     n/y"), std::string::npos) << plain.out;
    const RunResult editor = runVr58({"info", VR58_REAL_PLUGIN_G});
    ASSERT_EQ(editor.exitCode, 0) << editor.err;
    EXPECT_NE(editor.out.find("numParams       15"), std::string::npos) << editor.out;
    EXPECT_NE(editor.out.find("     13  HB Att    dB"), std::string::npos) << editor.out;
}

TEST(DemoCli, RendersThroughTheRealPlugins) {
    ScratchDir out;
    const RunResult run = runVr58({"demo", out.path().string(), "--plugins", VR58_REAL_PLUGIN_DIR});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    expectDemoFiles(out.path());
    // The hot NAB setting saturates: its peak stays near full scale although the trim adds 14 dB.
    const Audio hot = readAudio(out / "VR58_x64-nab-hot.wav");
    double peak = 0.0;
    for (double sample : hot.interleaved) {
        ASSERT_TRUE(std::isfinite(sample));
        peak = std::max(peak, std::fabs(sample));
    }
    EXPECT_LT(peak, 2.0);
    EXPECT_GT(peak, 0.5);
}
