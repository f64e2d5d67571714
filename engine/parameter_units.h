// The parameters in the user's units, read from their records: for every parameter of both builds
// its unit, the value the tape chain makes of a normalised value (through the chain's own mapping), the
// inverse, and the words of switch positions. The editor's read-out, the vr58 command and other format
// adapters all read values here.
#pragma once

#include "engine/build_config.h"
#include "engine/parameter_records.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vr58 {

// Every call takes `values`, all of the build's current normalised values in index order: a parameter's
// meaning may depend on others (Bump's gain on Head and HB Att, the low shelves on EQ Curve).
class ParameterUnits {
public:
    // The table of one of the two builds (kEditorBuild, kPlainBuild).
    static const ParameterUnits& of(const BuildConfig& build);
    // The build whose parameters carry exactly these names in this order; null for any other plug-in.
    static const ParameterUnits* matching(const std::vector<std::string>& names);

    const BuildConfig& build() const { return build_; }
    int32_t count() const { return build_.parameterCount; }
    int32_t indexOf(std::string_view name) const; // -1 when the build has no such parameter
    const char* name(int32_t index) const;
    const char* unit(int32_t index) const; // "dB", "Hz", or "" for a switch
    bool isSwitch(int32_t index) const;
    // The switch's positions as words, in the order of their normalised values 0 .. 1; empty for a knob.
    std::vector<std::string> positions(int32_t index) const;

    // A knob's value in its unit; a switch's position number.
    double toUnit(int32_t index, const float* values) const;
    // The inverse for a knob, as parse reads a number: the normalised value of `wanted` in its unit,
    // clamped into 0..1; false when `wanted` lies outside the range (or is NaN). Allocates nothing.
    bool fromUnit(int32_t index, double wanted, const float* values, float& normalised) const;
    // A switch's positions: how many (0 for a knob), the normalised value stored for position k, and what
    // the chain makes of it (H.Room's reference level in dB; the position number for the others).
    int32_t positionCount(int32_t index) const;
    float positionValue(int32_t index, int32_t position) const;
    double positionMeaning(int32_t index, int32_t position) const;
    // The value alone ("+3.5 dB", "85 Hz", "IEC", "-18 dB"), one decimal at most, with an ASCII minus or,
    // for text drawn for people, the typographic one (U+2212).
    std::string valueText(int32_t index, const float* values, bool typographicMinus = false) const;
    // Name and value: "Trim +3.5 dB", "EQ Curve IEC", "EQ RecLo +2 dB (acts with NAB only)".
    std::string format(int32_t index, const float* values, bool typographicMinus = false) const;
    // The valid values in units: "-24..+24 dB", "NAB, IEC, AES"; Bump's range names the Head and HB Att
    // it holds for.
    std::string rangeText(int32_t index, const float* values) const;

    struct Parsed {
        bool ok = false;
        float value = 0.0f; // normalised, when ok
        std::string error;  // why not, with the valid values, when not ok
    };
    // A value in units ("+3dB", "-6.5 dB", "85Hz", "-2", "nab", "off", "in", "Output"): a number with the
    // parameter's unit or none, or a position's word (any case); '+', '-' and U+2212 signs.
    Parsed parse(int32_t index, std::string_view text, const float* values) const;

private:
    explicit ParameterUnits(const BuildConfig& build);
    const BuildConfig& build_;
    std::vector<const ParameterRecord*> rows_;
};

} // namespace vr58
