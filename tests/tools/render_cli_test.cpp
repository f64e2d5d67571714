// vr58 render end to end: formats kept or chosen, channel handling, settings, block sizes, precisions.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace vr58::test;

namespace {

constexpr int kWav16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
constexpr double kPcm16Step = 1.0 / 32768.0;

void expectSamples(const Audio& audio, double gain, double tolerance,
                   const std::function<double(long, int)>& sample) {
    for (long i = 0; i < audio.info.frames; ++i)
        for (int c = 0; c < audio.info.channels; ++c)
            ASSERT_NEAR(audio.at(i, c), gain * sample(i, c), tolerance) << "frame " << i << " channel " << c;
}

} // namespace

TEST(RenderCli, StereoWavKeepsFormatAndAppliesASettingByName) {
    ScratchDir dir;
    writeAudio(dir / "in.wav", kWav16, 2, 44100, 3000, testTone);
    const RunResult run =
        runVr58({"render", VR58_FIXTURE_RECORDING, (dir / "in.wav").string(), (dir / "out.wav").string(),
                 "--set-normalised", "Gain=0.25", "--no-dither"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, ""); // stderr is not a terminal here: no progress bar
    const Audio out = readAudio(dir / "out.wav");
    EXPECT_EQ(out.info.format, kWav16);
    EXPECT_EQ(out.info.channels, 2);
    EXPECT_EQ(out.info.samplerate, 44100);
    EXPECT_EQ(out.info.frames, 3000);
    // The fixture's output is input × 2 × Gain; the input itself was quantised to 16 bits.
    const Audio in = readAudio(dir / "in.wav");
    expectSamples(out, 0.5, kPcm16Step, [&](long i, int c) { return in.at(i, c); });
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"in.wav", "out.wav"}));
}

TEST(RenderCli, MonoInputGivesMonoOutputFromTheLeftChannel) {
    ScratchDir dir;
    const int format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
    writeAudio(dir / "mono.wav", format, 1, 48000, 1001, testTone);
    const RunResult run = runVr58({"render", VR58_FIXTURE_RECORDING, (dir / "mono.wav").string(),
                                   (dir / "out.wav").string(), "--block", "100"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Audio out = readAudio(dir / "out.wav");
    const Audio in = readAudio(dir / "mono.wav");
    EXPECT_EQ(out.info.format, format);
    EXPECT_EQ(out.info.channels, 1);
    EXPECT_EQ(out.info.samplerate, 48000);
    ASSERT_EQ(out.info.frames, 1001);
    EXPECT_EQ(out.interleaved, in.interleaved); // default Gain passes the signal unchanged
}

TEST(RenderCli, EmptyInputGivesAnEmptyFileOfTheSameFormat) {
    ScratchDir dir;
    writeAudio(dir / "empty.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 2, 96000, 0, testTone);
    const RunResult run = runVr58(
        {"render", VR58_FIXTURE_RECORDING, (dir / "empty.aiff").string(), (dir / "out.aiff").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Audio out = readAudio(dir / "out.aiff");
    EXPECT_EQ(out.info.format, SF_FORMAT_AIFF | SF_FORMAT_PCM_24);
    EXPECT_EQ(out.info.samplerate, 96000);
    EXPECT_EQ(out.info.frames, 0);
}

TEST(RenderCli, BlockSizesAndPrecisionsGiveTheSameResult) {
    ScratchDir dir;
    const int format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    writeAudio(dir / "in.wav", format, 2, 44100, 777, testTone);
    std::vector<Audio> outputs;
    const std::vector<std::vector<std::string>> variants = {
        {}, {"--block", "1"}, {"--block=7", "--precision", "64"}, {"--precision=32", "--block", "4096"}};
    for (size_t v = 0; v < variants.size(); ++v) {
        const std::string out = (dir / ("out" + std::to_string(v) + ".wav")).string();
        std::vector<std::string> args = {"render", VR58_FIXTURE_RECORDING, (dir / "in.wav").string(),
                                         out,      "--set-normalised",     "Gain=0.75"};
        args.insert(args.end(), variants[v].begin(), variants[v].end());
        const RunResult run = runVr58(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        outputs.push_back(readAudio(out));
    }
    const Audio in = readAudio(dir / "in.wav");
    expectSamples(outputs[0], 1.5, 1e-7, [&](long i, int c) { return in.at(i, c); });
    for (const Audio& out : outputs) {
        EXPECT_EQ(out.info.frames, 777);
        EXPECT_EQ(out.interleaved, outputs[0].interleaved);
    }
}

TEST(RenderCli, OutputFormatFollowsTheExtension) {
    ScratchDir dir;
    writeAudio(dir / "in.wav", kWav16, 2, 44100, 500, testTone);
    writeAudio(dir / "float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100, 500, testTone);
    const std::string plugin = VR58_FIXTURE_RECORDING;
    struct Case {
        std::vector<std::string> args;
        int format;
    };
    const std::vector<Case> cases = {
        {{"in.wav", "a.flac"}, SF_FORMAT_FLAC | SF_FORMAT_PCM_16}, // 16 bits kept
        {{"in.wav", "b.aiff", "--format", "aiff"}, SF_FORMAT_AIFF | SF_FORMAT_PCM_16},
        {{"float.wav", "d.flac"}, SF_FORMAT_FLAC | SF_FORMAT_PCM_24}, // FLAC holds no floats
        {{"in.wav", "e.wav", "--subtype", "double"}, SF_FORMAT_WAV | SF_FORMAT_DOUBLE},
        {{"in.wav", "f.AIF"}, SF_FORMAT_AIFF | SF_FORMAT_PCM_16},
        {{"float.wav", "g.ogg"}, SF_FORMAT_OGG | SF_FORMAT_VORBIS}, // not a WAV named .ogg
        {{"g.ogg", "h.wav"}, SF_FORMAT_WAV | SF_FORMAT_PCM_24},     // Vorbis is no sample format for WAV
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"render", plugin, (dir / c.args[0]).string(),
                                         (dir / c.args[1]).string()};
        args.insert(args.end(), c.args.begin() + 2, c.args.end());
        const RunResult run = runVr58(args);
        ASSERT_EQ(run.exitCode, 0) << c.args[1] << ": " << run.err;
        const Audio out = readAudio(dir / c.args[1]);
        EXPECT_EQ(out.info.format, c.format) << c.args[1];
        EXPECT_EQ(out.info.frames, 500) << c.args[1];
    }
    // A compressed input's coding is no sample format for the output: 24-bit PCM instead.
    writeAudio(dir / "in.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 2, 44100, 4410, testTone);
    const RunResult mp3 =
        runVr58({"render", plugin, (dir / "in.mp3").string(), (dir / "from-mp3.wav").string()});
    ASSERT_EQ(mp3.exitCode, 0) << mp3.err;
    EXPECT_EQ(readAudio(dir / "from-mp3.wav").info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
}

TEST(RenderCli, RefusesAnOutputThatIsTheInputUnderAnyName) {
    ScratchDir dir;
    writeAudio(dir / "take.wav", kWav16, 2, 44100, 300, testTone);
    std::filesystem::create_hard_link(dir / "take.wav", dir / "hard.wav");
    std::filesystem::create_symlink("take.wav", dir / "link.wav");
    std::filesystem::create_directory(dir / "sub");
    const auto bytes = [&] {
        std::ifstream in(dir / "take.wav", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const std::string original = bytes();
    const std::string in = (dir / "take.wav").string();
    for (const std::string& out : {(dir.path() / "." / "take.wav").string(), (dir / "hard.wav").string(),
                                   (dir / "link.wav").string(), (dir / "sub" / ".." / "take.wav").string()}) {
        const RunResult run =
            runVr58({"render", VR58_FIXTURE_RECORDING, in, out, "--set-normalised", "Gain=0"});
        EXPECT_EQ(run.exitCode, 1) << out;
        EXPECT_EQ(run.errLines(),
                  std::vector<std::string>{"vr58: " + out + ": is the input file " + in +
                                           " (the same file on disk); the render would replace "
                                           "it, so nothing was written: choose another output"});
        EXPECT_EQ(bytes(), original) << out;
    }
    // Through the link as the input, too.
    const RunResult linked = runVr58({"render", VR58_FIXTURE_RECORDING, (dir / "link.wav").string(), in});
    EXPECT_EQ(linked.exitCode, 1);
    EXPECT_EQ(bytes(), original);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"hard.wav", "link.wav", "sub", "take.wav"}));
}

TEST(RenderCli, FlacInputRendersAndLoudOutputClipsInsteadOfWrapping) {
    ScratchDir dir;
    writeAudio(dir / "in.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100, 400, testTone);
    // Gain 1.0 doubles the 0.8 tone: beyond full scale, so 16-bit output must clip at the rails.
    const RunResult run = runVr58({"render", VR58_FIXTURE_RECORDING, (dir / "in.flac").string(),
                                   (dir / "out.flac").string(), "--set-normalised", "Gain=1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Audio out = readAudio(dir / "out.flac");
    const Audio in = readAudio(dir / "in.flac");
    long beyond = 0;
    for (long i = 0; i < out.info.frames; ++i) {
        const double expected = std::clamp(2.0 * in.at(i, 0), -1.0, 1.0);
        ASSERT_NEAR(out.at(i, 0), expected, 2 * kPcm16Step) << i;
        for (int c = 0; c < 2; ++c) beyond += std::fabs(2.0 * in.at(i, c)) > 1.0;
    }
    // What came out, and what the clipping cost: said, and still a success.
    ASSERT_GT(beyond, 0);
    const std::string target = (dir / "out.flac").string();
    EXPECT_EQ(run.out.rfind(target + ": peak L +4.1, R +4.", 0), 0u) << run.out; // 2 x 0.8 is +4.1 dBFS
    EXPECT_EQ(run.errLines(),
              std::vector<std::string>{
                  "vr58: " + target + ": " + std::to_string(beyond) + " of 800 samples " +
                  "lay beyond full scale and were clipped in 16-bit PCM; render into a .wav " +
                  "or .aiff file with --subtype float to keep them, or turn Gain down by 4.1 dB"});
    const RunResult kept =
        runVr58({"render", VR58_FIXTURE_RECORDING, (dir / "in.flac").string(), (dir / "out.wav").string(),
                 "--set-normalised", "Gain=1", "--subtype", "float"});
    ASSERT_EQ(kept.exitCode, 0) << kept.err;
    EXPECT_EQ(kept.err, "");
    EXPECT_EQ(kept.out.rfind((dir / "out.wav").string() + ": peak L +4.1, R +4.", 0), 0u) << kept.out;
}

TEST(RenderCli, ASeedMakesRendersEqualToTheBit) {
    ScratchDir dir;
    writeAudio(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100, 4000, testTone);
    const auto renderWith = [&](const std::string& name, std::vector<std::string> extra) {
        std::vector<std::string> args = {
            "render", VR58_REAL_PLUGIN_G, (dir / "in.wav").string(), (dir / name).string(),
            "--set",  "Hiss=-36dB"};
        args.insert(args.end(), extra.begin(), extra.end());
        const RunResult run = runVr58(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::ifstream in(dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const std::string first = renderWith("a.wav", {"--seed", "5"});
    EXPECT_TRUE(renderWith("b.wav", {"--seed=5", "--block", "100"}) == first);
    EXPECT_FALSE(renderWith("c.wav", {"--seed", "6"}) == first);
    // Without a seed the hiss runs free.
    EXPECT_FALSE(renderWith("d.wav", {}) == renderWith("e.wav", {}));
}

TEST(RenderCli, ReplacesAnExistingOutputOnlyOnSuccess) {
    ScratchDir dir;
    writeAudio(dir / "in.wav", kWav16, 2, 44100, 300, testTone);
    std::ofstream(dir / "out.wav") << "precious";
    const RunResult failed = runVr58({"render", VR58_FIXTURE_RECORDING, (dir / "in.wav").string(),
                                      (dir / "out.wav").string(), "--set-normalised", "Nope=0.5"});
    EXPECT_NE(failed.exitCode, 0);
    std::ifstream kept(dir / "out.wav");
    std::string text;
    kept >> text;
    EXPECT_EQ(text, "precious");

    const RunResult run =
        runVr58({"render", VR58_FIXTURE_RECORDING, (dir / "in.wav").string(), (dir / "out.wav").string()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readAudio(dir / "out.wav").info.frames, 300);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"in.wav", "out.wav"}));
}

TEST(RenderCli, RendersThroughBothRealPlugins) {
    ScratchDir dir;
    writeAudio(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 44100, 20000, testTone);
    const Audio in = readAudio(dir / "in.wav");
    for (const char* plugin : {VR58_REAL_PLUGIN, VR58_REAL_PLUGIN_G}) {
        for (const char* precision : {"32", "64"}) {
            const RunResult run =
                runVr58({"render", plugin, (dir / "in.wav").string(), (dir / "out.wav").string(),
                         "--set-normalised", "EQ Curve=0.1", "--set-normalised", "HB Att=0",
                         "--set-normalised", "Noise=0", "--precision", precision});
            ASSERT_EQ(run.exitCode, 0) << plugin << ": " << run.err;
            const Audio out = readAudio(dir / "out.wav");
            EXPECT_EQ(out.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
            EXPECT_EQ(out.info.channels, 2);
            ASSERT_EQ(out.info.frames, 20000);
            double difference = 0.0;
            for (size_t i = 0; i < out.interleaved.size(); ++i) {
                ASSERT_TRUE(std::isfinite(out.interleaved[i]));
                difference = std::max(difference, std::fabs(out.interleaved[i] - in.interleaved[i]));
            }
            EXPECT_GT(difference, 0.01) << plugin << ": the tape saturation must change a 0.8 tone";
        }
    }
}
