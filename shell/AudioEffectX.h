// The extended VST 2.4 frame: opcodes 25..79 and the host-callback wrappers of a 2.4 effect. Adds no data.
#pragma once

#include "shell/AudioEffect.h"

class AudioEffectX : public AudioEffect {
public:
    using AudioEffect::AudioEffect;

    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

    virtual bool canParameterBeAutomated(int32_t /*index*/) { return true; }
    virtual bool string2parameter(int32_t /*index*/, char* /*text*/) { return false; }
    virtual bool getParameterProperties(int32_t /*index*/, void* /*properties*/) { return false; }
    virtual bool beginEdit(int32_t index);
    virtual bool endEdit(int32_t index);
    virtual bool getProgramNameIndexed(int32_t /*category*/, int32_t /*index*/, char* /*text*/) {
        return false;
    }
    virtual bool beginSetProgram() { return false; }
    virtual bool endSetProgram() { return false; }
    virtual int32_t beginLoadBank(void* /*chunkInfo*/) { return 0; }
    virtual int32_t beginLoadProgram(void* /*chunkInfo*/) { return 0; }
    virtual bool getInputProperties(int32_t /*index*/, void* /*properties*/) { return false; }
    virtual bool getOutputProperties(int32_t /*index*/, void* /*properties*/) { return false; }
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* /*input*/, VstSpeakerArrangement* /*output*/) {
        return false;
    }
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);
    virtual bool setBypass(bool /*onOff*/) { return false; }
    virtual bool setPanLaw(int32_t /*type*/, float /*value*/) { return false; }
    virtual bool setProcessPrecision(int32_t /*precision*/) { return false; }
    virtual int32_t getNumMidiInputChannels() { return 0; }
    virtual int32_t getNumMidiOutputChannels() { return 0; }
    virtual int32_t processEvents(void* /*events*/) { return 0; }
    virtual int32_t startProcess() { return 0; }
    virtual int32_t stopProcess() { return 0; }
    virtual bool processVariableIo(void* /*varIo*/) { return false; }
    virtual int32_t setTotalSampleToProcess(int32_t value) { return value; }
    virtual bool canHostDo(char* text);
    virtual int32_t getGetTailSize() { return 0; }
    virtual bool getEffectName(char* /*name*/) { return false; }
    virtual bool getVendorString(char* /*text*/) { return false; }
    virtual bool getProductString(char* /*text*/) { return false; }
    virtual int32_t getVendorVersion() { return 0; }
    // Requests the effect does not know go to the editor.
    virtual intptr_t vendorSpecific(int32_t lArg, intptr_t lArg2, void* ptrArg, float floatArg);
    virtual int32_t canDo(char* /*text*/) { return 0; }
    virtual int32_t getVstVersion() { return 2400; }
    virtual int32_t getPlugCategory() { return kPlugCategUnknown; }
    virtual int32_t getMidiProgramName(int32_t /*channel*/, void* /*midiProgramName*/) { return 0; }
    virtual int32_t getCurrentMidiProgram(int32_t /*channel*/, void* /*currentProgram*/) { return -1; }
    virtual int32_t getMidiProgramCategory(int32_t /*channel*/, void* /*category*/) { return 0; }
    virtual bool hasMidiProgramsChanged(int32_t /*channel*/) { return false; }
    virtual bool getMidiKeyName(int32_t /*channel*/, void* /*keyName*/) { return false; }
    virtual bool sizeWindow(int32_t width, int32_t height);
    virtual int32_t getNextShellPlugin(char* /*name*/) { return 0; }
    virtual int32_t offlineNotify(void* /*ptr*/, int32_t /*numAudioFiles*/, bool /*start*/) { return 0; }
    virtual bool offlinePrepare(void* /*offline*/, int32_t /*count*/) { return false; }
    virtual bool offlineRun(void* /*offline*/, int32_t /*count*/) { return false; }
};
