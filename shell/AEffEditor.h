// The VST 2.4 editor base: what the effect's dispatcher can ask of an editor. Its defaults describe an
// editor without a window; the skinned editor overrides them.
#pragma once

#include "shell/vst2/vst2_interface.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    virtual ~AEffEditor() = default;

    virtual AudioEffect* getEffect() { return effect; }
    virtual bool getRect(ERect** rect) {
        if (rect) *rect = nullptr;
        return false;
    }
    virtual bool open(void* parentWindow) {
        systemWindow = parentWindow;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onWheel(float /*distance*/) { return false; }
    virtual bool setKnobMode(int32_t /*mode*/) { return false; }
    // effClose: the effect is going away, so whatever the editor still owes the host is not sent.
    virtual void effectClosing() {}

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};
