#include "lv2/port_description.h"

#include "engine/parameter_records.h"
#include "engine/parameter_units.h"
#include "lv2/lv2_ports.h"

#include <algorithm>
#include <string_view>

namespace vr58::lv2 {

ParameterPort describeParameterPort(const BuildConfig& build, int32_t index) {
    const ParameterUnits& units = ParameterUnits::of(build);
    const ParameterDefinition& definition = build.parameters[index];
    const ParameterRecord& spec = *recordNamed(definition.name);
    ParameterPort port;
    port.symbol = spec.symbol;
    port.name = definition.name;
    port.defaultValue = portValueOf(build, index, definition.defaultValue);
    const float low = portValueOf(build, index, 0.0f);
    const float high = portValueOf(build, index, 1.0f);
    port.minimum = std::min(low, high);
    port.maximum = std::max(low, high);
    if (spec.portComment) port.comment = spec.portComment;
    if (units.isSwitch(index)) {
        const std::vector<std::string> words = units.positions(index);
        for (int32_t k = 0; k < units.positionCount(index); ++k)
            port.scalePoints.push_back({static_cast<float>(units.positionMeaning(index, k)), words[k]});
        port.integer = true;
        port.toggled = port.scalePoints.size() == 2 && port.minimum == 0.0f && port.maximum == 1.0f;
        port.enumeration = !port.toggled;
        // A switch whose positions are levels (H.Room) carries their unit.
        if (std::string_view(spec.label) == "dB") port.unit = PortUnit::Decibel;
        return port;
    }
    if (spec.portScale == PortScale::Percent)
        port.unit = PortUnit::Percent;
    else
        port.unit = std::string_view(units.unit(index)) == "Hz" ? PortUnit::Hertz : PortUnit::Decibel;
    return port;
}

} // namespace vr58::lv2
