// LV2 port values against the unit table and the vr58 command: a value in units given to a port reaches
// the chain as the same normalised float that `vr58 --set NAME=VALUE` gives, and a port value made from a
// normalised value comes back to it.
#include "engine/parameter_records.h"
#include "engine/parameter_units.h"
#include "lv2/lv2_ports.h"
#include "lv2/port_description.h"
#include "lv2/short_decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

using namespace vr58;
using namespace vr58::lv2;

namespace {

const BuildConfig* const kBuilds[] = {&kEditorBuild, &kPlainBuild};

std::vector<float> defaultsOf(const BuildConfig& build) {
    std::vector<float> values;
    for (int32_t i = 0; i < build.parameterCount; ++i) values.push_back(build.parameters[i].defaultValue);
    return values;
}

} // namespace

TEST(Lv2Ports, SymbolsAreLowerCaseWordsJoinedAndUniquePerBuild) {
    EXPECT_EQ(portSymbol("EQ RecLo"), "eq_reclo");
    EXPECT_EQ(portSymbol("H.Room"), "h_room");
    EXPECT_EQ(portSymbol("  VU  Hold "), "vu_hold");
    EXPECT_EQ(portSymbol("3 dB"), "p_3_db");
    EXPECT_EQ(portSymbol(""), "p_");
    for (const BuildConfig* build : kBuilds) {
        std::set<std::string> symbols;
        for (int32_t i = 0; i < build->parameterCount; ++i) {
            const std::string symbol = portSymbol(build->parameters[i].name);
            // The parameter table writes each symbol out, so a renamed parameter keeps its port.
            EXPECT_EQ(recordNamed(build->parameters[i].name)->symbol, symbol);
            EXPECT_TRUE(symbols.insert(symbol).second) << symbol;
            for (char c : symbol) EXPECT_TRUE(std::islower(c) || std::isdigit(c) || c == '_') << symbol;
        }
        EXPECT_EQ(meterPeakPort(*build), meterLevelPort(*build) + 1);
        EXPECT_EQ(parameterPort(build->parameterCount - 1) + 1, meterLevelPort(*build));
    }
}

// Every value with up to three decimals across each knob's range, as text and as a port's float.
TEST(Lv2Ports, KnobValuesInUnitsGiveTheNormalisedFloatOfTheCommandLine) {
    for (const BuildConfig* build : kBuilds) {
        const ParameterUnits& units = ParameterUnits::of(*build);
        const std::vector<float> values = defaultsOf(*build);
        for (int32_t i = 0; i < build->parameterCount; ++i) {
            if (units.isSwitch(i)) continue;
            SCOPED_TRACE(build->parameters[i].name);
            if (i == kBump) {
                // Bump's port is its travel in percent; the command takes the same share as 0..1.
                for (int n = 0; n <= 1000; ++n) {
                    char percent[16], share[16];
                    std::snprintf(percent, sizeof percent, "%d.%d", n / 10, n % 10);
                    std::snprintf(share, sizeof share, "%d.%03d", n / 1000, n % 1000);
                    ASSERT_EQ(normalisedOf(*build, i, std::strtof(percent, nullptr)),
                              static_cast<float>(std::strtod(share, nullptr)))
                        << percent;
                }
                continue;
            }
            const double low = units.toUnit(i, std::vector<float>(values.size(), 0.0f).data());
            const double high = units.toUnit(i, std::vector<float>(values.size(), 1.0f).data());
            const long first = std::lround(std::fmin(low, high) * 1000.0);
            const long last = std::lround(std::fmax(low, high) * 1000.0);
            int compared = 0;
            for (long milli = first; milli <= last; milli += (milli % 7 == 0 ? 1 : 3)) {
                char text[32];
                std::snprintf(text, sizeof text, "%s%ld.%03ld", milli < 0 ? "-" : "", std::labs(milli) / 1000,
                              std::labs(milli) % 1000);
                const ParameterUnits::Parsed parsed =
                    units.parse(i, std::string(text) + units.unit(i), values.data());
                ASSERT_TRUE(parsed.ok) << text << ": " << parsed.error;
                ASSERT_EQ(normalisedOf(*build, i, std::strtof(text, nullptr)), parsed.value) << text;
                ++compared;
            }
            EXPECT_GT(compared, 500);
        }
    }
}

TEST(Lv2Ports, PortValuesOfNormalisedValuesComeBackToThemExactly) {
    for (const BuildConfig* build : kBuilds) {
        for (int32_t i = 0; i < build->parameterCount; ++i) {
            SCOPED_TRACE(build->parameters[i].name);
            const float def = build->parameters[i].defaultValue;
            const float port = portValueOf(*build, i, def);
            if (ParameterUnits::of(*build).isSwitch(i)) {
                // H.Room's default lies between its positions: the port gives the position that means
                // the same level, and the adapter keeps the stored value while the meaning holds.
                EXPECT_EQ(portValueOf(*build, i, normalisedOf(*build, i, port)), port);
                continue;
            }
            EXPECT_EQ(normalisedOf(*build, i, port), def);
            // Every step of a thousand and the steps of odd sizes the factory presets use.
            for (int n = 0; n <= 1000; ++n) {
                const float v = static_cast<float>(n) / 1000.0f;
                ASSERT_EQ(normalisedOf(*build, i, portValueOf(*build, i, v)), v) << v;
            }
            for (float v : {0.478f, 0.4167f, 0.8333f, 0.645f, 0.323f, 0.327f, 0.3125f, 0.0625f})
                EXPECT_EQ(normalisedOf(*build, i, portValueOf(*build, i, v)), v) << v;
        }
    }
}

TEST(Lv2Ports, SwitchesTakeTheirPositionsAsTheCommandLineNamesThem) {
    const BuildConfig& build = kEditorBuild;
    const ParameterUnits& units = ParameterUnits::of(build);
    const std::vector<float> values = defaultsOf(build);
    auto commandLine = [&](int32_t index, const char* word) {
        return units.parse(index, word, values.data()).value;
    };
    EXPECT_EQ(normalisedOf(build, kEqCurve, 0.0f), commandLine(kEqCurve, "NAB"));
    EXPECT_EQ(normalisedOf(build, kEqCurve, 1.0f), commandLine(kEqCurve, "IEC"));
    EXPECT_EQ(normalisedOf(build, kEqCurve, 2.0f), commandLine(kEqCurve, "AES"));
    EXPECT_EQ(normalisedOf(build, kEqCurve, 1.4f), commandLine(kEqCurve, "IEC")); // nearest position
    EXPECT_EQ(normalisedOf(build, kEqCurve, 7.0f), commandLine(kEqCurve, "AES"));
    const int32_t room = build.headRoomIndex;
    EXPECT_EQ(normalisedOf(build, room, -12.0f), commandLine(room, "-12dB"));
    EXPECT_EQ(normalisedOf(build, room, -14.0f), commandLine(room, "-14dB"));
    EXPECT_EQ(normalisedOf(build, room, -18.0f), commandLine(room, "-18dB"));
    EXPECT_EQ(normalisedOf(build, room, -20.0f), commandLine(room, "-20dB"));
    EXPECT_EQ(normalisedOf(build, room, -17.0f), commandLine(room, "-18dB"));
    EXPECT_EQ(portValueOf(build, room, 0.625f), -18.0f);
    for (int32_t toggle : {build.vuHoldIndex, build.vuPathIndex, build.noiseIndex}) {
        EXPECT_EQ(normalisedOf(build, toggle, 0.0f), 0.0f);
        EXPECT_EQ(normalisedOf(build, toggle, -1.0f), 0.0f);
        EXPECT_EQ(normalisedOf(build, toggle, 1.0f), 1.0f);
        EXPECT_EQ(normalisedOf(build, toggle, 0.25f), 1.0f); // LV2: a toggle is on above zero
        EXPECT_EQ(portValueOf(build, toggle, 0.51f), 1.0f);
    }
    EXPECT_EQ(portValueOf(build, build.vuHoldIndex, 0.5f), 0.0f); // the chain's own thresholds
    EXPECT_EQ(portValueOf(build, build.vuPathIndex, 0.5f), 0.0f);
    EXPECT_EQ(normalisedOf(build, build.vuPathIndex, 0.0f), commandLine(build.vuPathIndex, "in"));
    EXPECT_EQ(portValueOf(build, build.noiseIndex, 0.0f), 0.0f);
    EXPECT_EQ(portValueOf(build, build.noiseIndex, 0.001f), 1.0f); // hiss is off only at exactly 0
}

TEST(Lv2Ports, ValuesOutsideTheRangeAreClampedAndNaNGivesTheDefault) {
    const BuildConfig& build = kPlainBuild;
    EXPECT_EQ(normalisedOf(build, kTrim, 30.0f), 1.0f);
    EXPECT_EQ(normalisedOf(build, kTrim, -30.0f), 0.0f);
    EXPECT_EQ(normalisedOf(build, kTrim, INFINITY), 1.0f);
    EXPECT_EQ(normalisedOf(build, kTrim, -INFINITY), 0.0f);
    EXPECT_EQ(normalisedOf(build, kTrim, NAN), 0.5f);
    EXPECT_EQ(normalisedOf(build, kBump, 250.0f), 1.0f);
    EXPECT_EQ(normalisedOf(build, kBump, -5.0f), 0.0f);
    EXPECT_EQ(normalisedOf(build, kBump, NAN), 0.0f);
    // HB Att runs downwards: 0 dB at 0, -2 dB at 1.
    EXPECT_EQ(normalisedOf(build, build.hbAttIndex, -2.0f), 1.0f);
    EXPECT_EQ(normalisedOf(build, build.hbAttIndex, 1.0f), 0.0f);
    EXPECT_EQ(normalisedOf(build, build.parameterCount, 1.0f), 0.0f);
    EXPECT_EQ(portValueOf(build, -1, 1.0f), 0.0f);
}

TEST(Lv2Ports, DescriptionsCarryUnitRangeDefaultAndLabelledPositions) {
    const BuildConfig& build = kEditorBuild;
    const ParameterPort trim = describeParameterPort(build, kTrim);
    EXPECT_EQ(trim.symbol, "trim");
    EXPECT_EQ(trim.unit, PortUnit::Decibel);
    EXPECT_EQ(trim.minimum, -24.0f);
    EXPECT_EQ(trim.maximum, 24.0f);
    EXPECT_EQ(trim.defaultValue, 0.0f);
    const ParameterPort head = describeParameterPort(build, kHead);
    EXPECT_EQ(head.unit, PortUnit::Hertz);
    EXPECT_EQ(head.minimum, 65.0f);
    EXPECT_EQ(head.maximum, 105.0f);
    const ParameterPort bump = describeParameterPort(build, kBump);
    EXPECT_EQ(bump.unit, PortUnit::Percent);
    EXPECT_EQ(bump.maximum, 100.0f);
    const ParameterPort hbAtt = describeParameterPort(build, build.hbAttIndex);
    EXPECT_EQ(hbAtt.minimum, -2.0f);
    EXPECT_EQ(hbAtt.maximum, 0.0f);
    EXPECT_EQ(hbAtt.defaultValue, -2.0f);
    const ParameterPort curve = describeParameterPort(build, kEqCurve);
    EXPECT_TRUE(curve.enumeration && curve.integer && !curve.toggled);
    ASSERT_EQ(curve.scalePoints.size(), 3u);
    EXPECT_EQ(curve.scalePoints[2].label, "AES");
    EXPECT_EQ(curve.scalePoints[2].value, 2.0f);
    EXPECT_EQ(curve.defaultValue, 1.0f);
    const ParameterPort room = describeParameterPort(build, build.headRoomIndex);
    EXPECT_TRUE(room.enumeration);
    EXPECT_EQ(room.unit, PortUnit::Decibel);
    EXPECT_EQ(room.minimum, -20.0f);
    EXPECT_EQ(room.maximum, -12.0f);
    EXPECT_EQ(room.defaultValue, -18.0f);
    ASSERT_EQ(room.scalePoints.size(), 4u);
    EXPECT_EQ(room.scalePoints[1].value, -14.0f);
    EXPECT_EQ(room.scalePoints[1].label, "-14 dB");
    const ParameterPort noise = describeParameterPort(build, build.noiseIndex);
    EXPECT_TRUE(noise.toggled && !noise.enumeration);
    EXPECT_EQ(noise.defaultValue, 1.0f);
    const ParameterPort path = describeParameterPort(build, build.vuPathIndex);
    ASSERT_EQ(path.scalePoints.size(), 2u);
    EXPECT_EQ(path.scalePoints[0].label, "Input");
}

TEST(Lv2Ports, DecimalTextIsTheShortestThatReadsBackAsTheFloat) {
    EXPECT_EQ(decimalText(-1.056f), "-1.056");
    EXPECT_EQ(decimalText(65.0f), "65.0");
    EXPECT_EQ(decimalText(0.1f), "0.1");
    EXPECT_EQ(decimalText(-0.5f), "-0.5");
    EXPECT_EQ(decimalText(0.0f), "0.0");
    EXPECT_EQ(decimalText(0.0625f), "0.0625");
    for (float v : {0.478f, -23.999f, 3.14159274f, 1e-7f, 99.9f})
        EXPECT_EQ(std::strtof(decimalText(v).c_str(), nullptr), v) << decimalText(v);
}
