// What distinguishes the two plug-in builds made from this one source tree. Their tables are made from
// the parameter table.
#pragma once

#include "engine/parameter_records.h"

#include <array>
#include <cstdint>

namespace vr58 {

// Both builds answer to this unique ID, so a host treats their states as one plug-in's.
inline constexpr int32_t kUniqueId = 0x56523538; // 'VR58'
inline constexpr const char* kVendorName = "Quorvane";

struct ParameterDefinition {
    const char* name;
    const char* label;
    float defaultValue;
};

struct BuildConfig {
    const char* productName; // also the effect name
    const ParameterDefinition* parameters;
    uint16_t parameterCount;
    // Where the shared tape parameters live in this build's table; -1 where the build lacks one.
    int32_t hbAttIndex;
    int32_t noiseIndex;
    int32_t headRoomIndex;
    int32_t vuHoldIndex;
    int32_t vuPathIndex;
};

namespace build_tables {

enum class Build { Editor, Plain };

constexpr int32_t indexIn(Build build, const ParameterRecord& spec) {
    return build == Build::Editor ? spec.editorIndex : spec.plainIndex;
}

constexpr uint16_t countOf(Build build) {
    uint16_t count = 0;
    for (const ParameterRecord& spec : kParameterRecords)
        if (indexIn(build, spec) >= 0) ++count;
    return count;
}

template <Build build> constexpr std::array<ParameterDefinition, countOf(build)> tableOf() {
    std::array<ParameterDefinition, countOf(build)> table{};
    for (const ParameterRecord& spec : kParameterRecords)
        if (indexIn(build, spec) >= 0)
            table[static_cast<size_t>(indexIn(build, spec))] = {spec.name, spec.label, spec.defaultValue};
    return table;
}

// Compares names itself rather than through recordNamed: a null test of a pointer into the table
// is no constant expression under the sanitizers' instrumentation.
constexpr int32_t indexOf(Build build, const char* name) {
    for (const ParameterRecord& spec : kParameterRecords) {
        const char *a = spec.name, *b = name;
        while (*a && *a == *b) ++a, ++b;
        if (*a == *b) return indexIn(build, spec);
    }
    return -1;
}

// The index a parameter has in both builds; -1 (failing the checks below) where they differ.
constexpr int32_t sharedIndexOf(const char* name) {
    const int32_t index = indexOf(Build::Editor, name);
    return index == indexOf(Build::Plain, name) ? index : -1;
}

} // namespace build_tables

// Parameters present at the same index in both builds.
enum SharedParameter : int32_t {
    kTrim = build_tables::sharedIndexOf("Trim"),
    kGain = build_tables::sharedIndexOf("Gain"),
    kEqCurve = build_tables::sharedIndexOf("EQ Curve"),
    kEqRecLo = build_tables::sharedIndexOf("EQ RecLo"),
    kEqRecHi = build_tables::sharedIndexOf("EQ RecHi"),
    kEqRepLo = build_tables::sharedIndexOf("EQ RepLo"),
    kEqRepHi = build_tables::sharedIndexOf("EQ RepHi"),
    kHead = build_tables::sharedIndexOf("Head"),
    kBump = build_tables::sharedIndexOf("Bump"),
    kHiss = build_tables::sharedIndexOf("Hiss"),
};
// The chain reads the equalisers' four shelves as one run of indices after EQ Curve.
static_assert(kTrim >= 0 && kGain >= 0 && kHead >= 0 && kBump >= 0 && kHiss >= 0 && kEqCurve >= 0 &&
              kEqRecLo == kEqCurve + 1 && kEqRecHi == kEqCurve + 2 && kEqRepLo == kEqCurve + 3 &&
              kEqRepHi == kEqCurve + 4);

// The two builds' parameters in index order: the host's names and labels, and the defaults.
inline constexpr auto kEditorParameters = build_tables::tableOf<build_tables::Build::Editor>();
inline constexpr auto kPlainParameters = build_tables::tableOf<build_tables::Build::Plain>();
inline constexpr uint16_t kEditorParameterCount = static_cast<uint16_t>(kEditorParameters.size());
inline constexpr uint16_t kPlainParameterCount = static_cast<uint16_t>(kPlainParameters.size());

extern const BuildConfig kEditorBuild; // VR58G_x64
extern const BuildConfig kPlainBuild;  // VR58_x64

// The other of the two builds (they share one unique ID); null for any other configuration.
const BuildConfig* siblingBuild(const BuildConfig& config);

} // namespace vr58
