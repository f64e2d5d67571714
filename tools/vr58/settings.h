// Settings resolved against a parameter table: names in any case, values in units turned into the
// normalised values the host sees, all settings read as a whole so their order never matters.
#pragma once

#include "arguments.h"
#include "effect/parameter_units.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vr58::tool {

struct ResolvedSetting {
    int32_t index;
    float value; // normalised
};

// The index of the parameter called name: the exact name, else the same ignoring case; -1 when none.
int32_t findParameterByName(const std::vector<std::string>& names, const std::string& name);

// Resolves settings for the parameters `names` whose normalised values are `values` now. Values in units
// need `units` (null: only normalised settings are possible) and are read against the values all the
// settings give together (Bump's dB depend on Head and HB Att wherever those stand in the list); the last
// setting of a parameter wins. Throws CliError naming the option and the reason before anything changes.
std::vector<ResolvedSetting> resolveSettingList(const std::vector<std::string>& names,
                                                const ParameterUnits* units, std::vector<float> values,
                                                const std::vector<ParameterSetting>& settings);

// The settings as the parameters' names and values in units ("Trim +3 dB"), read for a build from its
// defaults; throws CliError as resolveSettingList does.
std::vector<std::string> describeSettings(const BuildConfig& build,
                                          const std::vector<ParameterSetting>& settings);

} // namespace vr58::tool
