// The bundles as the LV2 tools of Debian see them: the schemas' validator, lv2ls and lv2info of lilv, and
// lv2apply rendering a file through each bundle, compared with `vr58 render` of the matching VST 2.4
// library at the same settings.
#include "cli_support.h"
#include "effect/build_config.h"
#include "lv2/lv2_ports.h"
#include "lv2/port_description.h"
#include "lv2/short_decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace vr58;
using namespace vr58::lv2;
using vr58::test::Audio;
using vr58::test::readAudio;
using vr58::test::runProgram;
using vr58::test::RunResult;
using vr58::test::runVr58;
using vr58::test::ScratchDir;
using vr58::test::writeAudio;

namespace fs = std::filesystem;

namespace {

struct BundleCase {
    const BuildConfig* build;
    const char* uri;
    const char* dir;
    const char* vstLibrary;
    bool editor;
};

const BundleCase kBundles[] = {
    {&kEditorBuild, kEditorPluginUri, VR58_LV2_EDITOR_BUNDLE, VR58_VST_EDITOR_PLUGIN, true},
    {&kPlainBuild, kPlainPluginUri, VR58_LV2_PLAIN_BUNDLE, VR58_VST_PLAIN_PLUGIN, false},
};

class Lv2Tools : public ::testing::Test {
protected:
    void SetUp() override { setenv("LV2_PATH", VR58_LV2_DIR, 1); }
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// lv2info's port blocks: "Port N:" then indented "Key: value" lines (the key of a continued value empty).
std::map<int, std::map<std::string, std::string>> portsOf(const std::string& info) {
    std::map<int, std::map<std::string, std::string>> ports;
    const std::regex header(R"(^\tPort (\d+):$)"),
        field(R"(^\t\t(Symbol|Name|Minimum|Maximum|Default):\s+(.*)$)");
    int current = -1;
    for (const std::string& line : lines(info)) {
        std::smatch m;
        if (std::regex_match(line, m, header))
            current = std::stoi(m[1]);
        else if (current >= 0 && std::regex_match(line, m, field))
            ports[current][m[1]] = m[2];
    }
    return ports;
}

} // namespace

TEST_F(Lv2Tools, TheSchemasValidatorFindsNoErrorInEitherBundle) {
    for (const BundleCase& bundle : kBundles) {
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(bundle.dir))
            if (entry.path().extension() == ".ttl") files.push_back(entry.path().string());
        ASSERT_GE(files.size(), 3u) << bundle.dir;
        const RunResult result = runProgram("lv2_validate", files);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_NE(result.out.find("Found 0 errors"), std::string::npos) << result.out << result.err;
        for (const std::string& line : lines(result.out + result.err))
            EXPECT_EQ(line.rfind("error", 0), std::string::npos) << line;
    }
}

TEST_F(Lv2Tools, LsListsBothPluginsAndInfoShowsEveryPortWithRangeAndDefault) {
    const RunResult list = runProgram("lv2ls", {});
    ASSERT_EQ(list.exitCode, 0) << list.err;
    for (const BundleCase& bundle : kBundles) {
        EXPECT_NE(("\n" + list.out).find(std::string("\n") + bundle.uri + "\n"), std::string::npos)
            << list.out;
        const RunResult info = runProgram("lv2info", {bundle.uri});
        ASSERT_EQ(info.exitCode, 0) << info.err;
        EXPECT_NE(info.out.find("Name:              " + std::string(bundle.build->productName)),
                  std::string::npos);
        EXPECT_NE(info.out.find("http://lv2plug.in/ns/lv2core#hardRTCapable"), std::string::npos);
        EXPECT_NE(info.out.find("http://lv2plug.in/ns/ext/state#interface"), std::string::npos);
        EXPECT_NE(info.out.find("Tape tone, no hiss"), std::string::npos) << "factory presets listed";
        const auto ports = portsOf(info.out);
        const uint32_t count =
            bundle.editor ? meterPeakPort(*bundle.build) + 1 : parameterPort(bundle.build->parameterCount);
        ASSERT_EQ(ports.size(), count);
        EXPECT_EQ(ports.at(kAudioInLeft).at("Symbol"), "in_l");
        EXPECT_EQ(ports.at(kAudioOutRight).at("Symbol"), "out_r");
        for (int32_t i = 0; i < bundle.build->parameterCount; ++i) {
            const ParameterPort expected = describeParameterPort(*bundle.build, i);
            const auto& port = ports.at(static_cast<int>(parameterPort(i)));
            SCOPED_TRACE(expected.name);
            EXPECT_EQ(port.at("Symbol"), expected.symbol);
            EXPECT_EQ(port.at("Name"), bundle.build->parameters[i].name);
            EXPECT_EQ(std::stof(port.at("Minimum")), expected.minimum);
            EXPECT_EQ(std::stof(port.at("Maximum")), expected.maximum);
            EXPECT_FLOAT_EQ(std::stof(port.at("Default")), expected.defaultValue);
        }
        if (bundle.editor) {
            EXPECT_EQ(ports.at(static_cast<int>(meterLevelPort(*bundle.build))).at("Symbol"),
                      kMeterLevelSymbol);
            EXPECT_EQ(ports.at(static_cast<int>(meterPeakPort(*bundle.build))).at("Symbol"),
                      kMeterPeakSymbol);
        }
    }
}

// lv2info does not print units: the Turtle as sordi reads it gives each port's unit.
TEST_F(Lv2Tools, EveryKnobPortCarriesItsUnit) {
    const std::map<std::string, std::string> expectedUnits = {
        {"trim", "db"},        {"gain", "db"},     {"eq_reclo", "db"}, {"eq_rechi", "db"},
        {"eq_replo", "db"},    {"eq_rephi", "db"}, {"head", "hz"},     {"bump", "pc"},
        {"hiss", "db"},        {"h_room", "db"},   {"hb_att", "db"},   {"meter_level", "coef"},
        {"meter_peak", "coef"}};
    for (const BundleCase& bundle : kBundles) {
        const std::string name = fs::path(bundle.dir).stem().string();
        const RunResult triples = runProgram("sordi", {(fs::path(bundle.dir) / (name + ".ttl")).string()});
        ASSERT_EQ(triples.exitCode, 0) << triples.err;
        std::map<std::string, std::string> symbolOf, unitOf;
        const std::regex symbol(R"re(^(_:\S+) <http://lv2plug.in/ns/lv2core#symbol> "([^"]+)" \.$)re");
        const std::regex unit(
            R"re(^(_:\S+) <http://lv2plug.in/ns/extensions/units#unit> <http://lv2plug.in/ns/extensions/units#(\w+)> \.$)re");
        for (const std::string& line : lines(triples.out)) {
            std::smatch m;
            if (std::regex_match(line, m, symbol)) symbolOf[m[1]] = m[2];
            if (std::regex_match(line, m, unit)) unitOf[m[1]] = m[2];
        }
        std::map<std::string, std::string> units;
        for (const auto& [node, sym] : symbolOf)
            if (unitOf.count(node)) units[sym] = unitOf[node];
        int knobs = 0;
        for (const auto& [sym, want] : expectedUnits) {
            const bool present = bundle.editor || (sym != "h_room" && sym.rfind("meter", 0) != 0);
            if (!present) continue;
            EXPECT_EQ(units[sym], want) << name << " " << sym;
            ++knobs;
        }
        // Switches without a unit of their own: EQ Curve, and the toggles.
        EXPECT_EQ(units.count("eq_curve") + units.count("noise"), 0u);
        EXPECT_EQ(static_cast<int>(units.size()), knobs) << name;
    }
}

// A loud two-tone signal with a low sweep (the head bump) and bursts into the saturation.
double testSignal(long frame, int channel) {
    const double t = frame / 48000.0;
    const double burst = (frame / 6000) % 2 ? 0.95 : 0.3;
    return burst * (0.6 * std::sin(2 * M_PI * (40.0 + 30.0 * t) * t + channel) +
                    0.4 * std::sin(2 * M_PI * (channel ? 3100.0 : 7300.0) * t));
}

// The same settings given to both formats: in units on the command line (Bump's percent of travel as
// the normalised value), as port values to lv2apply.
struct Setting {
    const char* name;
    const char* commandLine;
    const char* symbol;
    const char* portValue;
    bool editorOnly;
    bool normalised = false;
};
const Setting kSettings[] = {
    {"Noise", "off", "noise", "0", false},
    {"Trim", "+9dB", "trim", "9", false},
    {"Gain", "-4.5dB", "gain", "-4.5", false},
    {"EQ Curve", "NAB", "eq_curve", "0", false},
    {"EQ RecLo", "+2.5dB", "eq_reclo", "2.5", false},
    {"EQ RecHi", "+3.5dB", "eq_rechi", "3.5", false},
    {"EQ RepLo", "-1.3dB", "eq_replo", "-1.3", false},
    {"EQ RepHi", "-3.7dB", "eq_rephi", "-3.7", false},
    {"Head", "83.2Hz", "head", "83.2", false},
    {"Bump", "0.615", "bump", "61.5", false, true},
    {"HB Att", "-0.7dB", "hb_att", "-0.7", false},
    {"H.Room", "-14dB", "h_room", "-14", true},
    {"VU Path", "in", "vu_path", "0", true},
    {"VU Hold", "on", "vu_hold", "1", true},
};

TEST_F(Lv2Tools, ApplyThroughEachBundleEqualsTheVstRenderSampleForSample) {
    ScratchDir dir;
    const fs::path input = dir / "input.wav";
    const long frames = 48000;
    writeAudio(input, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 48000, frames, testSignal);
    for (const BundleCase& bundle : kBundles) {
        SCOPED_TRACE(bundle.uri);
        std::vector<std::string> vst = {
            "render",    bundle.vstLibrary, input.string(), (dir / "vst.wav").string(),
            "--subtype", "float",           "--block",      "333"};
        std::vector<std::string> lv2 = {"-i", input.string(), "-o", (dir / "lv2.wav").string()};
        std::vector<std::string> lv2Defaults = {"-i", input.string(), "-o", (dir / "defaults.wav").string(),
                                                "-c", "noise",        "0"};
        for (const Setting& s : kSettings) {
            if (s.editorOnly && !bundle.editor) continue;
            vst.insert(vst.end(), {s.normalised ? "--set-normalised" : "--set",
                                   std::string(s.name) + "=" + s.commandLine});
            lv2.insert(lv2.end(), {"-c", s.symbol, s.portValue});
        }
        lv2.push_back(bundle.uri);
        lv2Defaults.push_back(bundle.uri);
        const RunResult rendered = runVr58(vst);
        ASSERT_EQ(rendered.exitCode, 0) << rendered.err;
        const RunResult applied = runProgram("lv2apply", lv2);
        ASSERT_EQ(applied.exitCode, 0) << applied.err;
        ASSERT_EQ(runProgram("lv2apply", lv2Defaults).exitCode, 0);
        const Audio a = readAudio(dir / "vst.wav");
        const Audio b = readAudio(dir / "lv2.wav");
        const Audio d = readAudio(dir / "defaults.wav");
        ASSERT_EQ(b.info.format & SF_FORMAT_SUBMASK, SF_FORMAT_FLOAT);
        ASSERT_EQ(a.info.frames, frames);
        ASSERT_EQ(b.info.frames, frames);
        long different = 0, changedBySettings = 0;
        for (size_t k = 0; k < a.interleaved.size(); ++k) {
            different += a.interleaved[k] != b.interleaved[k];
            changedBySettings += d.interleaved[k] != b.interleaved[k];
        }
        EXPECT_EQ(different, 0) << "samples that differ";
        EXPECT_GT(changedBySettings, frames) << "the ports changed the sound";
    }
}
