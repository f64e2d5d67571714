// The editor-less build: 12 parameters; hosts show their generic parameter view.
#include "vst2/QuorvaneTapedeck.h"
#include "vst2/plugin_entry.h"

#include <new>

AudioEffect* vr58::createPluginEffect(audioMasterCallback audioMaster) {
    return new (std::nothrow) QuorvaneTapedeck(audioMaster, kPlainBuild);
}
