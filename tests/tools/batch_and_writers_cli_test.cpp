// vr58 on many files at once, on inputs cut short, on a disk that fills up, and its exit codes.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

using namespace vr58::test;

namespace {

std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// vr58 with files limited to a few KiB, as on a disk that fills up: writes beyond fail (SIGXFSZ ignored).
RunResult runVr58OnFullDisk(const std::vector<std::string>& args) {
    std::vector<std::string> all = {"-c", "ulimit -f 4; trap '' XFSZ; exec \"$0\" \"$@\"", VR58_EXE};
    all.insert(all.end(), args.begin(), args.end());
    return runProgram("/bin/bash", all);
}

} // namespace

TEST(BatchCli, AFolderOfMixedFilesIsRenderedAndTheBadOneNamed) {
    ScratchDir dir;
    const auto in = dir / "in";
    std::filesystem::create_directory(in);
    writeAudio(in / "a.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 44100, 2000, testTone);
    writeAudio(in / "b.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 48000, 1500, testTone);
    writeAudio(in / "c.aiff", SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 2, 44100, 1000, testTone);
    std::ofstream(in / "broken.wav") << "RIFF, but nothing of a WAV file";
    std::ofstream(in / "notes.txt") << "not audio, and not taken from the folder\n";

    // The plug-in by its build's name, found in this tree's plug-in folder.
    const RunResult run =
        runVr58({"render", "vr58g", in.string(), "--out", (dir / "out").string(), "--set", "noise=off"});
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find("broken.wav: cannot be read: not an audio file"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("vr58: not rendered: " + (in / "broken.wav").string() + "\n"), std::string::npos)
        << run.err;
    EXPECT_NE(run.out.find("Rendered 3 of 4 files into"), std::string::npos) << run.out;
    EXPECT_EQ(entries(dir / "out"), (std::vector<std::string>{"a.wav", "b.flac", "c.aiff"}));
    const Audio b = readAudio(dir / "out" / "b.flac");
    EXPECT_EQ(b.info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
    EXPECT_EQ(b.info.channels, 1);
    EXPECT_EQ(b.info.samplerate, 48000);
    EXPECT_EQ(b.info.frames, 1500);
    EXPECT_EQ(readAudio(dir / "out" / "c.aiff").info.format, SF_FORMAT_AIFF | SF_FORMAT_FLOAT);

    // Two inputs of one name would write one output: refused before anything is written.
    const RunResult twice = runVr58({"render", VR58_REAL_PLUGIN, (in / "a.wav").string(),
                                     (in / "a.wav").string(), "--out", (dir / "again").string()});
    EXPECT_EQ(twice.exitCode, 2) << twice.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "again"));
}

TEST(BatchCli, AnInputCutShortIsRenderedWithAWarningOfBothLengths) {
    ScratchDir dir;
    writeAudio(dir / "full.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 8000, 8000, testTone);
    const std::string bytes = fileBytes(dir / "full.wav");
    std::ofstream(dir / "cut.wav", std::ios::binary) << bytes.substr(0, bytes.size() - 4 * 6000);
    const RunResult run =
        runVr58({"render", VR58_FIXTURE_RECORDING, (dir / "cut.wav").string(), (dir / "out.wav").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("cut.wav: warning: the header says 1.00 s, the file holds 0.25 s; rendered the "
                           "2000 frames it holds"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(readAudio(dir / "out.wav").info.frames, 2000);
}

TEST(WritersCli, AFullDiskKeepsTheOldFileAndSaysWhy) {
    ScratchDir dir;
    std::ofstream(dir / "face.png") << "the old picture";
    const RunResult picture = runVr58OnFullDisk({"editor-preview", "VR58G", (dir / "face.png").string()});
    EXPECT_EQ(picture.exitCode, 1) << picture.err;
    EXPECT_NE(picture.err.find("face.png: cannot write (file too large)"), std::string::npos) << picture.err;
    EXPECT_EQ(picture.out, "");
    EXPECT_EQ(fileBytes(dir / "face.png"), "the old picture");

    const RunResult measured = runVr58OnFullDisk({"measure", VR58_REAL_PLUGIN, (dir / "new").string()});
    EXPECT_EQ(measured.exitCode, 1) << measured.err;
    EXPECT_NE(measured.err.find("cannot write (file too large)"), std::string::npos) << measured.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "new")); // no empty folder left behind
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"face.png"});
}

TEST(WritersCli, SixteenBitsAreDitheredUnlessAskedNotTo) {
    ScratchDir dir;
    // A tone of a third of the 16-bit step: rounding makes silence of it, dither keeps it in the noise.
    writeAudio(dir / "quiet.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 44100, 44100,
               [](long i, int) { return std::sin(i * 0.05) / 3.0 / 32768.0; });
    const auto render = [&](const std::vector<std::string>& extra) {
        std::vector<std::string> args = {"render",
                                         VR58_FIXTURE_RECORDING,
                                         (dir / "quiet.wav").string(),
                                         (dir / "out.wav").string(),
                                         "--subtype",
                                         "pcm16"};
        args.insert(args.end(), extra.begin(), extra.end());
        EXPECT_EQ(runVr58(args).exitCode, 0);
        return readAudio(dir / "out.wav");
    };
    const Audio rounded = render({"--no-dither", "--set-normalised", "Gain=0.5"});
    for (double sample : rounded.interleaved) ASSERT_EQ(sample, 0.0);
    const Audio dithered = render({"--set-normalised", "Gain=0.5"});
    double peak = 0.0, correlation = 0.0;
    for (long i = 0; i < dithered.info.frames; ++i) {
        peak = std::max(peak, std::fabs(dithered.interleaved[i]));
        correlation += dithered.interleaved[i] * std::sin(i * 0.05);
    }
    EXPECT_LE(peak, 2.0 / 32768.0); // never more than the signal and one step of dither
    EXPECT_GT(correlation, 0.0);    // the tone is still in it
}

TEST(ExitCodesCli, UsageIsTwoAFailedJobIsOne) {
    const RunResult bare = runVr58({});
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_LT(bare.errLines().size(), 15u) << bare.err; // a short usage, not the whole help
    EXPECT_EQ(runVr58({"render", VR58_REAL_PLUGIN, "in.wav", "out.wav", "--set", "Trim=+30dB"}).exitCode, 2);
    EXPECT_EQ(runVr58({"render", VR58_REAL_PLUGIN, "missing.wav", "out.wav"}).exitCode, 1);
    const RunResult version = runVr58({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("vr58 ", 0), 0u) << version.out;
}

TEST(WritersCli, ATemporaryOfAKilledRunGoesWithTheNextWriteOfItsFile) {
    ScratchDir dir;
    writeAudio(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 8000, 100, testTone);
    std::ofstream(dir / ".out.wav.vr58-2147483646.tmp") << "left by kill -9";
    std::ofstream(dir / ".other.wav.vr58-2147483646.tmp") << "another file's: kept";
    ASSERT_EQ(
        runVr58({"render", VR58_FIXTURE_RECORDING, (dir / "in.wav").string(), (dir / "out.wav").string()})
            .exitCode,
        0);
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{".other.wav.vr58-2147483646.tmp", "in.wav", "out.wav"}));
}
