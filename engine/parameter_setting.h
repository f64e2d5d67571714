// One parameter setting as people write it, "NAME=VALUE", in a --set option or a line of the preset list;
// bad input throws UsageError.
#pragma once

#include <string>
#include <vector>

namespace vr58::tool {

struct ParameterSetting {
    std::string name;
    float value = 0.0f; // the normalised value 0..1 the host sees, when given with --set-normalised
    // The value in units ("0", "+3dB", "85Hz", "off", "2"), resolved against the plug-in.
    std::string unitText;
    bool inUnits() const { return !unitText.empty(); }
};

// --set "NAME=VALUE": VALUE in the parameter's units, a number with or without its unit (dB, Hz) or a
// switch's word or position number; the plug-in's table decides whether it names a value. The name is
// everything before the last '='.
ParameterSetting parseParameterSetting(const std::string& text);
// --set-normalised "NAME=VALUE": VALUE is the normalised value in 0..1.
ParameterSetting parseNormalisedSetting(const std::string& text);

// The settings of one line of a preset list: only --set and --set-normalised options, as "--set VALUE"
// or "--set=VALUE".
std::vector<ParameterSetting> parseSettingArguments(const std::vector<std::string>& args);

} // namespace vr58::tool
