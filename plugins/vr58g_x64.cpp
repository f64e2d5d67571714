// The editor build: 15 parameters, the skinned editor and the meters.
#include "shell/plugin_entry.h"
#include "tape/QuorvaneTapedeck.h"

#include <new>

AudioEffect* vr58::createPluginEffect(audioMasterCallback audioMaster) {
    return new (std::nothrow) QuorvaneTapedeck(audioMaster, kEditorBuild);
}
