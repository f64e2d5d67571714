// One parameter setting as people write it, "NAME=VALUE", in a --set option or a line of the preset list;
// bad input throws CliError.
#pragma once

#include <string>
#include <vector>

namespace vr58::tool {

struct ParameterSetting {
    std::string name;
    float value = 0.0f;   // normalised, when given as a bare number
    std::string unitText; // the value in units ("+3dB", "85Hz", "off"), resolved against the plug-in
    bool inUnits() const { return !unitText.empty(); }
};

// "NAME=VALUE" with VALUE a number in 0..1 (normalised), or a number with the unit dB or Hz, or a word
// (a switch position): those are in the parameter's units. The name is everything before the last '='.
ParameterSetting parseParameterSetting(const std::string& text);

// The settings of one line of a preset list: only --set options, as "--set VALUE" or "--set=VALUE".
std::vector<ParameterSetting> parseSettingArguments(const std::vector<std::string>& args);

} // namespace vr58::tool
