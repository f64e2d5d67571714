// What a bundle's Turtle says of each parameter port: symbol, name, unit, range, default, and for switches
// their labelled positions. Read from the parameter and unit tables, so the description cannot drift from
// what the adapter does with a port value.
#pragma once

#include "engine/build_config.h"

#include <string>
#include <vector>

namespace vr58::lv2 {

struct ScalePoint {
    float value;
    std::string label;
};

enum class PortUnit { None, Decibel, Hertz, Percent };

struct ParameterPort {
    std::string symbol;
    std::string name;
    PortUnit unit = PortUnit::None;
    float minimum = 0.0f, maximum = 1.0f, defaultValue = 0.0f;
    bool toggled = false;     // two positions, 0 off and 1 on
    bool enumeration = false; // more positions, each a scale point
    bool integer = false;
    std::vector<ScalePoint> scalePoints; // every position of a switch, labelled with its word
    std::string comment;                 // what a host's user should know beyond name and unit
};

ParameterPort describeParameterPort(const BuildConfig& build, int32_t parameterIndex);

} // namespace vr58::lv2
