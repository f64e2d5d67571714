#include "shell/build_config.h"

namespace vr58 {
namespace {

constexpr ParameterDefinition kEditorParameters[] = {
    {"Trim", "dB", 0.5f},     {"Gain", "dB", 0.5f},     {"EQ Curve", "Typ", 0.5f}, {"EQ RecLo", "dB", 0.5f},
    {"EQ RecHi", "dB", 0.5f}, {"EQ RepLo", "dB", 0.5f}, {"EQ RepHi", "dB", 0.5f},  {"Head", "Hz", 0.0f},
    {"Bump", "dB", 0.0f},     {"Hiss", "dB", 0.5f},     {"H.Room", "dB", 0.625f},  {"VU Hold", "n/y", 0.0f},
    {"VU Path", "I/O", 1.0f}, {"HB Att", "dB", 1.0f},   {"Noise", "n/y", 1.0f},
};

constexpr ParameterDefinition kPlainParameters[] = {
    {"Trim", "dB", 0.5f},     {"Gain", "dB", 0.5f},     {"EQ Curve", "Typ", 0.5f}, {"EQ RecLo", "dB", 0.5f},
    {"EQ RecHi", "dB", 0.5f}, {"EQ RepLo", "dB", 0.5f}, {"EQ RepHi", "dB", 0.5f},  {"Head", "Hz", 0.0f},
    {"Bump", "dB", 0.0f},     {"Hiss", "dB", 0.5f},     {"HB Att", "dB", 1.0f},    {"Noise", "n/y", 1.0f},
};

} // namespace

const BuildConfig kEditorBuild = {"VR58-G Tape Recorder", kEditorParameters, 15, 13, 14, 10, 11, 12};
const BuildConfig kPlainBuild = {"VR58 Tape Recorder", kPlainParameters, 12, 10, 11, -1, -1, -1};

const BuildConfig* siblingBuild(const BuildConfig& config) {
    if (&config == &kEditorBuild) return &kPlainBuild;
    if (&config == &kPlainBuild) return &kEditorBuild;
    return nullptr;
}

} // namespace vr58
