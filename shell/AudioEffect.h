// The basic VST 2.4 effect frame: holds the host callback, the editor and the AEffect record handed to
// the host, and turns opcodes 0..24 into virtual operations.
#pragma once

#include "shell/vst2/vst2_interface.h"

class AEffEditor;

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);
    virtual ~AudioEffect();

    // Host control or user-interface thread, through the record's dispatcher.
    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate(float newRate) { sampleRate = newRate; }
    virtual void setBlockSize(int32_t newSize) { blockSize = newSize; }
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/, int32_t /*sampleFrames*/) {
    }
    virtual void setParameter(int32_t /*index*/, float /*value*/) {}
    virtual float getParameter(int32_t /*index*/) { return 0.0f; }
    virtual void setParameterAutomated(int32_t index, float value);
    virtual int32_t getProgram() { return curProgram; }
    virtual void setProgram(int32_t program) { curProgram = program; }
    virtual void setProgramName(char* /*name*/) {}
    virtual void getProgramName(char* name);
    virtual void getParameterLabel(int32_t /*index*/, char* label);
    virtual void getParameterDisplay(int32_t /*index*/, char* text);
    virtual void getParameterName(int32_t /*index*/, char* text);
    virtual int32_t getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
    virtual int32_t setChunk(void* /*data*/, int32_t /*byteSize*/, bool /*isPreset*/) { return 0; }
    virtual AEffect* getAeffect() { return &cEffect; }
    virtual float getSampleRate() { return sampleRate; }
    virtual void masterIdle();
    virtual void float2string(float value, char* text, int32_t maxLength);
    virtual void process(float** /*inputs*/, float** /*outputs*/, int32_t /*sampleFrames*/) {}

    // Called by the editor's constructor: the effect owns the editor from then on.
    void setEditor(AEffEditor* newEditor);
    AEffEditor* getEditor() const { return editor; }
    audioMasterCallback getAudioMaster() const { return audioMaster; }

protected:
    intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    audioMasterCallback audioMaster;
    AEffEditor* editor = nullptr;
    float sampleRate = 44100.0f;
    int32_t blockSize = 1024;
    int32_t numPrograms;
    int32_t numParams;
    int32_t curProgram = 0;
    AEffect cEffect;

private:
    // The host reaches the effect only through these, installed in the record; each runs on whichever
    // host thread calls it (audio thread for the process calls).
    static intptr_t dispatchEffect(AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                   float opt);
    static void processEffect(AEffect* e, float** inputs, float** outputs, int32_t sampleFrames);
    static void processReplacingEffect(AEffect* e, float** inputs, float** outputs, int32_t sampleFrames);
    static void processDoubleReplacingEffect(AEffect* e, double** inputs, double** outputs,
                                             int32_t sampleFrames);
    static void setParameterEffect(AEffect* e, int32_t index, float value);
    static float getParameterEffect(AEffect* e, int32_t index);
};
