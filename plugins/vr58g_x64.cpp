// The editor build: 15 parameters, the skinned editor and the meters, in a Windows host's window.
#include "vst2/QuorvaneTapedeck.h"
#include "vst2/QuorvaneTapedeckGUI.h"
#include "vst2/platform/module_handle.h"
#include "vst2/plugin_entry.h"
#include "vstgui/platform/platform.h"

#include <new>

AudioEffect* vr58::createPluginEffect(audioMasterCallback audioMaster) {
    // The toolkit finds the skin and registers its window class in this library.
    VSTGUI::platform::setModuleHandle(vr58::moduleHandle);
    auto* effect = new (std::nothrow) QuorvaneTapedeck(audioMaster, kEditorBuild);
    // The editor registers itself with the effect, which owns it from then on.
    if (effect) new (std::nothrow) QuorvaneTapedeckGUI(effect, effect->meterFeed());
    return effect;
}
