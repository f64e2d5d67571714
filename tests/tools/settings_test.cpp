// Settings resolved against a build's parameter table: values in units of every kind, names in any case,
// the list read as a whole, and the factory presets, which must keep the values they always had.
#include "cli_error.h"
#include "preset_list.h"
#include "settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace vr58;
using namespace vr58::tool;

namespace {

struct Table {
    explicit Table(const BuildConfig& build) : units(ParameterUnits::of(build)) {
        for (int32_t i = 0; i < build.parameterCount; ++i) {
            names.push_back(build.parameters[i].name);
            defaults.push_back(build.parameters[i].defaultValue);
        }
    }
    // Every parameter's value after the settings, from the defaults.
    std::vector<float> values(const std::vector<ParameterSetting>& settings) const {
        std::vector<float> result = defaults;
        for (const ResolvedSetting& s : resolveSettingList(names, &units, defaults, settings))
            result[static_cast<size_t>(s.index)] = s.value;
        return result;
    }
    float value(const std::vector<std::string>& texts, const std::string& name) const {
        std::vector<ParameterSetting> settings;
        for (const std::string& text : texts) settings.push_back(parseParameterSetting(text));
        return values(settings)[static_cast<size_t>(findParameterByName(names, name))];
    }
    const ParameterUnits& units;
    std::vector<std::string> names;
    std::vector<float> defaults;
};

} // namespace

TEST(SettingList, BareNumbersAreInTheUnitsInfoShows) {
    const Table table(kEditorBuild);
    EXPECT_EQ(table.value({"Gain=0"}, "Gain"), 0.5f);
    EXPECT_EQ(table.value({"Trim=-24"}, "Trim"), 0.0f);
    EXPECT_EQ(table.value({"Head=85"}, "Head"), table.value({"Head=85Hz"}, "Head"));
    EXPECT_EQ(table.value({"Head=85"}, "Head"), 0.5f);
    EXPECT_EQ(table.value({"Hiss=-96"}, "Hiss"), 0.0f);
    // Switches by word or by the number of their position; H.Room's numbers are its levels.
    EXPECT_EQ(table.value({"EQ Curve=2"}, "EQ Curve"), table.value({"EQ Curve=aes"}, "EQ Curve"));
    EXPECT_EQ(table.value({"EQ Curve=0"}, "EQ Curve"), 0.0f);
    EXPECT_EQ(table.value({"Noise=0"}, "Noise"), 0.0f);
    EXPECT_EQ(table.value({"VU Path=0"}, "VU Path"), table.value({"VU Path=in"}, "VU Path"));
    EXPECT_EQ(table.value({"H.Room=-12"}, "H.Room"), 0.0f);
    for (const char* bad : {"H.Room=0", "EQ Curve=3", "Noise=-1", "Gain=25"})
        EXPECT_THROW(table.value({bad}, "Gain"), CliError) << bad;
    // A range that falls reads its 0 as +0, as the state keeps it.
    const float hbAtt = table.value({"HB Att=0dB"}, "HB Att");
    EXPECT_EQ(std::signbit(hbAtt), false);
}

TEST(SettingList, NamesInAnyCaseAndTheOrderNeverMatters) {
    const Table table(kPlainBuild);
    EXPECT_EQ(table.value({"trim=+6dB"}, "Trim"), table.value({"Trim=+6dB"}, "Trim"));
    EXPECT_EQ(table.value({"hb att=0dB", "BUMP=+8dB"}, "Bump"), 1.0f);
    EXPECT_EQ(table.value({"Bump=+8dB", "HB Att=0dB"}, "Bump"), 1.0f);
    EXPECT_EQ(table.values({parseParameterSetting("Head=105Hz"), parseParameterSetting("Bump=+2dB")}),
              table.values({parseParameterSetting("Bump=+2dB"), parseParameterSetting("Head=105Hz")}));
    // The last setting of a parameter wins, in units or normalised.
    EXPECT_EQ(table.values({parseParameterSetting("Gain=+6dB"), parseNormalisedSetting("Gain=0.25")}),
              table.values({parseNormalisedSetting("Gain=0.25")}));
    EXPECT_THROW(table.value({"Gian=0"}, "Gain"), CliError);
}

TEST(SettingList, FactoryPresetsInUnitsKeepTheirNormalisedValuesToTheBit) {
    const std::vector<PresetEntry> before =
        readPresetList(VR58_TOOL_TEST_DATA "/factory-presets-normalised.txt");
    const std::vector<PresetEntry>& now = factoryPresets();
    ASSERT_EQ(now.size(), before.size());
    for (const BuildConfig* build : {&kEditorBuild, &kPlainBuild}) {
        const Table table(*build);
        for (size_t p = 0; p < now.size(); ++p) {
            ASSERT_EQ(now[p].name, before[p].name);
            for (const ParameterSetting& setting : now[p].settings)
                EXPECT_TRUE(setting.inUnits()) << now[p].name;
            const std::vector<float> a = table.values(now[p].settings);
            const std::vector<float> b = table.values(before[p].settings);
            EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(float)), 0) << now[p].name;
        }
    }
}
