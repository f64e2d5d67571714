// The table of units: round trips for every parameter of both builds, the chain's own numbers at the
// edges where its meaning changes, and refusals that say what is valid.
#include "engine/parameter_units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using namespace vr58;

namespace {

const BuildConfig* const kBuilds[] = {&kEditorBuild, &kPlainBuild};

std::vector<float> defaultsOf(const BuildConfig& build) {
    std::vector<float> values;
    for (int32_t i = 0; i < build.parameterCount; ++i) values.push_back(build.parameters[i].defaultValue);
    return values;
}

// Normalised values that reach both ends, the switch thresholds and values in between.
const float kGrid[] = {0.0f, 0.01f, 0.2499f,    0.25f, 1.0f / 3.0f, 0.37f,
                       0.5f, 0.51f, 0.6666666f, 0.75f, 0.9f,        1.0f};

} // namespace

TEST(ParameterUnits, EveryParameterOfBothBuildsRoundTrips) {
    for (const BuildConfig* build : kBuilds) {
        const ParameterUnits& units = ParameterUnits::of(*build);
        ASSERT_EQ(units.count(), build->parameterCount);
        for (int32_t i = 0; i < units.count(); ++i) {
            SCOPED_TRACE(std::string(build->productName) + " " + build->parameters[i].name);
            EXPECT_STREQ(units.name(i), build->parameters[i].name);
            EXPECT_EQ(units.indexOf(build->parameters[i].name), i);
            // A knob's unit is the label hosts show beside it.
            if (!units.isSwitch(i)) {
                EXPECT_STREQ(units.unit(i), build->parameters[i].label);
            }
            for (float context : {0.0f, 0.5f, 1.0f}) {
                std::vector<float> values(units.count(), context);
                for (float v : kGrid) {
                    values[i] = v;
                    const std::string text = units.valueText(i, values.data());
                    const ParameterUnits::Parsed parsed = units.parse(i, text, values.data());
                    ASSERT_TRUE(parsed.ok) << text << ": " << parsed.error;
                    std::vector<float> back = values;
                    back[i] = parsed.value;
                    EXPECT_EQ(units.valueText(i, back.data()), text) << "from " << v;
                    if (units.isSwitch(i)) continue;
                    // The exact unit value comes back to the same normalised value.
                    const std::string exact = std::to_string(units.toUnit(i, values.data()));
                    const ParameterUnits::Parsed precise = units.parse(i, exact, values.data());
                    ASSERT_TRUE(precise.ok) << exact << ": " << precise.error;
                    EXPECT_NEAR(precise.value, v, 2e-6f) << exact;
                }
            }
            // Every word of a switch selects its own position.
            const std::vector<std::string> words = units.positions(i);
            std::vector<float> values = defaultsOf(*build);
            for (size_t k = 0; k < words.size(); ++k) {
                const ParameterUnits::Parsed parsed = units.parse(i, words[k], values.data());
                ASSERT_TRUE(parsed.ok) << words[k];
                values[i] = parsed.value;
                EXPECT_EQ(units.toUnit(i, values.data()), static_cast<double>(k)) << words[k];
            }
        }
    }
}

TEST(ParameterUnits, DefaultsReadAsTheChainAtItsDefaults) {
    // Trim and Gain 0 dB, flat IEC equalisers, hiss -66 dB and on, a +2 dB bump at 65 Hz, the meter on
    // the output with reference -18 dB and hold off.
    const std::vector<std::string> editor = {"Trim 0 dB",      "Gain 0 dB",
                                             "EQ Curve IEC",   "EQ RecLo 0 dB (acts with NAB only)",
                                             "EQ RecHi 0 dB",  "EQ RepLo 0 dB (acts with NAB only)",
                                             "EQ RepHi 0 dB",  "Head 65 Hz",
                                             "Bump +2 dB",     "Hiss -66 dB",
                                             "H.Room -18 dB",  "VU Hold Off",
                                             "VU Path Output", "HB Att -2 dB",
                                             "Noise On"};
    for (const BuildConfig* build : kBuilds) {
        const ParameterUnits& units = ParameterUnits::of(*build);
        const std::vector<float> values = defaultsOf(*build);
        for (int32_t i = 0; i < units.count(); ++i) {
            const auto expected = std::find_if(editor.begin(), editor.end(), [&](const std::string& text) {
                return text.rfind(std::string(units.name(i)) + " ", 0) == 0;
            });
            ASSERT_NE(expected, editor.end()) << units.name(i);
            EXPECT_EQ(units.format(i, values.data()), *expected);
        }
    }
}

TEST(ParameterUnits, SwitchesChangeWhereTheChainDoes) {
    const ParameterUnits& units = ParameterUnits::of(kEditorBuild);
    std::vector<float> values = defaultsOf(kEditorBuild);
    const auto text = [&](const char* name, float value) {
        const int32_t index = units.indexOf(name);
        values[index] = value;
        return units.valueText(index, values.data());
    };
    EXPECT_EQ(text("EQ Curve", std::nextafter(0.3333333432674408f, 0.0f)), "NAB");
    EXPECT_EQ(text("EQ Curve", 0.3333333432674408f), "IEC");
    EXPECT_EQ(text("EQ Curve", 0.6666666269302368f), "IEC");
    EXPECT_EQ(text("EQ Curve", 0.6666666865348816f), "AES");
    EXPECT_EQ(text("H.Room", 0.2499f), "-12 dB");
    EXPECT_EQ(text("H.Room", 0.25f), "-14 dB");
    EXPECT_EQ(text("H.Room", 0.5f), "-18 dB");
    EXPECT_EQ(text("H.Room", 0.75f), "-20 dB");
    EXPECT_EQ(text("Noise", 0.0f), "Off");
    EXPECT_EQ(text("Noise", 1e-30f), "On"); // off only at exactly 0
    EXPECT_EQ(text("VU Path", 0.5f), "Input");
    EXPECT_EQ(text("VU Path", std::nextafter(0.5f, 1.0f)), "Output");
    EXPECT_EQ(text("VU Hold", 0.5f), "Off");
    // The bump's gain follows Head and HB Att: from +1 dB at 105 Hz to +8 dB at 65 Hz.
    text("Head", 1.0f);
    text("HB Att", 1.0f);
    EXPECT_EQ(text("Bump", 0.0f), "+1 dB");
    EXPECT_EQ(text("Head", 1.0f), "105 Hz");
    text("Head", 0.0f);
    text("HB Att", 0.0f);
    EXPECT_EQ(text("Bump", 1.0f), "+8 dB");
    // The low shelves act in the NAB position only.
    text("EQ Curve", 0.0f);
    EXPECT_EQ(units.format(units.indexOf("EQ RecLo"), values.data()), "EQ RecLo 0 dB");
    EXPECT_EQ(text("EQ RepLo", 1.0f), "+10 dB");
    values[units.indexOf("Trim")] = 0.0f;
    EXPECT_EQ(units.format(units.indexOf("Trim"), values.data(), true), "Trim \xE2\x88\x92"
                                                                        "24 dB");
}

TEST(ParameterUnits, UnitFormsAndRefusals) {
    const ParameterUnits& units = ParameterUnits::of(kPlainBuild);
    std::vector<float> values = defaultsOf(kPlainBuild);
    const auto parse = [&](const char* name, const char* text) {
        return units.parse(units.indexOf(name), text, values.data());
    };
    EXPECT_EQ(parse("Trim", "+3dB").value, 27.0f / 48.0f);
    EXPECT_EQ(parse("Trim", "-6.5 DB").value, 17.5f / 48.0f);
    EXPECT_EQ(parse("Trim", "\xE2\x88\x92"
                            "24dB")
                  .value,
              0.0f);
    EXPECT_EQ(parse("Head", "85Hz").value, 0.5f);
    EXPECT_EQ(parse("Hiss", "-36").value, 1.0f);
    EXPECT_EQ(parse("EQ Curve", "nab").value, 0.0f);
    EXPECT_EQ(parse("EQ Curve", "AES").value, 1.0f);
    EXPECT_EQ(parse("Noise", "off").value, 0.0f);
    EXPECT_EQ(parse("HB Att", "-1dB").value, 0.5f);
    const ParameterUnits::Parsed high = parse("Trim", "+30dB");
    EXPECT_FALSE(high.ok);
    EXPECT_EQ(high.error, "+30 dB is outside the range of Trim, -24..+24 dB");
    EXPECT_EQ(parse("Head", "3dB").error, "'3dB' is not a value of Head in Hz (65..105 Hz)");
    EXPECT_EQ(parse("EQ Curve", "CCIR").error, "'CCIR' is not a position of EQ Curve (NAB, IEC, AES)");
    // Bump's range is that of the current Head and HB Att.
    EXPECT_EQ(parse("Bump", "+9dB").error,
              "+9 dB is outside the range of Bump, +2..+6 dB with Head 65 Hz and HB Att -2 dB");
    values[units.indexOf("HB Att")] = 0.0f;
    EXPECT_TRUE(parse("Bump", "+8dB").ok);
    EXPECT_EQ(ParameterUnits::of(kEditorBuild).parse(10, "-14dB", defaultsOf(kEditorBuild).data()).value,
              1.0f / 3.0f);
}

TEST(ParameterUnits, FindsTheBuildByItsParameterNames) {
    for (const BuildConfig* build : kBuilds) {
        std::vector<std::string> names;
        for (int32_t i = 0; i < build->parameterCount; ++i) names.push_back(build->parameters[i].name);
        ASSERT_NE(ParameterUnits::matching(names), nullptr);
        EXPECT_EQ(&ParameterUnits::matching(names)->build(), build);
        names.back() = "Wow";
        EXPECT_EQ(ParameterUnits::matching(names), nullptr);
    }
    EXPECT_EQ(ParameterUnits::matching({"Gain"}), nullptr);
}
