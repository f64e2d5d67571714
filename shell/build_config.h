// What distinguishes the two plug-in builds made from this one source tree.
#pragma once

#include <cstdint>

namespace vr58 {

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

// Parameters present at the same index in both builds.
enum SharedParameter : int32_t {
    kTrim = 0,
    kGain = 1,
    kEqCurve = 2,
    kEqRecLo = 3,
    kEqRecHi = 4,
    kEqRepLo = 5,
    kEqRepHi = 6,
    kHead = 7,
    kBump = 8,
    kHiss = 9,
};

extern const BuildConfig kEditorBuild; // VR58G_x64
extern const BuildConfig kPlainBuild;  // VR58_x64

// The other of the two builds (they share one unique ID); null for any other configuration.
const BuildConfig* siblingBuild(const BuildConfig& config);

} // namespace vr58
