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
    // The host's effVendorSpecific requests that concern the editor (a scale hint); 0 when not taken.
    virtual intptr_t vendorSpecific(int32_t /*index*/, intptr_t /*value*/, void* /*ptr*/, float /*opt*/) {
        return 0;
    }

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};
