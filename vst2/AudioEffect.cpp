#include "vst2/AudioEffect.h"

#include "vst2/AEffEditor.h"
#include "vst2/text_copy.h"

#include <cstring>

AudioEffect::AudioEffect(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffect;
    cEffect.process = processEffect;
    cEffect.setParameter = setParameterEffect;
    cEffect.getParameter = getParameterEffect;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.version = 1;
    cEffect.processReplacing = processReplacingEffect;
    cEffect.processDoubleReplacing = processDoubleReplacingEffect;
}

AudioEffect::~AudioEffect() {
    delete editor;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
}

intptr_t AudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::setParameterAutomated(int32_t index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::masterIdle() {
    callHost(audioMasterIdle);
}

void AudioEffect::getProgramName(char* name) {
    vr58::copyText(name, "", kVstMaxProgNameLen);
}
void AudioEffect::getParameterLabel(int32_t, char* label) {
    vr58::copyText(label, "", kVstMaxParamStrLen);
}
void AudioEffect::getParameterDisplay(int32_t, char* text) {
    vr58::copyText(text, "", kVstMaxParamStrLen);
}
void AudioEffect::getParameterName(int32_t, char* text) {
    vr58::copyText(text, "", kVstMaxParamStrLen);
}

void AudioEffect::float2string(float value, char* text, int32_t maxLength) {
    vr58::formatNormalisedValue(value, text, maxLength);
}

intptr_t AudioEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    // Unsigned difference: negative opcodes fall outside the handled range.
    if (static_cast<uint32_t>(opcode) > static_cast<uint32_t>(effSetChunk)) return 0;
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        // A number outside the effect's programs is refused, so effGetProgram never answers one.
        if (value >= 0 && value < numPrograms) setProgram(static_cast<int32_t>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        if (ptr) getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        if (ptr) getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        if (ptr) getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        if (ptr) getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<int32_t>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        return editor && editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen:
        return editor && editor->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor) editor->close();
        return 0;
    case effEditIdle:
        if (editor) editor->idle();
        return 0;
    case effIdentify:
        return 0x4E764566; // 'NvEf'
    case effGetChunk:
        return ptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
    case effSetChunk:
        return setChunk(ptr, static_cast<int32_t>(value), index != 0);
    default:
        return 0;
    }
}

intptr_t AudioEffect::dispatchEffect(AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                     float opt) {
    auto* effect = static_cast<AudioEffect*>(e->object);
    if (opcode == effClose && effect->editor) effect->editor->effectClosing();
    const intptr_t result = effect->dispatcher(opcode, index, value, ptr, opt);
    if (opcode == effClose) {
        delete effect;
        return 1;
    }
    return result;
}

void AudioEffect::processEffect(AEffect* e, float** inputs, float** outputs, int32_t sampleFrames) {
    static_cast<AudioEffect*>(e->object)->process(inputs, outputs, sampleFrames);
}

void AudioEffect::processReplacingEffect(AEffect* e, float** inputs, float** outputs, int32_t sampleFrames) {
    static_cast<AudioEffect*>(e->object)->processReplacing(inputs, outputs, sampleFrames);
}

void AudioEffect::processDoubleReplacingEffect(AEffect* e, double** inputs, double** outputs,
                                               int32_t sampleFrames) {
    static_cast<AudioEffect*>(e->object)->processDoubleReplacing(inputs, outputs, sampleFrames);
}

void AudioEffect::setParameterEffect(AEffect* e, int32_t index, float value) {
    static_cast<AudioEffect*>(e->object)->setParameter(index, value);
}

float AudioEffect::getParameterEffect(AEffect* e, int32_t index) {
    return static_cast<AudioEffect*>(e->object)->getParameter(index);
}
