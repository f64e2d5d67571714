#include "vst2/plugin_entry.h"

#include "vst2/AudioEffect.h"

#include <new>

// Called by the host, once per effect instance it wants, on the host's loading thread.
extern "C" VR58_EXPORT AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    if (!audioMaster || audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = vr58::createPluginEffect(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
}
