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

// One position of a switch: its word, the face's legend, and other spellings it is read from.
struct SwitchPosition {
    const char* word = nullptr;
    const char* legend = nullptr;
    const char* alias0 = nullptr;
    const char* alias1 = nullptr;
};

struct ParameterRecord {
    const char* name;   // hosts' parameter name; also the preset list's and the read-out's
    const char* symbol; // LV2 port symbol, saved in users' sessions: never change it
    const char* label;  // VST 2.4 hosts' label beside the value
    const char* unit;   // "dB" or "Hz"; null for a switch
    KnobMap knob;       // a knob's unit; null for a switch
    SwitchMap meaning;  // a switch's meaning; null for a knob
    float defaultValue; // normalised
    // A switch's positions, in the order of their normalised values 0 .. 1, spread evenly; for a knob the
    // positions of the switch the face shows it with (0 for a real knob).
    int32_t positions = 0;
    const char* words[kMaxPositions] = {};      // a switch's positions as read and written; none for levels
    const char* aliases[kMaxPositions][2] = {}; // other words a position is read from
    const char* legends[kMaxPositions] = {};    // the short words printed on the face under the switch
    int32_t editorIndex = -1;                   // index in VR58-G's table
    int32_t plainIndex = -1;                    // index in VR58's table; -1 where it has none
    bool nabOnly = false;                       // acts with the NAB curve only
    bool followsHeadAndHbAtt = false;           // its unit's value moves with Head and HB Att
    PortScale portScale = PortScale::Unit;
    const char* portComment = nullptr; // what an LV2 host's user should know beyond name and unit

    // Where each build keeps it (-1: the build has none).
    constexpr ParameterRecord at(int32_t editor, int32_t plain) const {
        ParameterRecord spec = *this;
        spec.editorIndex = editor;
        spec.plainIndex = plain;
        return spec;
    }
    constexpr ParameterRecord with(SwitchPosition p0, SwitchPosition p1,
                                          SwitchPosition p2 = {}) const {
        ParameterRecord spec = *this;
        const SwitchPosition all[] = {p0, p1, p2};
        for (int32_t k = 0; k < 3 && all[k].word; ++k) {
            spec.words[k] = all[k].word;
            spec.legends[k] = all[k].legend;
            spec.aliases[k][0] = all[k].alias0;
            spec.aliases[k][1] = all[k].alias1;
            spec.positions = k + 1;
        }
        return spec;
    }
    // A knob the face shows as a switch of this many positions.
    constexpr ParameterRecord shownWith(int32_t switchPositions) const {
        ParameterRecord spec = *this;
        spec.positions = switchPositions;
        return spec;
    }
    constexpr ParameterRecord actingWithNabOnly() const {
        ParameterRecord spec = *this;
        spec.nabOnly = true;
        return spec;
    }
    constexpr ParameterRecord followingHeadAndHbAtt() const {
        ParameterRecord spec = *this;
        spec.followsHeadAndHbAtt = true;
        return spec;
    }
    constexpr ParameterRecord portIn(PortScale scale, const char* comment) const {
        ParameterRecord spec = *this;
        spec.portScale = scale;
        spec.portComment = comment;
        return spec;
    }
};

constexpr ParameterRecord knob(const char* name, const char* symbol, const char* unit, KnobMap map,
                                      float defaultValue) {
    return {name, symbol, unit, unit, map, nullptr, defaultValue};
}
constexpr ParameterRecord switchOf(const char* name, const char* symbol, const char* label,
                                          SwitchMap meaning, float defaultValue, int32_t positions = 0) {
    ParameterRecord spec{name, symbol, label, nullptr, nullptr, meaning, defaultValue};
    spec.positions = positions;
    return spec;
}

// Written in the editor build's index order. Every unit goes through the chain's own mapping functions.
inline constexpr ParameterRecord kParameterRecords[] = {
    knob(
        "Trim", "trim", "dB", [](float v, const UnitContext&) { return trimOrGainDb(v); }, 0.5f)
        .at(0, 0),
    knob(
        "Gain", "gain", "dB", [](float v, const UnitContext&) { return trimOrGainDb(v); }, 0.5f)
        .at(1, 1),
    switchOf(
        "EQ Curve", "eq_curve", "Typ", [](float v) { return static_cast<double>(eqCurvePosition(v)); }, 0.5f)
        .with({"NAB", "NAB"}, {"IEC", "IEC"}, {"AES", "AES"})
        .at(2, 2),
    // The low shelves are read in the NAB position (curve 0), the one where they act.
    knob(
        "EQ RecLo", "eq_reclo", "dB",
        [](float v, const UnitContext&) { return equaliserDesign(0.0f, v, 0.5f, 0.5f, 0.5f).recordLowDb; },
        0.5f)
        .actingWithNabOnly()
        .portIn(PortScale::Unit, "Acts with the NAB curve only.")
        .at(3, 3),
    knob(
        "EQ RecHi", "eq_rechi", "dB",
        [](float v, const UnitContext& c) {
            return equaliserDesign(c.eqCurve, 0.5f, v, 0.5f, 0.5f).recordHighDb;
        },
        0.5f)
        .at(4, 4),
    knob(
        "EQ RepLo", "eq_replo", "dB",
        [](float v, const UnitContext&) { return equaliserDesign(0.0f, 0.5f, 0.5f, v, 0.5f).reproLowDb; },
        0.5f)
        .actingWithNabOnly()
        .portIn(PortScale::Unit, "Acts with the NAB curve only.")
        .at(5, 5),
    knob(
        "EQ RepHi", "eq_rephi", "dB",
        [](float v, const UnitContext& c) {
            return equaliserDesign(c.eqCurve, 0.5f, 0.5f, 0.5f, v).reproHighDb;
        },
        0.5f)
        .at(6, 6),
    // Head moves the high-pass corner and the bump's centre together; the centre is what one hears.
    knob(
        "Head", "head", "Hz",
        [](float v, const UnitContext& c) { return headBumpDesign(v, c.bump, c.hbAtt).centreHz; }, 0.0f)
        .portIn(PortScale::Unit, "The centre of the head bump: 65 Hz for slow tape, 105 Hz for fast.")
        .at(7, 7),
    // The bump's real gain: Bump alone has no fixed scale, it is scaled by Head and reduced by HB Att. Its
    // port is the share of its travel, so a stored value means one setting whatever Head and HB Att do.
    knob(
        "Bump", "bump", "dB",
        [](float v, const UnitContext& c) { return headBumpDesign(c.head, v, c.hbAtt).gainDb; }, 0.0f)
        .followingHeadAndHbAtt()
        .portIn(PortScale::Percent,
                "The head bump's share of its travel; its gain in dB grows as Head goes down "
                "and shrinks with HB Att.")
        .at(8, 8),
    knob(
        "Hiss", "hiss", "dB", [](float v, const UnitContext&) { return hissDb(v); }, 0.5f)
        .at(9, 9),
    // Its four positions read as the VU reference levels they give.
    switchOf(
        "H.Room", "h_room", "dB", [](float v) { return headRoomDb(v); }, 0.625f, 4)
        .portIn(PortScale::Unit, "The VU meter's reference: the level in dBFS that reads 0 VU.")
        .at(10, -1),
    switchOf(
        "VU Hold", "vu_hold", "n/y", [](float v) { return vuHoldOn(v) ? 1.0 : 0.0; }, 0.0f)
        .with({"Off", "Off", "no", "n"}, {"On", "On", "yes", "y"})
        .at(11, -1),
    switchOf(
        "VU Path", "vu_path", "I/O", [](float v) { return meterReadsOutput(v) ? 1.0 : 0.0; }, 1.0f)
        .with({"Input", "In", "in", "i"}, {"Output", "Out", "out", "o"})
        .at(12, -1),
    // What HB Att takes off the bump.
    knob(
        "HB Att", "hb_att", "dB",
        [](float v, const UnitContext& c) {
            return headBumpDesign(c.head, c.bump, v).gainDb - headBumpDesign(c.head, c.bump, 0.0f).gainDb;
        },
        1.0f)
        .shownWith(3)
        .at(13, 10),
    switchOf(
        "Noise", "noise", "n/y", [](float v) { return noiseOn(v) ? 1.0 : 0.0; }, 1.0f)
        .with({"Off", "Off", "no", "n"}, {"On", "On", "yes", "y"})
        .at(14, 11),
};
inline constexpr int32_t kParameterRecordCount =
    static_cast<int32_t>(std::size(kParameterRecords));

// The record of a parameter name; null for none.
inline constexpr const ParameterRecord* recordNamed(const char* name) {
    for (const ParameterRecord& spec : kParameterRecords) {
        const char *a = spec.name, *b = name;
        while (*a && *a == *b) ++a, ++b;
        if (*a == *b) return &spec;
    }
    return nullptr;
}

} // namespace vr58
