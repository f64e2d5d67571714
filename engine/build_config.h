// What distinguishes the two plug-in builds made from this one source tree.
#pragma once

#include <cstdint>
#include <iterator>

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

// The two builds' parameters in index order: the host's names and labels, and the defaults.
inline constexpr ParameterDefinition kEditorParameters[] = {
    {"Trim", "dB", 0.5f},     {"Gain", "dB", 0.5f},     {"EQ Curve", "Typ", 0.5f}, {"EQ RecLo", "dB", 0.5f},
    {"EQ RecHi", "dB", 0.5f}, {"EQ RepLo", "dB", 0.5f}, {"EQ RepHi", "dB", 0.5f},  {"Head", "Hz", 0.0f},
    {"Bump", "dB", 0.0f},     {"Hiss", "dB", 0.5f},     {"H.Room", "dB", 0.625f},  {"VU Hold", "n/y", 0.0f},
    {"VU Path", "I/O", 1.0f}, {"HB Att", "dB", 1.0f},   {"Noise", "n/y", 1.0f},
};
inline constexpr ParameterDefinition kPlainParameters[] = {
    {"Trim", "dB", 0.5f},     {"Gain", "dB", 0.5f},     {"EQ Curve", "Typ", 0.5f}, {"EQ RecLo", "dB", 0.5f},
    {"EQ RecHi", "dB", 0.5f}, {"EQ RepLo", "dB", 0.5f}, {"EQ RepHi", "dB", 0.5f},  {"Head", "Hz", 0.0f},
    {"Bump", "dB", 0.0f},     {"Hiss", "dB", 0.5f},     {"HB Att", "dB", 1.0f},    {"Noise", "n/y", 1.0f},
};
inline constexpr uint16_t kEditorParameterCount = static_cast<uint16_t>(std::size(kEditorParameters));
inline constexpr uint16_t kPlainParameterCount = static_cast<uint16_t>(std::size(kPlainParameters));

extern const BuildConfig kEditorBuild; // VR58G_x64
extern const BuildConfig kPlainBuild;  // VR58_x64

// The other of the two builds (they share one unique ID); null for any other configuration.
const BuildConfig* siblingBuild(const BuildConfig& config);

} // namespace vr58
