// vr58 editor-preview end to end: the picture follows the plug-in's values, and only the editor build
// has one.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <stb_image.h>

#include <cmath>
#include <memory>

namespace fs = std::filesystem;
using namespace vr58::test;

namespace {
struct Picture {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
    unsigned pixel(int x, int y) const {
        const unsigned char* p = &rgba[4 * (y * width + x)];
        return p[0] | p[1] << 8 | p[2] << 16 | static_cast<unsigned>(p[3]) << 24;
    }
};

Picture readPicture(const fs::path& path) {
    Picture picture;
    int channels = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> data(
        stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 4), stbi_image_free);
    if (data) picture.rgba.assign(data.get(), data.get() + 4 * picture.width * picture.height);
    return picture;
}

int differingPixels(const Picture& a, const Picture& b, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}
} // namespace

TEST(EditorPreviewCli, ControlsFollowTheValuesAndNothingElseChanges) {
    ScratchDir out;
    const RunResult low = runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (out / "low.png").string(),
                                   "--set-normalised", "Trim=0", "--set-normalised", "EQ Curve=0"});
    ASSERT_EQ(low.exitCode, 0) << low.err;
    const RunResult high = runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (out / "high.png").string(),
                                    "--set-normalised", "Trim=1", "--set-normalised", "EQ Curve=1"});
    ASSERT_EQ(high.exitCode, 0) << high.err;
    const Picture a = readPicture(out / "low.png");
    const Picture b = readPicture(out / "high.png");
    ASSERT_EQ(a.width, 520);
    ASSERT_EQ(a.height, 440);
    ASSERT_EQ(b.width, 520);
    EXPECT_GT(differingPixels(a, b, 30, 67, 110, 147), 100);  // the Trim knob
    EXPECT_GT(differingPixels(a, b, 240, 230, 280, 270), 50); // the curve selector
    EXPECT_EQ(differingPixels(a, b, 410, 67, 490, 147), 0);   // the Gain knob stays
    EXPECT_EQ(differingPixels(a, b, 230, 300, 400, 440), 0);  // the name plate
}

TEST(EditorPreviewCli, ScaleTwoWritesTheFaceFromTheTwoTimesImages) {
    ScratchDir out;
    const RunResult run =
        runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (out / "big.png").string(), "--scale", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Picture big = readPicture(out / "big.png");
    ASSERT_EQ(big.width, 1040);
    ASSERT_EQ(big.height, 880);
    // The name plate has no view on it: there the picture is the 2x background itself.
    const Picture background = readPicture(fs::path(VR58_SKIN_DIR) / "201-background-2x.png");
    ASSERT_EQ(background.width, 1040);
    EXPECT_EQ(differingPixels(big, background, 460, 600, 800, 880), 0);

    const RunResult bad =
        runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (out / "odd.png").string(), "--scale", "3"});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_NE(bad.err.find("--scale"), std::string::npos) << bad.err;
    EXPECT_FALSE(fs::exists(out / "odd.png"));
}

TEST(EditorPreviewCli, EditorlessBuildHasNoPicture) {
    ScratchDir out;
    const RunResult run = runVr58({"editor-preview", VR58_REAL_PLUGIN, (out / "x.png").string()});
    EXPECT_NE(run.exitCode, 0);
    ASSERT_EQ(run.errLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("not the VR58-G editor build"), std::string::npos) << run.err;
    EXPECT_TRUE(out.entries().empty());
}

TEST(EditorPreviewCli, PlayingAFileShowsTheMetersAtTheLoudestMoment) {
    ScratchDir out;
    // Two seconds of silence around one second of a full-scale sine, driven 24 dB hot: an over.
    const fs::path loud = out / "loud.wav";
    writeAudio(loud, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, 3 * 48000, [](long frame, int) {
        return frame >= 48000 && frame < 96000 ? std::sin(0.05 * frame) : 0.0;
    });
    const RunResult still = runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (out / "still.png").string()});
    ASSERT_EQ(still.exitCode, 0) << still.err;
    const RunResult played = runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (out / "played.png").string(),
                                      "--play", loud.string(), "--set-normalised", "Gain=1"});
    ASSERT_EQ(played.exitCode, 0) << played.err;
    const Picture a = readPicture(out / "still.png");
    const Picture b = readPicture(out / "played.png");
    ASSERT_EQ(b.width, 520);
    EXPECT_GT(differingPixels(a, b, 165, 62, 328, 152), 200); // the needle left its rest
    EXPECT_GT(differingPixels(a, b, 328, 71, 356, 99), 100);  // the lamp lit
    EXPECT_EQ(differingPixels(a, b, 30, 67, 110, 147), 0);    // Trim's knob stays
}

TEST(EditorPreviewCli, MenuDrawsTheRightClickMenuOverTheFaceAndNothingElse) {
    ScratchDir out;
    const RunResult plain = runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (out / "plain.png").string()});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    const RunResult menu =
        runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (out / "menu.png").string(), "--menu"});
    ASSERT_EQ(menu.exitCode, 0) << menu.err;
    const Picture a = readPicture(out / "plain.png");
    const Picture b = readPicture(out / "menu.png");
    EXPECT_GT(differingPixels(a, b, 235, 65, 400, 250), 20000); // the box, opened at the click
    EXPECT_EQ(differingPixels(a, b, 0, 0, 225, 440), 0);
}

TEST(EditorPreviewCli, HoverShowsTheReadOutBesideTheControlAndUnknownNamesAreRefused) {
    ScratchDir out;
    const RunResult plain =
        runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (out / "plain.png").string(), "--set", "Trim=+3.5dB"});
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    const RunResult hovered = runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (out / "hover.png").string(),
                                       "--set", "Trim=+3.5dB", "--hover", "Trim"});
    ASSERT_EQ(hovered.exitCode, 0) << hovered.err;
    const Picture a = readPicture(out / "plain.png");
    const Picture b = readPicture(out / "hover.png");
    ASSERT_EQ(b.width, 520);
    EXPECT_GT(differingPixels(a, b, 0, 40, 150, 67), 600); // the label over the knob
    EXPECT_EQ(differingPixels(a, b, 30, 67, 110, 147), 0); // the knob itself uncovered
    EXPECT_EQ(differingPixels(a, b, 150, 0, 520, 440), 0);

    const RunResult bad =
        runVr58({"editor-preview", VR58_REAL_PLUGIN_G, (out / "bad.png").string(), "--hover", "Volume"});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_NE(bad.err.find("'Volume' names no control"), std::string::npos) << bad.err;
    EXPECT_FALSE(fs::exists(out / "bad.png"));
}
