#include "tape/QuorvaneTapedeck.h"

#include "shell/platform/tick_count.h"
#include "shell/text_copy.h"
#include "tape/denormal_guard.h"
#include "tape/parameter_mapping.h"

#include <cmath>

using namespace vr58;

QuorvaneTapedeck::QuorvaneTapedeck(audioMasterCallback audioMaster, const BuildConfig& config)
    : QuorvaneFX(audioMaster, config.parameterCount), config_(config) {
    for (int ch = 0; ch < 2; ++ch) {
        bumpHighPass_[ch] = HighPassFilter{1.0, 0.0, 0.0, 0.0, 0.0};
        bumpPeak_[ch] = PeakingFilter{};
        recordLow_[ch] = LowShelfFilter{1.0, 0.0, 0.0};
        recordHigh_[ch] = HighShelfFilter{1.0, 0.0, 0.0};
        reproLow_[ch] = LowShelfFilter{1.0, 0.0, 0.0};
        reproHigh_[ch] = HighShelfFilter{1.0, 0.0, 0.0};
    }
    noise_.word = 0;
    noise_.seed = systemTickCount();
    loadParameterTable(config.parameters);
    cEffect.uniqueID = 0x56523538; // 'VR58'
    cEffect.numInputs = 2;
    cEffect.numOutputs = 2;
    cEffect.flags |= effFlagsCanReplacing | effFlagsProgramChunks | effFlagsCanDoubleReplacing;
}

bool QuorvaneTapedeck::getEffectName(char* name) {
    copyText(name, config_.productName, kVstMaxEffectNameLen);
    return true;
}

bool QuorvaneTapedeck::getProductString(char* text) {
    copyText(text, config_.productName, kVstMaxProductStrLen);
    return true;
}

bool QuorvaneTapedeck::setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) {
    if (!input || !output) return false;
    monoFlag_ = input->numChannels == 1 && output->numChannels == 1;
    return input->numChannels == output->numChannels && (input->numChannels == 1 || input->numChannels == 2);
}

void QuorvaneTapedeck::sampleRateChanged(float /*sampleRate*/) {
    recomputeHeadBump();
    recomputeEqualisers();
}

void QuorvaneTapedeck::parameterChanged(int32_t index, float /*value*/) {
    if (index >= kEqCurve && index <= kEqRepHi)
        recomputeEqualisers();
    else if (index == kHead || index == kBump || index == config_.hbAttIndex)
        recomputeHeadBump();
}

void QuorvaneTapedeck::recomputeHeadBump() {
    const double rate = sampleRate;
    const HeadBumpDesign d =
        headBumpDesign(getParameter(kHead), getParameter(kBump), getParameter(config_.hbAttIndex));
    for (int ch = 0; ch < 2; ++ch)
        designHighPass(bumpHighPass_[ch], limitBelowNyquist(d.highPassHz, rate), rate);
    for (int ch = 0; ch < 2; ++ch)
        designPeaking(bumpPeak_[ch], d.gainDb, d.bandwidthOctaves, limitBelowNyquist(d.centreHz, rate), rate);
}

void QuorvaneTapedeck::recomputeEqualisers() {
    const double rate = sampleRate;
    const EqualiserDesign d =
        equaliserDesign(getParameter(kEqCurve), getParameter(kEqRecLo), getParameter(kEqRecHi),
                        getParameter(kEqRepLo), getParameter(kEqRepHi));
    const double lowCorner = limitBelowNyquist(d.lowCornerHz, rate);
    const double highCorner = limitBelowNyquist(d.highCornerHz, rate);
    for (int ch = 0; ch < 2; ++ch) designLowShelf(recordLow_[ch], d.recordLowDb, lowCorner, rate);
    for (int ch = 0; ch < 2; ++ch) designHighShelf(recordHigh_[ch], d.recordHighDb, highCorner, rate);
    for (int ch = 0; ch < 2; ++ch) designLowShelf(reproLow_[ch], d.reproLowDb, lowCorner, rate);
    for (int ch = 0; ch < 2; ++ch) designHighShelf(reproHigh_[ch], d.reproHighDb, highCorner, rate);
}

template <typename Sample, bool kNoise>
void QuorvaneTapedeck::runChain(Sample** inputs, Sample** outputs, int32_t sampleFrames, double trimGain,
                                double outputGain, double hissGain) {
    const Sample* inL = inputs[0];
    const Sample* inR = inputs[1];
    Sample* outL = outputs[0];
    Sample* outR = outputs[1];
    for (int32_t i = 0; i < sampleFrames; ++i) {
        // Both inputs are read before either output is written: buffers may be shared.
        const double xL = static_cast<double>(inL[i]) * trimGain;
        const double xR = static_cast<double>(inR[i]) * trimGain;
        double uL = processSample(recordHigh_[0], processSample(recordLow_[0], xL));
        double uR = processSample(recordHigh_[1], processSample(recordLow_[1], xR));
        if constexpr (kNoise) {
            const float nL = noise_.draw();
            const float nR = noise_.draw();
            uL += static_cast<double>(nL) * hissGain;
            uR += static_cast<double>(nR) * hissGain;
        }
        const double sL = std::erf(uL);
        const double sR = std::erf(uR);
        const double bL = processSample(bumpPeak_[0], processSample(bumpHighPass_[0], sL));
        const double bR = processSample(bumpPeak_[1], processSample(bumpHighPass_[1], sR));
        const double yL = processSample(reproHigh_[0], processSample(reproLow_[0], bL)) * outputGain;
        const double yR = processSample(reproHigh_[1], processSample(reproLow_[1], bR)) * outputGain;
        outL[i] = static_cast<Sample>(yL);
        outR[i] = static_cast<Sample>(yR);
    }
}

template <typename Sample>
void QuorvaneTapedeck::process(Sample** inputs, Sample** outputs, int32_t sampleFrames) {
    const double trimGain = decibelsToGain(trimOrGainDb(getParameter(kTrim)));
    const double outputGain = decibelsToGain(trimOrGainDb(getParameter(kGain)));
    const double hissGain = decibelsToGain(hissDb(getParameter(kHiss)));
    const bool noiseOn = getParameter(config_.noiseIndex) != 0.0f;
    if (sampleFrames <= 0) return;
    DenormalGuard flushSubnormals;
    if (noiseOn)
        runChain<Sample, true>(inputs, outputs, sampleFrames, trimGain, outputGain, hissGain);
    else
        runChain<Sample, false>(inputs, outputs, sampleFrames, trimGain, outputGain, hissGain);
}

void QuorvaneTapedeck::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    process(inputs, outputs, sampleFrames);
}

void QuorvaneTapedeck::processDoubleReplacing(double** inputs, double** outputs, int32_t sampleFrames) {
    process(inputs, outputs, sampleFrames);
}
