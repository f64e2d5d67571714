// Parsing of the vr58 command line: settings, options in any position, and the refusals.
#include "arguments.h"
#include "cli_error.h"

#include <gtest/gtest.h>

using namespace vr58::tool;

namespace {

std::string refusal(const std::vector<std::string>& args) {
    try {
        parseRenderArguments(args);
    } catch (const CliError& error) {
        return error.what();
    }
    return "accepted";
}

} // namespace

TEST(ParameterSettingParse, NamesMayHoldSpacesAndEqualsSigns) {
    const ParameterSetting curve = parseNormalisedSetting("EQ Curve=0.2");
    EXPECT_EQ(curve.name, "EQ Curve");
    EXPECT_EQ(curve.value, 0.2f);
    EXPECT_FALSE(curve.inUnits());
    EXPECT_EQ(parseParameterSetting("A=B=0.5").name, "A=B");
    EXPECT_EQ(parseNormalisedSetting("Trim=0").value, 0.0f);
    EXPECT_EQ(parseNormalisedSetting("Trim=1").value, 1.0f);
    EXPECT_EQ(parseNormalisedSetting("Trim=1e-1").value, 0.1f);
}

TEST(ParameterSettingParse, NormalisedValuesMustLieIn0To1) {
    for (const char* bad : {"Trim=1.0000001", "Trim=-0.001", "Trim=", "Trim=0.5x", "Trim=inf", "Trim=nan",
                            "Trim=1e999", "=0.5", "Trim", " ", "Trim=+3dB"}) {
        EXPECT_THROW(parseNormalisedSetting(bad), CliError) << bad;
    }
}

// A bare number is in the parameter's unit as much as one with its unit: only the plug-in's table can
// refuse it, so nothing of the form may be lost here.
TEST(ParameterSettingParse, ValuesAreLeftInUnitsForThePluginsTable) {
    for (const char* text : {"Trim=+3dB", "Trim=-6.5 DB", "Head=85Hz", "Head=85", "Gain=0", "Gain=-4.5",
                             "EQ Curve=NAB", "EQ Curve=2", "VU Path=in",
                             "Hiss=\xE2\x88\x92"
                             "66dB"}) {
        const ParameterSetting setting = parseParameterSetting(text);
        EXPECT_TRUE(setting.inUnits()) << text;
        EXPECT_EQ(setting.name + "=" + setting.unitText, text);
    }
    for (const char* bad : {"Trim=3dBFS", "Trim=+3 kHz", "Noise=off!", "Trim=\xE2\x88\x92",
                            "Trim=", "Trim=1e999", "Trim=\xE2\x88\x92-3dB", "=0", "Trim"})
        EXPECT_THROW(parseParameterSetting(bad), CliError) << bad;
}

TEST(RenderArgumentsParse, OptionsStandAnywhereAndTakeInlineValues) {
    const RenderOptions options = parseRenderArguments(
        {"--block=64", "plug.so", "--set-normalised", "Gain=0.25", "in.wav", "--precision", "64", "out.flac",
         "--set-normalised=Trim=1", "--format", "aiff", "--subtype=pcm24"});
    EXPECT_EQ(options.plugin, "plug.so");
    EXPECT_EQ(options.input, "in.wav");
    EXPECT_EQ(options.output, "out.flac");
    EXPECT_EQ(options.blockSize, 64);
    EXPECT_EQ(options.precision, Precision::Double);
    ASSERT_EQ(options.settings.size(), 2u);
    EXPECT_EQ(options.settings[1].name, "Trim");
    EXPECT_EQ(options.format, "aiff");
    EXPECT_EQ(options.subtype, "pcm24");

    const RenderOptions defaults = parseRenderArguments({"p", "i", "o"});
    EXPECT_EQ(defaults.blockSize, 512);
    EXPECT_EQ(defaults.precision, Precision::Single);
    EXPECT_FALSE(defaults.format);
}

TEST(RenderArgumentsParse, RefusalsNameTheirOption) {
    EXPECT_EQ(refusal({"p", "i"}), "render: missing arguments (usage: vr58 render PLUGIN IN OUT [options])");
    EXPECT_EQ(refusal({"p", "i", "o", "x"}), "render: unexpected argument 'x'");
    EXPECT_EQ(refusal({"p", "i", "o", "--block", "-4"}),
              "--block: '-4' is not a block size (a whole number of frames, 1 to 1048576)");
    EXPECT_EQ(refusal({"p", "i", "o", "--block", "1048577"}),
              "--block: '1048577' is not a block size (a whole number of frames, 1 to 1048576)");
    EXPECT_EQ(refusal({"p", "i", "o", "--block", "99999999999999999999"}),
              "--block: '99999999999999999999' is not a block size (a whole number of frames, 1 to 1048576)");
    EXPECT_EQ(refusal({"p", "i", "o", "--precision"}), "--precision: needs a value");
    EXPECT_EQ(refusal({"p", "i", "o", "--subtype", "pcm8"}),
              "--subtype: 'pcm8' is not one of pcm16, pcm24, pcm32, float, double, vorbis");
}

TEST(OtherArgumentsParse, InfoAndDemo) {
    EXPECT_EQ(parseInfoArguments({"x.so"}).plugin, "x.so");
    EXPECT_THROW(parseInfoArguments({}), CliError);
    EXPECT_THROW(parseInfoArguments({"x.so", "--verbose"}), CliError);

    const DemoOptions defaults = parseDemoArguments({});
    EXPECT_EQ(defaults.outputDir, "out/demo");
    EXPECT_FALSE(defaults.pluginDir);
    const DemoOptions chosen = parseDemoArguments({"--plugins", "build/plugins", "renders"});
    EXPECT_EQ(chosen.outputDir, "renders");
    EXPECT_EQ(chosen.pluginDir, "build/plugins");
    EXPECT_THROW(parseDemoArguments({"a", "b"}), CliError);
    EXPECT_THROW(parseDemoArguments({"--plugins"}), CliError);
}
