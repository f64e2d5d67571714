// The one symbol a bundle's library exports. VR58_LV2_EDITOR_BUNDLE picks the build: 1 for VR58G.lv2,
// 0 for VR58.lv2.
#include "lv2/lv2_plugin.h"

// Host instantiation thread, when it scans or loads the bundle.
extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    if (index != 0) return nullptr;
    return vr58::lv2::descriptorOf(VR58_LV2_EDITOR_BUNDLE ? vr58::kEditorBuild : vr58::kPlainBuild);
}
