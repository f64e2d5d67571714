// The extended VST 2.4 frame: opcodes 25..79 and the host-callback wrappers of a 2.4 effect. Adds no data.
#pragma once

#include "vst2/AudioEffect.h"

class AudioEffectX : public AudioEffect {
public:
    using AudioEffect::AudioEffect;

    // Host control or user-interface thread, through the record's dispatcher.
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

    // Host control thread (effCanBeAutomated).
    virtual bool canParameterBeAutomated(int32_t /*index*/) { return true; }
    // Host control or user-interface thread (effString2Parameter).
    virtual bool string2parameter(int32_t /*index*/, char* /*text*/) { return false; }
    // Host control thread (effGetParameterProperties).
    virtual bool getParameterProperties(int32_t /*index*/, void* /*properties*/) { return false; }
    // The editor's user-interface thread: a gesture on the parameter starts (audioMasterBeginEdit).
    virtual bool beginEdit(int32_t index);
    // The editor's user-interface thread: the gesture ends (audioMasterEndEdit).
    virtual bool endEdit(int32_t index);
    // Host control thread (effGetProgramNameIndexed).
    virtual bool getProgramNameIndexed(int32_t /*category*/, int32_t /*index*/, char* /*text*/) {
        return false;
    }
    // Host control thread (effBeginSetProgram).
    virtual bool beginSetProgram() { return false; }
    // Host control thread (effEndSetProgram).
    virtual bool endSetProgram() { return false; }
    // Host control thread (effBeginLoadBank), before a bank's chunk.
    virtual int32_t beginLoadBank(void* /*chunkInfo*/) { return 0; }
    // Host control thread (effBeginLoadProgram), before a program's chunk.
    virtual int32_t beginLoadProgram(void* /*chunkInfo*/) { return 0; }
    // Host control thread (effGetInputProperties).
    virtual bool getInputProperties(int32_t /*index*/, void* /*properties*/) { return false; }
    // Host control thread (effGetOutputProperties).
    virtual bool getOutputProperties(int32_t /*index*/, void* /*properties*/) { return false; }
    // Host control thread (effSetSpeakerArrangement), while suspended.
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* /*input*/, VstSpeakerArrangement* /*output*/) {
        return false;
    }
    // Host control thread (effGetSpeakerArrangement).
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);
    // Host control or audio thread (effSetBypass).
    virtual bool setBypass(bool /*onOff*/) { return false; }
    // Host control thread (effSetPanLaw).
    virtual bool setPanLaw(int32_t /*type*/, float /*value*/) { return false; }
    // Host control thread (effSetProcessPrecision), while suspended.
    virtual bool setProcessPrecision(int32_t /*precision*/) { return false; }
    // Host control thread (effGetNumMidiInputChannels).
    virtual int32_t getNumMidiInputChannels() { return 0; }
    // Host control thread (effGetNumMidiOutputChannels).
    virtual int32_t getNumMidiOutputChannels() { return 0; }
    // Host audio thread (effProcessEvents), before the block's process call.
    virtual int32_t processEvents(void* /*events*/) { return 0; }
    // Host control thread (effStartProcess), before the audio thread starts calling.
    virtual int32_t startProcess() { return 0; }
    // Host control thread (effStopProcess), after the audio thread stopped calling.
    virtual int32_t stopProcess() { return 0; }
    // Host audio thread (effProcessVarIo).
    virtual bool processVariableIo(void* /*varIo*/) { return false; }
    // Host control thread (effSetTotalSampleToProcess), offline rendering.
    virtual int32_t setTotalSampleToProcess(int32_t value) { return value; }
    // Any thread of the effect: asks the host (audioMasterCanDo).
    virtual bool canHostDo(char* text);
    // Host control thread (effGetTailSize).
    virtual int32_t getGetTailSize() { return 0; }
    // Any host thread (effGetEffectName); reads only.
    virtual bool getEffectName(char* /*name*/) { return false; }
    // Any host thread (effGetVendorString); reads only.
    virtual bool getVendorString(char* /*text*/) { return false; }
    // Any host thread (effGetProductString); reads only.
    virtual bool getProductString(char* /*text*/) { return false; }
    // Any host thread (effGetVendorVersion).
    virtual int32_t getVendorVersion() { return 0; }
    // Host control or user-interface thread (effVendorSpecific). Requests the effect does not know go to
    // the editor.
    virtual intptr_t vendorSpecific(int32_t lArg, intptr_t lArg2, void* ptrArg, float floatArg);
    // Any host thread (effCanDo); reads only.
    virtual int32_t canDo(char* /*text*/) { return 0; }
    // Any host thread (effGetVstVersion).
    virtual int32_t getVstVersion() { return 2400; }
    // Any host thread (effGetPlugCategory).
    virtual int32_t getPlugCategory() { return kPlugCategUnknown; }
    // Host control thread (effGetMidiProgramName).
    virtual int32_t getMidiProgramName(int32_t /*channel*/, void* /*midiProgramName*/) { return 0; }
    // Host control thread (effGetCurrentMidiProgram).
    virtual int32_t getCurrentMidiProgram(int32_t /*channel*/, void* /*currentProgram*/) { return -1; }
    // Host control thread (effGetMidiProgramCategory).
    virtual int32_t getMidiProgramCategory(int32_t /*channel*/, void* /*category*/) { return 0; }
    // Host control thread (effHasMidiProgramsChanged).
    virtual bool hasMidiProgramsChanged(int32_t /*channel*/) { return false; }
    // Host control thread (effGetMidiKeyName).
    virtual bool getMidiKeyName(int32_t /*channel*/, void* /*keyName*/) { return false; }
    // The editor's user-interface thread: asks the host to resize its window (audioMasterSizeWindow).
    virtual bool sizeWindow(int32_t width, int32_t height);
    // Host control thread (effShellGetNextPlugin).
    virtual int32_t getNextShellPlugin(char* /*name*/) { return 0; }
    // Host control thread (effOfflineNotify).
    virtual int32_t offlineNotify(void* /*ptr*/, int32_t /*numAudioFiles*/, bool /*start*/) { return 0; }
    // Host control thread (effOfflinePrepare).
    virtual bool offlinePrepare(void* /*offline*/, int32_t /*count*/) { return false; }
    // Host control thread (effOfflineRun).
    virtual bool offlineRun(void* /*offline*/, int32_t /*count*/) { return false; }
};
