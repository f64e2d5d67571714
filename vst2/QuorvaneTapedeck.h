// The tape machine as a VST 2.4 effect: two channels in and out, chunks, both precisions and the vendor
// requests, configured for one of the two plug-in builds; the audio is the tape effect's (engine/).
#pragma once

#include "engine/version.h"
#include "tape/meter_feed.h"
#include "vst2/QuorvaneFX.h"

class QuorvaneTapedeck : public QuorvaneFX {
public:
    QuorvaneTapedeck(audioMasterCallback audioMaster, const vr58::BuildConfig& config);
    // Closes an open editor first: its meters read this effect's meter feed.
    ~QuorvaneTapedeck() override;

    // Host audio thread.
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    // Host audio thread.
    void processDoubleReplacing(double** inputs, double** outputs, int32_t sampleFrames) override;

    // Host control thread (effSetSpeakerArrangement), while suspended.
    bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) override;
    // Any host thread; reads only.
    bool getEffectName(char* name) override;
    // Any host thread; reads only.
    bool getProductString(char* text) override;
    // Any host thread.
    int32_t getVendorVersion() override { return vr58::kVendorVersion; }
    // Any host thread.
    int32_t getPlugCategory() override { return kPlugCategEffect; }
    // Any thread: our own requests (engine/vendor_requests.h).
    intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) override;

    // Host control thread, never during a process call (see TapeEffect::clearFilterHistory).
    void clearFilterHistory() { tapeEffect().clearFilterHistory(); }

    const vr58::BuildConfig& buildConfig() const { return tapeEffect().build(); }
    bool isMono() const { return tapeEffect().isMono(); }
    uint32_t noiseSeed() const { return tapeEffect().noiseSeed(); }
    // What the editor's meters read; fed by the process calls while it runs (the editor's window is open).
    vr58::MeterFeed& meterFeed() { return tapeEffect().meterFeed(); }
};
