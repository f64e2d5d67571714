#include "lv2/short_decimal.h"

#include <cmath>
#include <cstdio>

namespace vr58::lv2 {

namespace {
// Powers of ten up to 10^22 are exact doubles, so one division by them rounds correctly.
double powerOfTen(int32_t n) {
    double p = 1.0;
    for (int32_t i = 0; i < n; ++i) p *= 10.0;
    return p;
}
} // namespace

ShortDecimal shortDecimalOf(float value) {
    ShortDecimal out;
    if (!std::isfinite(value)) return out;
    for (int32_t decimals = 0; decimals <= 9; ++decimals) {
        // A float has 24 significant bits and 10^9 fewer than 30: the product is exact in a double.
        const double scaled = std::nearbyint(static_cast<double>(value) * powerOfTen(decimals));
        if (std::fabs(scaled) > 9007199254740992.0) break; // beyond 2^53 the digits are no longer exact
        if (static_cast<float>(scaled / powerOfTen(decimals)) == value) {
            out.digits = static_cast<int64_t>(scaled);
            out.decimals = decimals;
            out.exact = true;
            return out;
        }
    }
    return out;
}

double decimalValue(const ShortDecimal& decimal, float value, int32_t shift) {
    if (!decimal.exact) return static_cast<double>(value) / powerOfTen(shift);
    return static_cast<double>(decimal.digits) / powerOfTen(decimal.decimals + shift);
}

std::string decimalText(float value) {
    const ShortDecimal d = shortDecimalOf(value);
    char text[64];
    if (!d.exact) {
        std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
        return text;
    }
    const int64_t magnitude = d.digits < 0 ? -d.digits : d.digits;
    int64_t scale = 1;
    for (int32_t i = 0; i < d.decimals; ++i) scale *= 10;
    std::string fraction = std::to_string(magnitude % scale);
    const size_t places = d.decimals > 0 ? static_cast<size_t>(d.decimals) : 1;
    fraction.insert(0, places - fraction.size(), '0');
    return (d.digits < 0 ? "-" : "") + std::to_string(magnitude / scale) + "." + fraction;
}

} // namespace vr58::lv2
