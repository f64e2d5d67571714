// The plug-in library's entry. Each plug-in target defines createPluginEffect for its build.
#pragma once

#include "vst2/vst2_interface.h"

class AudioEffect;

namespace vr58 {
AudioEffect* createPluginEffect(audioMasterCallback audioMaster);
}

extern "C" VR58_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster);
