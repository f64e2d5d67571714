#include "lv2/lv2_ports.h"

#include "engine/parameter_records.h"
#include "engine/parameter_units.h"
#include "lv2/short_decimal.h"

#include <cctype>
#include <cmath>
#include <cstring>

namespace vr58::lv2 {

namespace {

// Bump's port is the share of its travel in percent: its gain in dB follows Head and HB Att, so a value
// in dB would mean another setting whenever those move, in automation and presets alike.
bool isPercentPort(const BuildConfig& build, int32_t index) {
    return recordNamed(build.parameters[index].name)->portScale == PortScale::Percent;
}

// The other parameters' values every mapping is read with. Only Bump's dB depend on others, and its port
// is not in dB, so the defaults serve.
struct Context {
    float values[32];
    explicit Context(const BuildConfig& build) {
        for (int32_t i = 0; i < build.parameterCount; ++i) values[i] = build.parameters[i].defaultValue;
    }
};

// The value a port holds for a normalised value, without the search for a neighbour that comes back.
float directPortValue(const BuildConfig& build, int32_t index, float normalised) {
    const ParameterUnits& units = ParameterUnits::of(build);
    Context context(build);
    context.values[index] = normalised;
    if (isPercentPort(build, index)) return static_cast<float>(static_cast<double>(normalised) * 100.0);
    if (units.isSwitch(index))
        return static_cast<float>(
            units.positionMeaning(index, static_cast<int32_t>(units.toUnit(index, context.values))));
    // The straight line through the map's ends in double, the exact inverse of how a value in units is
    // read back: the chain's own single-precision map gives neighbouring normalised values one value.
    context.values[index] = 0.0f;
    const double low = units.toUnit(index, context.values);
    context.values[index] = 1.0f;
    const double high = units.toUnit(index, context.values);
    return static_cast<float>(low + static_cast<double>(normalised) * (high - low));
}

} // namespace

std::string portSymbol(const char* parameterName) {
    std::string symbol;
    bool pendingSeparator = false;
    for (const char* c = parameterName; *c; ++c) {
        const auto ch = static_cast<unsigned char>(*c);
        if (std::isalnum(ch)) {
            if (pendingSeparator && !symbol.empty()) symbol += '_';
            pendingSeparator = false;
            symbol += static_cast<char>(std::tolower(ch));
        } else {
            pendingSeparator = true;
        }
    }
    // A symbol may not start with a digit.
    if (symbol.empty() || std::isdigit(static_cast<unsigned char>(symbol[0]))) symbol.insert(0, "p_");
    return symbol;
}

float portValueOf(const BuildConfig& build, int32_t parameterIndex, float normalised) {
    if (parameterIndex < 0 || parameterIndex >= build.parameterCount) return 0.0f;
    const float value = directPortValue(build, parameterIndex, normalised);
    if (ParameterUnits::of(build).isSwitch(parameterIndex)) return value;
    // A port value the host stores and hands back must give the chain the same normalised value again:
    // where the nearest float in units does not, a neighbour a few steps away does.
    float up = value, down = value;
    for (int step = 0; step < 64; ++step) {
        if (normalisedOf(build, parameterIndex, up) == normalised) return up;
        if (normalisedOf(build, parameterIndex, down) == normalised) return down;
        up = std::nextafter(up, INFINITY);
        down = std::nextafter(down, -INFINITY);
    }
    return value;
}

float normalisedOf(const BuildConfig& build, int32_t parameterIndex, float portValue) {
    if (parameterIndex < 0 || parameterIndex >= build.parameterCount) return 0.0f;
    const ParameterUnits& units = ParameterUnits::of(build);
    if (std::isnan(portValue)) return build.parameters[parameterIndex].defaultValue;
    if (units.isSwitch(parameterIndex)) {
        const int32_t count = units.positionCount(parameterIndex);
        // A toggle is on above zero, as LV2 defines toggles; an enumeration takes the nearest scale point.
        if (count == 2 && units.positionMeaning(parameterIndex, 0) == 0.0)
            return units.positionValue(parameterIndex, portValue > 0.0f ? 1 : 0);
        int32_t nearest = 0;
        for (int32_t k = 1; k < count; ++k)
            if (std::fabs(units.positionMeaning(parameterIndex, k) - portValue) <
                std::fabs(units.positionMeaning(parameterIndex, nearest) - portValue))
                nearest = k;
        return units.positionValue(parameterIndex, nearest);
    }
    // The port's float read as the decimal it prints as, so that the same value typed as text in units
    // (vr58 --set) becomes the same double and therefore the same normalised float.
    const ShortDecimal decimal = shortDecimalOf(portValue);
    if (isPercentPort(build, parameterIndex)) {
        const double share =
            std::isinf(portValue) ? (portValue > 0 ? 1.0 : 0.0) : decimalValue(decimal, portValue, 2);
        return share > 1.0 ? 1.0f : (share >= 0.0 ? static_cast<float>(share) : 0.0f);
    }
    const double wanted =
        std::isinf(portValue) ? static_cast<double>(portValue) : decimalValue(decimal, portValue);
    Context context(build);
    float normalised = 0.0f;
    units.fromUnit(parameterIndex, wanted, context.values, normalised); // out of range: clamped to its end
    return normalised;
}

} // namespace vr58::lv2
