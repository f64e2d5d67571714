// The LV2 bundles' identity and port layout. Hosts save these URIs, port indices and symbols in users'
// sessions and presets: never change them once released.
#pragma once

#include "engine/build_config.h"

#include <cstdint>
#include <string>

namespace vr58::lv2 {

inline constexpr char kEditorPluginUri[] = "urn:quorvane:vr58g"; // VR58G.lv2, the build with the editor
inline constexpr char kPlainPluginUri[] = "urn:quorvane:vr58";   // VR58.lv2, no editor
inline constexpr char kEditorUiUri[] = "urn:quorvane:vr58g#ui";  // VR58G.lv2's X11 UI

// Ports in index order: the stereo pair in, the stereo pair out, one control input per parameter of the
// build's table in table order, then (editor bundle only) the meter's two control outputs.
enum AudioPort : uint32_t { kAudioInLeft = 0, kAudioInRight = 1, kAudioOutLeft = 2, kAudioOutRight = 3 };
inline constexpr uint32_t kFirstParameterPort = 4;

inline constexpr uint32_t parameterPort(int32_t parameterIndex) {
    return kFirstParameterPort + static_cast<uint32_t>(parameterIndex);
}
// The VU's smoothed level at the end of the latest run (linear, as the meter feed publishes it).
inline constexpr uint32_t meterLevelPort(const BuildConfig& build) {
    return kFirstParameterPort + build.parameterCount;
}
// The largest meter value of the recent runs, held long enough that a host forwarding output ports to the
// UI at 25 Hz or more never misses an over.
inline constexpr uint32_t meterPeakPort(const BuildConfig& build) {
    return kFirstParameterPort + build.parameterCount + 1u;
}

// The meter ports' symbols (editor bundle only).
inline constexpr char kMeterLevelSymbol[] = "meter_level";
inline constexpr char kMeterPeakSymbol[] = "meter_peak";
// How long the peak port holds a value before it may fall: longer than the 40 ms between two reads of a
// UI fed at 25 Hz.
inline constexpr double kMeterPeakHoldSeconds = 0.05;

// The key and type under which the state interface keeps the chunk; both bundles use the same key, so
// either reads the other's state.
inline constexpr char kStateChunkKey[] = "urn:quorvane:vr58#chunk";

// The port symbol of a parameter name: lower case, every run of other characters one '_'
// ("EQ RecLo" -> "eq_reclo", "H.Room" -> "h_room").
std::string portSymbol(const char* parameterName);

// A parameter's port value (in its unit, as the bundle's description declares it) and the normalised value
// the chain receives, both ways; the VST 2.4 build given the same settings gets the same normalised floats.
float portValueOf(const BuildConfig& build, int32_t parameterIndex, float normalised);
float normalisedOf(const BuildConfig& build, int32_t parameterIndex, float portValue);

} // namespace vr58::lv2
