// The VST 2.4 editor base: what the effect's dispatcher can ask of an editor. Its defaults describe an
// editor without a window; the skinned editor overrides them.
#pragma once

#include "vst2/vst2_interface.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) : effect(effect) {}
    virtual ~AEffEditor() = default;

    // Any thread.
    virtual AudioEffect* getEffect() { return effect; }
    // Host user-interface thread (effEditGetRect), also before the first opening.
    virtual bool getRect(ERect** rect) {
        if (rect) *rect = nullptr;
        return false;
    }
    // Host user-interface thread (effEditOpen): the editor's window goes into parentWindow.
    virtual bool open(void* parentWindow) {
        systemWindow = parentWindow;
        return false;
    }
    // Host user-interface thread (effEditClose), and the effect's destruction.
    virtual void close() { systemWindow = nullptr; }
    // Host user-interface thread.
    virtual bool isOpen() { return systemWindow != nullptr; }
    // Host user-interface thread (effEditIdle), often; redraws what changed.
    virtual void idle() {}
    // Host user-interface thread (effEditKeyDown).
    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    // Host user-interface thread (effEditKeyUp).
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    // Host user-interface thread: a wheel turn the host passes on.
    virtual bool onWheel(float /*distance*/) { return false; }
    // Host user-interface thread (effSetEditKnobMode); one mode for the process, whatever thread sets it.
    virtual bool setKnobMode(int32_t /*mode*/) { return false; }
    // The host's effVendorSpecific requests that concern the editor (a scale hint); 0 when not taken.
    virtual intptr_t vendorSpecific(int32_t /*index*/, intptr_t /*value*/, void* /*ptr*/, float /*opt*/) {
        return 0;
    }
    // effClose: the effect is going away, so whatever the editor still owes the host is not sent.
    virtual void effectClosing() {}

protected:
    AudioEffect* effect;
    void* systemWindow = nullptr;
};
