// The basic VST 2.4 effect frame: holds the host callback, the editor and the AEffect record handed to
// the host, and turns opcodes 0..24 into virtual operations.
#pragma once

#include "vst2/vst2_interface.h"

#include <atomic>

class AEffEditor;

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);
    virtual ~AudioEffect();

    // Host control or user-interface thread, through the record's dispatcher.
    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    // Host control thread (effOpen), once, before any other call but the entry's.
    virtual void open() {}
    // Host control thread (effClose); the effect is deleted right after.
    virtual void close() {}
    // Host control thread (effMainsChanged off), never during a process call.
    virtual void suspend() {}
    // Host control thread (effMainsChanged on), never during a process call.
    virtual void resume() {}
    // Any host thread (effSetSampleRate), also while a process call runs.
    virtual void setSampleRate(float newRate) { sampleRate.store(newRate, std::memory_order_relaxed); }
    // Host control thread (effSetBlockSize), while suspended.
    virtual void setBlockSize(int32_t newSize) { blockSize = newSize; }
    // Host audio thread: no allocation, lock or system call.
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    // Host audio thread: no allocation, lock or system call.
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/, int32_t /*sampleFrames*/) {
    }
    // Any host thread (automation arrives on the audio thread), also during a process call.
    virtual void setParameter(int32_t /*index*/, float /*value*/) {}
    // Any host thread; reads only.
    virtual float getParameter(int32_t /*index*/) { return 0.0f; }
    // The editor's user-interface thread (user edits): stores the value, then tells the host.
    virtual void setParameterAutomated(int32_t index, float value);
    // Host control thread (effGetProgram).
    virtual int32_t getProgram() { return curProgram; }
    // Host control thread (effSetProgram), only with a number of one of the effect's programs.
    virtual void setProgram(int32_t program) { curProgram = program; }
    // Host control thread (effSetProgramName).
    virtual void setProgramName(char* /*name*/) {}
    // Host control or user-interface thread (effGetProgramName).
    virtual void getProgramName(char* name);
    // Host control or user-interface thread (effGetParamLabel); reads only.
    virtual void getParameterLabel(int32_t /*index*/, char* label);
    // Host control or user-interface thread (effGetParamDisplay); reads only.
    virtual void getParameterDisplay(int32_t /*index*/, char* text);
    // Host control or user-interface thread (effGetParamName); reads only.
    virtual void getParameterName(int32_t /*index*/, char* text);
    // Any host thread (effGetChunk, when a project or preset is saved).
    virtual int32_t getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
    // Any host thread (effSetChunk, when a project or preset is loaded).
    virtual int32_t setChunk(void* /*data*/, int32_t /*byteSize*/, bool /*isPreset*/) { return 0; }
    // Any thread; the record stays where it is for the effect's life.
    virtual AEffect* getAeffect() { return &cEffect; }
    // Any thread.
    virtual float getSampleRate() { return sampleRate.load(std::memory_order_relaxed); }
    // The editor's user-interface thread, from drag loops: lets the host idle.
    virtual void masterIdle();
    // Any thread; writes only into the caller's text.
    virtual void float2string(float value, char* text, int32_t maxLength);
    // Host audio thread (the accumulating call of hosts before 2.4).
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
    // Written by whichever host thread sets the rate while others read it: one atomic word, never torn.
    std::atomic<float> sampleRate{44100.0f};
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
