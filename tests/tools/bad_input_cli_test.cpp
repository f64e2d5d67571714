// Every kind of bad input: a non-zero exit, one "vr58: ..." line on stderr, and no output left behind.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace vr58::test;

namespace {

struct BadRender {
    const char* what;
    std::vector<std::string>
        args;             // after "render"; IN, OUT and plug-in names are resolved in the scratch folder
    const char* expected; // the stderr line must contain this
};

std::string resolve(const ScratchDir& dir, const std::string& arg) {
    if (arg == "@in") return (dir / "in.wav").string();
    if (arg == "@mono3") return (dir / "three.wav").string();
    if (arg == "@out") return (dir / "out.wav").string();
    if (arg == "@flac") return (dir / "out.flac").string();
    if (arg == "@mp3") return (dir / "out.mp3").string();
    if (arg == "@text") return (dir / "notes.txt").string();
    if (arg == "@missing") return (dir / "missing.wav").string();
    if (arg == "@nodir") return (dir / "no-such-folder" / "out.wav").string();
    if (arg == "@dir") return dir.path().string();
    return arg;
}

const std::vector<BadRender> kBadRenders = {
    {"missing input", {VR58_FIXTURE_RECORDING, "@missing", "@out"}, "missing.wav: no such file"},
    {"input not audio",
     {VR58_FIXTURE_RECORDING, "@text", "@out"},
     "notes.txt: cannot be read: not an audio file"},
    {"too many channels",
     {VR58_FIXTURE_RECORDING, "@mono3", "@out"},
     "takes 2 input channels (or mono), the audio has 3"},
    {"missing plug-in", {"@missing", "@in", "@out"}, "missing.wav: no such file"},
    {"plug-in not a library", {"@text", "@in", "@out"}, "notes.txt: not a loadable library"},
    {"no entry", {VR58_FIXTURE_NO_ENTRY, "@in", "@out"}, "exports neither VSTPluginMain nor main"},
    {"null record", {VR58_FIXTURE_NULL_RECORD, "@in", "@out"}, "null record"},
    {"wrong magic", {VR58_FIXTURE_WRONG_MAGIC, "@in", "@out"}, "wrong magic 0x50747356"},
    {"unknown parameter",
     {VR58_FIXTURE_RECORDING, "@in", "@out", "--set-normalised", "Wow=0.5"},
     "unknown parameter 'Wow'"},
    {"value above 1",
     {VR58_FIXTURE_RECORDING, "@in", "@out", "--set-normalised", "Gain=1.01"},
     "must lie in 0..1"},
    {"negative value",
     {VR58_FIXTURE_RECORDING, "@in", "@out", "--set-normalised=Gain=-0.1"},
     "must lie in 0..1"},
    {"value not a number",
     {VR58_FIXTURE_RECORDING, "@in", "@out", "--set-normalised", "Gain=0.5x"},
     "is not a number"},
    {"units of another plug-in",
     {VR58_FIXTURE_RECORDING, "@in", "@out", "--set", "Gain=loud"},
     "Gain=loud: this plug-in is not a VR58, its units are unknown; give the normalised value with "
     "--set-normalised NAME=0..1"},
    {"unit value out of range",
     {VR58_REAL_PLUGIN, "@in", "@out", "--set", "Trim=+30dB"},
     "--set: +30 dB is outside the range of Trim, -24..+24 dB"},
    {"bump beyond its range here",
     {VR58_REAL_PLUGIN, "@in", "@out", "--set", "Head=105Hz", "--set", "Bump=7dB"},
     "--set: +7 dB is outside the range of Bump, +1..+4 dB with Head 105 Hz and HB Att -2 dB"},
    {"unit of another parameter",
     {VR58_REAL_PLUGIN, "@in", "@out", "--set", "Head=3dB"},
     "--set: '3dB' is not a value of Head in Hz (65..105 Hz)"},
    {"no such position",
     {VR58_REAL_PLUGIN, "@in", "@out", "--set", "EQ Curve=CCIR"},
     "--set: 'CCIR' is not a position of EQ Curve (NAB, IEC, AES)"},
    {"no such preset",
     {VR58_REAL_PLUGIN, "@in", "@out", "--preset", "Hot 3 ips"},
     "--preset: 'Hot 3 ips' is neither a preset file nor a factory preset (vr58 presets lists them)"},
    {"seed for another plug-in",
     {VR58_FIXTURE_RECORDING, "@in", "@out", "--seed", "1"},
     "--seed: this plug-in takes no noise seed"},
    {"seed not a number", {VR58_REAL_PLUGIN, "@in", "@out", "--seed", "-1"}, "--seed: '-1' is not a seed"},
    {"unknown extension",
     {VR58_FIXTURE_RECORDING, "@in", "@mp3"},
     "out.mp3: cannot be written as a .mp3 file; name it .wav, .flac, .aiff or .ogg"},
    {"format against the extension",
     {VR58_FIXTURE_RECORDING, "@in", "@out", "--format", "aiff"},
     "--format: aiff does not match the output's extension .wav"},
    {"value nan", {VR58_FIXTURE_RECORDING, "@in", "@out", "--set-normalised", "Gain=nan"}, "is not a number"},
    {"setting without value", {VR58_FIXTURE_RECORDING, "@in", "@out", "--set", "Gain"}, "is not NAME=VALUE"},
    {"output folder missing", {VR58_FIXTURE_RECORDING, "@in", "@nodir"}, "does not exist"},
    {"output is a folder", {VR58_FIXTURE_RECORDING, "@in", "@dir"}, "is a directory"},
    {"block zero", {VR58_FIXTURE_RECORDING, "@in", "@out", "--block", "0"}, "'0' is not a block size"},
    {"block not a number",
     {VR58_FIXTURE_RECORDING, "@in", "@out", "--block", "12x"},
     "'12x' is not a block size"},
    {"block missing", {VR58_FIXTURE_RECORDING, "@in", "@out", "--block"}, "--block: needs a value"},
    {"bad precision",
     {VR58_FIXTURE_RECORDING, "@in", "@out", "--precision", "16"},
     "'16' is not a precision"},
    {"no 64-bit path",
     {VR58_FIXTURE_MINIMAL, "@in", "@out", "--precision", "64"},
     "does not process 64-bit audio"},
    {"unknown option", {VR58_FIXTURE_RECORDING, "@in", "@out", "--loud"}, "--loud: unknown option"},
    {"bad format", {VR58_FIXTURE_RECORDING, "@in", "@out", "--format", "mp3"}, "'mp3' is not one of"},
    {"subtype the format cannot hold",
     {VR58_FIXTURE_RECORDING, "@in", "@flac", "--subtype", "float"},
     "cannot be stored"},
    {"missing arguments", {VR58_FIXTURE_RECORDING, "@in"}, "missing arguments"},
};

} // namespace

TEST(BadInputCli, EachBadRenderFailsWithOneLineAndLeavesNothing) {
    for (const BadRender& bad : kBadRenders) {
        ScratchDir dir;
        writeAudio(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, 100, testTone);
        writeAudio(dir / "three.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 3, 44100, 100, testTone);
        std::ofstream(dir / "notes.txt") << "not audio, not a plug-in\n";
        const auto before = dir.entries();
        std::vector<std::string> args = {"render"};
        for (const auto& arg : bad.args) args.push_back(resolve(dir, arg));

        const RunResult run = runVr58(args);
        EXPECT_NE(run.exitCode, 0) << bad.what;
        const auto lines = run.errLines();
        ASSERT_EQ(lines.size(), 1u) << bad.what << ":\n" << run.err;
        EXPECT_EQ(lines[0].rfind("vr58: ", 0), 0u) << bad.what << ": " << lines[0];
        EXPECT_NE(lines[0].find(bad.expected), std::string::npos) << bad.what << ": " << lines[0];
        EXPECT_EQ(run.out, "") << bad.what;
        EXPECT_EQ(dir.entries(), before) << bad.what << ": files were left behind";
    }
}

TEST(BadInputCli, UnwritableFolderFailsCleanly) {
    ScratchDir dir;
    writeAudio(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, 100, testTone);
    // A read-only folder refuses the output, unless permissions do not stop us (root): then /proc, which
    // takes no new files from anyone.
    std::filesystem::path folder = dir / "locked";
    std::filesystem::create_directory(folder);
    std::filesystem::permissions(folder,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    if (std::ofstream(folder / "probe")) folder = "/proc";
    const RunResult run = runVr58(
        {"render", VR58_FIXTURE_RECORDING, (dir / "in.wav").string(), (folder / "vr58-out.wav").string()});
    EXPECT_NE(run.exitCode, 0);
    ASSERT_EQ(run.errLines().size(), 1u) << run.err;
    EXPECT_NE(run.err.find("cannot write"), std::string::npos) << run.err;
    // Neither the output nor a temporary file of it is left behind.
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        EXPECT_EQ(entry.path().filename().string().find("vr58-out"), std::string::npos) << entry.path();
}

TEST(BadInputCli, CommandLineMistakes) {
    const RunResult none = runVr58({});
    EXPECT_NE(none.exitCode, 0);
    EXPECT_NE(none.err.find("usage:"), std::string::npos);

    const RunResult unknown = runVr58({"mix"});
    EXPECT_NE(unknown.exitCode, 0);
    EXPECT_EQ(unknown.errLines(), std::vector<std::string>{"vr58: mix: unknown command (try vr58 --help)"});

    const RunResult help = runVr58({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("vr58 render PLUGIN IN OUT"), std::string::npos);
    EXPECT_EQ(help.err, "");

    const RunResult info = runVr58({"info", VR58_FIXTURE_WRONG_MAGIC});
    EXPECT_NE(info.exitCode, 0);
    ASSERT_EQ(info.errLines().size(), 1u);
    EXPECT_NE(info.err.find("wrong magic"), std::string::npos);
    EXPECT_EQ(info.out, "");
}
