// The factory presets built into the editor: the same list as `vr58 presets`, as the editor build's
// normalised values, made by the build from presets/factory-presets.txt.
#pragma once

#include "engine/build_config.h"

#include <cstdint>

namespace vr58 {

struct FactoryPreset {
    const char* name;
    float values[kEditorParameterCount];
};

extern const FactoryPreset kFactoryPresets[];
extern const int32_t kFactoryPresetCount;

} // namespace vr58
