// The tape machine: record equaliser, hiss, erf saturation, head bump and repro equaliser on two
// channels, configured for one of the two plug-in builds.
#pragma once

#include "effect/QuorvaneFX.h"
#include "effect/version.h"
#include "tape/filter_sections.h"
#include "tape/meter_feed.h"
#include "tape/noise_generator.h"

#include <atomic>

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
    // The thread that set the rate: marks the designs stale for the audio thread.
    void sampleRateChanged(float sampleRate) override;
    // The thread that stored the value: marks designs stale and tells the editor, nothing more.
    void parameterChanged(int32_t index, float value) override;
    // Any thread: our own requests (effect/vendor_requests.h).
    intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) override;

    // Host control thread, never during a process call (an LV2 host's activate after deactivate): the
    // filters start again from silence, as in a fresh instance. The hiss runs on; a fresh instance's
    // would start from a new seed anyway.
    void clearFilterHistory();

    const vr58::BuildConfig& buildConfig() const { return config_; }
    bool isMono() const { return monoFlag_.load(std::memory_order_relaxed); }
    uint32_t noiseSeed() const { return noise_.seed; }
    // What the editor's meters read; fed by the process calls while it runs (the editor's window is open).
    vr58::MeterFeed& meterFeed() { return meterFeed_; }

private:
    template <typename Sample> void process(Sample** inputs, Sample** outputs, int32_t sampleFrames);

    // Coefficients change only on the audio thread between blocks: a change from any thread marks the
    // designs it drives stale, and the next process call makes them before its first sample.
    enum StaleDesign : uint32_t { kEqualisersStale = 1u, kHeadBumpStale = 2u };
    void markStale(uint32_t designs);
    void redesignStaleSections();
    void recomputeHeadBump();
    void recomputeEqualisers();
    // A channel whose state overflowed or took a NaN starts again from silence after the block.
    void resetNonFiniteChannels();
    void clearChannel(int ch);

    const vr58::BuildConfig& config_;
    vr58::HighPassFilter<double> bumpHighPass_[2];
    vr58::PeakingFilter<double> bumpPeak_[2];
    vr58::LowShelfFilter<double> recordLow_[2];
    vr58::HighShelfFilter<double> recordHigh_[2];
    vr58::LowShelfFilter<double> reproLow_[2];
    vr58::HighShelfFilter<double> reproHigh_[2];
    vr58::NoiseGenerator noise_;
    std::atomic<bool> monoFlag_{false};
    std::atomic<uint32_t> staleDesigns_{0};
    // A seed asked for from any thread, taken by the audio thread before its next block: the seed in the
    // low 32 bits, kSeedPending above them.
    static constexpr uint64_t kSeedPending = uint64_t{1} << 32;
    std::atomic<uint64_t> pendingSeed_{0};
    std::atomic<float> designRate_{44100.0f}; // the host's rate, handed to the audio thread's designs
    vr58::MeterFeed meterFeed_;
};
