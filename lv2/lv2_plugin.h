// The LV2 plug-in over the tape effect: hosts call it through the descriptor that descriptorOf gives for
// one of the two builds. The same tape effect as the VST 2.4 libraries runs the audio and keeps the state
// (its chunk); this layer turns port values in units into the effect's normalised values.
#pragma once

#include "engine/tape_effect.h"

#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstdint>

namespace vr58::lv2 {

class Lv2Tapedeck {
public:
    // Host instantiation thread; map may be null (the state interface then answers an error).
    Lv2Tapedeck(const BuildConfig& build, double sampleRate, const LV2_URID_Map* map);

    // Host instantiation thread, or the audio thread between runs, as LV2 allows.
    void connectPort(uint32_t port, void* data);
    // Host instantiation thread.
    void activate();
    // Host audio thread: no allocation, lock or I/O.
    void run(uint32_t frames);
    // Host instantiation thread.
    void deactivate();

    // Host instantiation thread (never during run).
    LV2_State_Status save(LV2_State_Store_Function store, LV2_State_Handle handle);
    LV2_State_Status restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle);

    TapeEffect& effect() { return effect_; }

private:
    static constexpr int32_t kMaxParameters = 32;

    void applyChangedPorts();
    void publishMeter(uint32_t frames);
    // The port values that mean the effect's current values, so that a port still holding them changes
    // nothing: the stored normalised values stay exactly what a chunk or the defaults made them.
    void assumePortsMatchEffect();

    const BuildConfig& build_;
    TapeEffect effect_;
    bool editorBundle_;
    const float* audioIn_[2] = {nullptr, nullptr};
    float* audioOut_[2] = {nullptr, nullptr};
    const float* controls_[kMaxParameters] = {};
    float assumedPortValue_[kMaxParameters] = {};
    float* meterLevel_ = nullptr;
    float* meterPeak_ = nullptr;
    // The held peak: its value, how many frames it has been shown, and the largest value seen since.
    float heldPeak_ = 0.0f;
    uint64_t heldFrames_ = 0;
    float peakSinceHeld_ = 0.0f;
    uint64_t holdFrames_;
    LV2_URID chunkKey_ = 0;
    LV2_URID chunkType_ = 0;
};

// The plug-in descriptor of a build; its URI is the build's (lv2_ports.h).
const LV2_Descriptor* descriptorOf(const BuildConfig& build);

} // namespace vr58::lv2
