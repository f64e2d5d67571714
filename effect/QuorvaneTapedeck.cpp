#include "effect/QuorvaneTapedeck.h"

#include "effect/platform/noise_seed.h"
#include "effect/vendor_requests.h"
#include "shell/AEffEditor.h"
#include "shell/text_copy.h"
#include "tape/denormal_guard.h"
#include "tape/parameter_mapping.h"
#include "tape/tape_chain.h"

#include <cmath>

using namespace vr58;

QuorvaneTapedeck::QuorvaneTapedeck(audioMasterCallback audioMaster, const BuildConfig& config)
    : QuorvaneFX(audioMaster, config.parameterCount), config_(config) {
    for (int ch = 0; ch < 2; ++ch) {
        bumpHighPass_[ch] = HighPassFilter<double>{1.0, 0.0, 0.0, 0.0, 0.0};
        bumpPeak_[ch] = PeakingFilter<double>{};
        recordLow_[ch] = LowShelfFilter<double>{1.0, 0.0, 0.0};
        recordHigh_[ch] = HighShelfFilter<double>{1.0, 0.0, 0.0};
        reproLow_[ch] = LowShelfFilter<double>{1.0, 0.0, 0.0};
        reproHigh_[ch] = HighShelfFilter<double>{1.0, 0.0, 0.0};
    }
    noise_.word = 0;
    noise_.seed = newInstanceNoiseSeed();
    loadParameterTable(config.parameters);
    if (const BuildConfig* sibling = siblingBuild(config))
        acceptSiblingChunks(sibling->parameters, sibling->parameterCount);
    cEffect.uniqueID = kUniqueId;
    cEffect.numInputs = 2;
    cEffect.numOutputs = 2;
    cEffect.flags |= effFlagsCanReplacing | effFlagsProgramChunks | effFlagsCanDoubleReplacing;
}

QuorvaneTapedeck::~QuorvaneTapedeck() {
    if (editor) editor->close();
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
    monoFlag_.store(input->numChannels == 1 && output->numChannels == 1, std::memory_order_relaxed);
    return input->numChannels == output->numChannels && (input->numChannels == 1 || input->numChannels == 2);
}

// Host control thread (effSetSampleRate), possibly while the audio thread processes.
void QuorvaneTapedeck::sampleRateChanged(float sampleRate) {
    designRate_.store(sampleRate, std::memory_order_relaxed);
    markStale(kHeadBumpStale | kEqualisersStale);
}

// Any host thread, or the editor's thread, after the base stored the value.
void QuorvaneTapedeck::parameterChanged(int32_t index, float /*value*/) {
    if (index >= kEqCurve && index <= kEqRepHi)
        markStale(kEqualisersStale);
    else if (index == kHead || index == kBump || index == config_.hbAttIndex)
        markStale(kHeadBumpStale);
}

intptr_t QuorvaneTapedeck::vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt) {
    if (index != vendor::kIndex || value != vendor::kSetNoiseSeed)
        return QuorvaneFX::vendorSpecific(index, value, ptr, opt);
    if (!ptr) return 0;
    pendingSeed_.store(kSeedPending | *static_cast<const uint32_t*>(ptr), std::memory_order_release);
    return 1;
}

void QuorvaneTapedeck::markStale(uint32_t designs) {
    // Release: the audio thread that takes the mark also sees the values stored before it.
    staleDesigns_.fetch_or(designs, std::memory_order_release);
}

// Audio thread, before the block's first sample. A change arriving meanwhile marks the design again, and
// the next block makes it once more with the newest values.
void QuorvaneTapedeck::redesignStaleSections() {
    const uint32_t stale = staleDesigns_.exchange(0, std::memory_order_acquire);
    if (stale & kHeadBumpStale) recomputeHeadBump();
    if (stale & kEqualisersStale) recomputeEqualisers();
}

void QuorvaneTapedeck::recomputeHeadBump() {
    const double rate = designRate_.load(std::memory_order_relaxed);
    const HeadBumpDesign d =
        headBumpDesign(getParameter(kHead), getParameter(kBump), getParameter(config_.hbAttIndex));
    for (int ch = 0; ch < 2; ++ch)
        designHighPass(bumpHighPass_[ch], limitBelowNyquist(d.highPassHz, rate), rate);
    for (int ch = 0; ch < 2; ++ch)
        designPeaking(bumpPeak_[ch], d.gainDb, d.bandwidthOctaves, limitBelowNyquist(d.centreHz, rate), rate);
}

void QuorvaneTapedeck::recomputeEqualisers() {
    const double rate = designRate_.load(std::memory_order_relaxed);
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

void QuorvaneTapedeck::resetNonFiniteChannels() {
    for (int ch = 0; ch < 2; ++ch) {
        // A NaN or an infinity anywhere survives the sum.
        const double sum = recordLow_[ch].s + recordHigh_[ch].s + bumpHighPass_[ch].x1 +
                           bumpHighPass_[ch].y1 + bumpPeak_[ch].x1 + bumpPeak_[ch].x2 + bumpPeak_[ch].y1 +
                           bumpPeak_[ch].y2 + reproLow_[ch].s + reproHigh_[ch].s;
        if (sum - sum != 0.0) clearChannel(ch);
    }
}

void QuorvaneTapedeck::clearChannel(int ch) {
    recordLow_[ch].s = recordHigh_[ch].s = reproLow_[ch].s = reproHigh_[ch].s = 0.0;
    bumpHighPass_[ch].x1 = bumpHighPass_[ch].y1 = 0.0;
    bumpPeak_[ch].x1 = bumpPeak_[ch].x2 = bumpPeak_[ch].y1 = bumpPeak_[ch].y2 = 0.0;
}

void QuorvaneTapedeck::clearFilterHistory() {
    for (int ch = 0; ch < 2; ++ch) clearChannel(ch);
}

template <typename Sample>
void QuorvaneTapedeck::process(Sample** inputs, Sample** outputs, int32_t sampleFrames) {
    DenormalGuard flushSubnormals; // the caller's control word and flags come back on return
    const double trimGain = decibelsToGain(trimOrGainDb(getParameter(kTrim)));
    const double outputGain = decibelsToGain(trimOrGainDb(getParameter(kGain)));
    const double hissGain = decibelsToGain(hissDb(getParameter(kHiss)));
    const bool hissOn = noiseOn(getParameter(config_.noiseIndex));
    if (sampleFrames <= 0) return;
    redesignStaleSections(); // every design value is a normal number: flushing changes none
    if (const uint64_t seed = pendingSeed_.exchange(0, std::memory_order_acquire); seed & kSeedPending)
        noise_.seed = static_cast<uint32_t>(seed);
    const TapeSections sections{recordLow_, recordHigh_, bumpHighPass_, bumpPeak_, reproLow_, reproHigh_};
    const BlockSettings settings{trimGain, outputGain, hissGain, hissOn};
    // The editor's meters are fed only while its window is open; the editor-less build never starts them.
    if (config_.vuPathIndex >= 0 && meterFeed_.running()) {
        MeterFeed::Block block = meterFeed_.beginBlock(designRate_.load(std::memory_order_relaxed));
        const MeterTap meter{&block, meterReadsOutput(getParameter(config_.vuPathIndex)),
                             monoFlag_.load(std::memory_order_relaxed)};
        runTapeChain(sections, noise_, settings, meter, inputs, outputs, sampleFrames);
        meterFeed_.endBlock(block);
    } else {
        runTapeChain(sections, noise_, settings, MeterTap{nullptr, false, false}, inputs, outputs,
                     sampleFrames);
    }
    resetNonFiniteChannels();
}

// Host audio thread.
void QuorvaneTapedeck::processReplacing(float** inputs, float** outputs, int32_t sampleFrames) {
    process(inputs, outputs, sampleFrames);
}

void QuorvaneTapedeck::processDoubleReplacing(double** inputs, double** outputs, int32_t sampleFrames) {
    process(inputs, outputs, sampleFrames);
}
