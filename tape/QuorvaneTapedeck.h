// The tape machine: record equaliser, hiss, erf saturation, head bump and repro equaliser on two
// channels, configured for one of the two plug-in builds.
#pragma once

#include "shell/QuorvaneFX.h"
#include "tape/filter_sections.h"
#include "tape/noise_generator.h"

class QuorvaneTapedeck : public QuorvaneFX {
public:
    QuorvaneTapedeck(audioMasterCallback audioMaster, const vr58::BuildConfig& config);

    // Host audio thread.
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    void processDoubleReplacing(double** inputs, double** outputs, int32_t sampleFrames) override;

    bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) override;
    bool getEffectName(char* name) override;
    bool getProductString(char* text) override;
    int32_t getVendorVersion() override { return 1100; }
    int32_t getPlugCategory() override { return kPlugCategEffect; }
    void sampleRateChanged(float sampleRate) override;
    void parameterChanged(int32_t index, float value) override;

    const vr58::BuildConfig& buildConfig() const { return config_; }
    bool isMono() const { return monoFlag_; }
    uint32_t noiseSeed() const { return noise_.seed; }

private:
    template <typename Sample, bool kNoise>
    void runChain(Sample** inputs, Sample** outputs, int32_t sampleFrames, double trimGain, double outputGain,
                  double hissGain);
    template <typename Sample> void process(Sample** inputs, Sample** outputs, int32_t sampleFrames);

    void recomputeHeadBump();
    void recomputeEqualisers();

    const vr58::BuildConfig& config_;
    vr58::HighPassFilter bumpHighPass_[2];
    vr58::PeakingFilter bumpPeak_[2];
    vr58::LowShelfFilter recordLow_[2];
    vr58::HighShelfFilter recordHigh_[2];
    vr58::LowShelfFilter reproLow_[2];
    vr58::HighShelfFilter reproHigh_[2];
    vr58::NoiseGenerator noise_;
    bool monoFlag_ = false;
};
