// A float read as the shortest decimal that gives it back, the way people and Turtle files write it
// ("-1.056", not "-1.05599999"), and that decimal as the double strtod would make of its text.
#pragma once

#include <cstdint>
#include <string>

namespace vr58::lv2 {

struct ShortDecimal {
    int64_t digits = 0;   // the value is digits / 10^decimals
    int32_t decimals = 0; // 0..9
    bool exact = false;   // false: no decimal of at most nine places gives the float back (or not finite)
};

ShortDecimal shortDecimalOf(float value);
// digits / 10^(decimals + shift), correctly rounded, as strtod reads the decimal's text. Falls back to the
// float itself when the decimal is not exact.
double decimalValue(const ShortDecimal& decimal, float value, int32_t shift = 0);
// "-1.056", "0.0", "65.0": always with a decimal point, so Turtle reads a decimal, not an integer.
std::string decimalText(float value);

} // namespace vr58::lv2
