// Every parameter of both builds, each written once: what hosts and people call it, its LV2 port, its unit
// and how the chain's own mapping turns a normalised value into it, its default, a switch's positions and
// their words, and where each build keeps it. The builds' tables, the units, the LV2 description, the
// skin generator's data and the manual's table all come from here.
#pragma once

#include "tape/parameter_mapping.h"

#include <cstdint>
#include <iterator>

namespace vr58 {

// The values other parameters' meanings depend on.
struct UnitContext {
    float eqCurve, head, bump, hbAtt;
};

// A knob's value in its unit; what the chain makes of a switch's value (equal results, one position).
using KnobMap = double (*)(float value, const UnitContext& context);
using SwitchMap = double (*)(float value);

// How an LV2 host sees the port: the parameter's unit, or (Bump) the share of its travel in percent.
enum class PortScale : uint8_t { Unit, Percent };

inline constexpr int32_t kMaxPositions = 4;

struct ParameterSpecification {
    const char* name;   // hosts' parameter name; also the preset list's and the read-out's
    const char* symbol; // LV2 port symbol, saved in users' sessions: never change it
    const char* label;  // VST 2.4 hosts' label beside the value
    const char* unit;   // "dB" or "Hz"; null for a switch
    KnobMap knob;       // a knob's unit; null for a switch
    SwitchMap meaning;  // a switch's meaning; null for a knob
    float defaultValue; // normalised
    // A switch's positions, in the order of their normalised values 0 .. 1, spread evenly; for a knob the
    // positions of the switch the face shows it with (0 for a real knob).
    int32_t positions;
    const char* words[kMaxPositions];      // a switch's positions as read and written; none for levels
    const char* aliases[kMaxPositions][2]; // other words a position is read from
    const char* legends[kMaxPositions];    // the short words printed on the face under the switch
    int32_t editorIndex;                   // index in VR58-G's table
    int32_t plainIndex;                    // index in VR58's table; -1 where it has none
    bool nabOnly;                          // acts with the NAB curve only
    bool followsHeadAndHbAtt;              // its unit's value moves with Head and HB Att
    PortScale portScale;
    const char* portComment; // what an LV2 host's user should know beyond name and unit
};

// Written in the editor build's index order. Every unit goes through the chain's own mapping functions.
inline constexpr ParameterSpecification kParameterSpecifications[] = {
    {"Trim",
     "trim",
     "dB",
     "dB",
     [](float v, const UnitContext&) { return trimOrGainDb(v); },
     nullptr,
     0.5f,
     0,
     {},
     {},
     {},
     0,
     0,
     false,
     false,
     PortScale::Unit,
     nullptr},
    {"Gain",
     "gain",
     "dB",
     "dB",
     [](float v, const UnitContext&) { return trimOrGainDb(v); },
     nullptr,
     0.5f,
     0,
     {},
     {},
     {},
     1,
     1,
     false,
     false,
     PortScale::Unit,
     nullptr},
    {"EQ Curve",
     "eq_curve",
     "Typ",
     nullptr,
     nullptr,
     [](float v) { return static_cast<double>(eqCurvePosition(v)); },
     0.5f,
     3,
     {"NAB", "IEC", "AES"},
     {},
     {"NAB", "IEC", "AES"},
     2,
     2,
     false,
     false,
     PortScale::Unit,
     nullptr},
    // The low shelves are read in the NAB position (curve 0), the one where they act.
    {"EQ RecLo",
     "eq_reclo",
     "dB",
     "dB",
     [](float v, const UnitContext&) { return equaliserDesign(0.0f, v, 0.5f, 0.5f, 0.5f).recordLowDb; },
     nullptr,
     0.5f,
     0,
     {},
     {},
     {},
     3,
     3,
     true,
     false,
     PortScale::Unit,
     "Acts with the NAB curve only."},
    {"EQ RecHi",
     "eq_rechi",
     "dB",
     "dB",
     [](float v, const UnitContext& c) {
         return equaliserDesign(c.eqCurve, 0.5f, v, 0.5f, 0.5f).recordHighDb;
     },
     nullptr,
     0.5f,
     0,
     {},
     {},
     {},
     4,
     4,
     false,
     false,
     PortScale::Unit,
     nullptr},
    {"EQ RepLo",
     "eq_replo",
     "dB",
     "dB",
     [](float v, const UnitContext&) { return equaliserDesign(0.0f, 0.5f, 0.5f, v, 0.5f).reproLowDb; },
     nullptr,
     0.5f,
     0,
     {},
     {},
     {},
     5,
     5,
     true,
     false,
     PortScale::Unit,
     "Acts with the NAB curve only."},
    {"EQ RepHi",
     "eq_rephi",
     "dB",
     "dB",
     [](float v, const UnitContext& c) {
         return equaliserDesign(c.eqCurve, 0.5f, 0.5f, 0.5f, v).reproHighDb;
     },
     nullptr,
     0.5f,
     0,
     {},
     {},
     {},
     6,
     6,
     false,
     false,
     PortScale::Unit,
     nullptr},
    // Head moves the high-pass corner and the bump's centre together; the centre is what one hears.
    {"Head",
     "head",
     "Hz",
     "Hz",
     [](float v, const UnitContext& c) { return headBumpDesign(v, c.bump, c.hbAtt).centreHz; },
     nullptr,
     0.0f,
     0,
     {},
     {},
     {},
     7,
     7,
     false,
     false,
     PortScale::Unit,
     "The centre of the head bump: 65 Hz for slow tape, 105 Hz for fast."},
    // The bump's real gain: Bump alone has no fixed scale, it is scaled by Head and reduced by HB Att. Its
    // port is the share of its travel, so a stored value means one setting whatever Head and HB Att do.
    {"Bump",
     "bump",
     "dB",
     "dB",
     [](float v, const UnitContext& c) { return headBumpDesign(c.head, v, c.hbAtt).gainDb; },
     nullptr,
     0.0f,
     0,
     {},
     {},
     {},
     8,
     8,
     false,
     true,
     PortScale::Percent,
     "The head bump's share of its travel; its gain in dB grows as Head goes down and shrinks with HB Att."},
    {"Hiss",
     "hiss",
     "dB",
     "dB",
     [](float v, const UnitContext&) { return hissDb(v); },
     nullptr,
     0.5f,
     0,
     {},
     {},
     {},
     9,
     9,
     false,
     false,
     PortScale::Unit,
     nullptr},
    // Its four positions read as the VU reference levels they give.
    {"H.Room",
     "h_room",
     "dB",
     nullptr,
     nullptr,
     [](float v) { return headRoomDb(v); },
     0.625f,
     4,
     {},
     {},
     {},
     10,
     -1,
     false,
     false,
     PortScale::Unit,
     "The VU meter's reference: the level in dBFS that reads 0 VU."},
    {"VU Hold",
     "vu_hold",
     "n/y",
     nullptr,
     nullptr,
     [](float v) { return vuHoldOn(v) ? 1.0 : 0.0; },
     0.0f,
     2,
     {"Off", "On"},
     {{"no", "n"}, {"yes", "y"}},
     {"Off", "On"},
     11,
     -1,
     false,
     false,
     PortScale::Unit,
     nullptr},
    {"VU Path",
     "vu_path",
     "I/O",
     nullptr,
     nullptr,
     [](float v) { return meterReadsOutput(v) ? 1.0 : 0.0; },
     1.0f,
     2,
     {"Input", "Output"},
     {{"in", "i"}, {"out", "o"}},
     {"In", "Out"},
     12,
     -1,
     false,
     false,
     PortScale::Unit,
     nullptr},
    // What HB Att takes off the bump; the face shows it as a switch of three positions.
    {"HB Att",
     "hb_att",
     "dB",
     "dB",
     [](float v, const UnitContext& c) {
         return headBumpDesign(c.head, c.bump, v).gainDb - headBumpDesign(c.head, c.bump, 0.0f).gainDb;
     },
     nullptr,
     1.0f,
     3,
     {},
     {},
     {},
     13,
     10,
     false,
     false,
     PortScale::Unit,
     nullptr},
    {"Noise",
     "noise",
     "n/y",
     nullptr,
     nullptr,
     [](float v) { return noiseOn(v) ? 1.0 : 0.0; },
     1.0f,
     2,
     {"Off", "On"},
     {{"no", "n"}, {"yes", "y"}},
     {"Off", "On"},
     14,
     11,
     false,
     false,
     PortScale::Unit,
     nullptr},
};
inline constexpr int32_t kParameterSpecificationCount =
    static_cast<int32_t>(std::size(kParameterSpecifications));

// The specification of a parameter name; null for none.
inline constexpr const ParameterSpecification* specificationNamed(const char* name) {
    for (const ParameterSpecification& spec : kParameterSpecifications) {
        const char *a = spec.name, *b = name;
        while (*a && *a == *b) ++a, ++b;
        if (*a == *b) return &spec;
    }
    return nullptr;
}

} // namespace vr58
