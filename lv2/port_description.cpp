#include "lv2/port_description.h"

#include "engine/parameter_units.h"
#include "lv2/lv2_ports.h"

#include <algorithm>
#include <string_view>

namespace vr58::lv2 {

ParameterPort describeParameterPort(const BuildConfig& build, int32_t index) {
    const ParameterUnits& units = ParameterUnits::of(build);
    const ParameterDefinition& definition = build.parameters[index];
    ParameterPort port;
    port.symbol = portSymbol(definition.name);
    port.name = definition.name;
    port.defaultValue = portValueOf(build, index, definition.defaultValue);
    const float low = portValueOf(build, index, 0.0f);
    const float high = portValueOf(build, index, 1.0f);
    port.minimum = std::min(low, high);
    port.maximum = std::max(low, high);
    const std::string_view unit = units.unit(index);
    const std::string_view name = definition.name;
    if (units.isSwitch(index)) {
        const std::vector<std::string> words = units.positions(index);
        for (int32_t k = 0; k < units.positionCount(index); ++k)
            port.scalePoints.push_back({static_cast<float>(units.positionMeaning(index, k)), words[k]});
        port.integer = true;
        port.toggled = port.scalePoints.size() == 2 && port.minimum == 0.0f && port.maximum == 1.0f;
        port.enumeration = !port.toggled;
        if (name == "H.Room") {
            port.unit = PortUnit::Decibel;
            port.comment = "The VU meter's reference: the level in dBFS that reads 0 VU.";
        }
        return port;
    }
    if (name == "Bump") {
        port.unit = PortUnit::Percent;
        port.comment = "The head bump's share of its travel; its gain in dB grows as Head goes down and "
                       "shrinks with HB Att.";
    } else {
        port.unit = unit == "Hz" ? PortUnit::Hertz : PortUnit::Decibel;
    }
    if (name == "EQ RecLo" || name == "EQ RepLo") port.comment = "Acts with the NAB curve only.";
    if (name == "Head") port.comment = "The centre of the head bump: 65 Hz for slow tape, 105 Hz for fast.";
    return port;
}

} // namespace vr58::lv2
