#include "engine/tape_effect.h"

#include "engine/parameter_listener.h"
#include "engine/platform/noise_seed.h"
#include "tape/denormal_guard.h"
#include "tape/parameter_mapping.h"
#include "tape/tape_chain.h"

#include <cmath>
#include <cstring>

namespace vr58 {

namespace {

// NaN fails both comparisons; storing it would poison every filter state for good, so it becomes 0.
float clampNormalised(float value) {
    if (!(value >= 0.0f)) return 0.0f;
    if (value > 1.0f) return 1.0f;
    return value;
}

// The chunk word whose bytes in memory are the value's little-endian IEEE-754 single.
uint32_t littleEndianWord(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    bits = __builtin_bswap32(bits);
#endif
    return bits;
}

float readLittleEndianFloat(const unsigned char* in) {
    uint32_t bits = 0;
    for (int byte = 0; byte < 4; ++byte) bits |= static_cast<uint32_t>(in[byte]) << (8 * byte);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

thread_local const char tChunkSaverKey = 0;

} // namespace

TapeEffect::TapeEffect(const BuildConfig& build)
    : build_(build), sibling_(siblingBuild(build)), values_(new std::atomic<float>[build.parameterCount]),
      chunkWords_(new uint32_t[kChunkSlots * build.parameterCount]()) {
    for (int32_t i = 0; i < build.parameterCount; ++i)
        values_[i].store(build.parameters[i].defaultValue, std::memory_order_relaxed);
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
}

float TapeEffect::setParameter(int32_t index, float value) {
    if (!isParameterIndex(index)) return 0.0f;
    const float stored = clampNormalised(value);
    values_[index].store(stored, std::memory_order_relaxed);
    if (index >= kEqCurve && index <= kEqRepHi)
        markStale(kEqualisersStale);
    else if (index == kHead || index == kBump || index == build_.hbAttIndex)
        markStale(kHeadBumpStale);
    return stored;
}

float TapeEffect::parameter(int32_t index) const {
    return isParameterIndex(index) ? values_[index].load(std::memory_order_relaxed) : 0.0f;
}

bool TapeEffect::setSampleRate(float rate) {
    // Zero, negative and non-finite rates would turn every coefficient into NaN: keep the last good one.
    if (!(rate > 0.0f) || !std::isfinite(rate)) return false;
    sampleRate_.store(rate, std::memory_order_relaxed);
    markStale(kHeadBumpStale | kEqualisersStale);
    return true;
}

uint32_t* TapeEffect::chunkSlotOfThisThread() {
    const int32_t count = build_.parameterCount;
    const void* key = &tChunkSaverKey;
    for (int slot = 0; slot < kChunkSlots; ++slot)
        if (chunkSlotOwners_[slot].load(std::memory_order_relaxed) == key) return &chunkWords_[slot * count];
    for (int slot = 0; slot < kChunkSlots; ++slot) {
        const void* unowned = nullptr;
        if (chunkSlotOwners_[slot].compare_exchange_strong(unowned, key, std::memory_order_relaxed))
            return &chunkWords_[slot * count];
    }
    // More live saving threads than slots: they share the last one, still written a whole value at a time.
    return &chunkWords_[(kChunkSlots - 1) * count];
}

int32_t TapeEffect::getChunk(void** data) {
    if (build_.parameterCount == 0) return 0;
    uint32_t* words = chunkSlotOfThisThread();
    for (int32_t i = 0; i < build_.parameterCount; ++i)
        __atomic_store_n(&words[i], littleEndianWord(parameter(i)), __ATOMIC_RELAXED);
    *data = words;
    return 4 * build_.parameterCount;
}

void TapeEffect::setChunk(const void* data, int32_t byteSize, ParameterListener* changed) {
    if (!data || byteSize <= 0) return;
    const auto* bytes = static_cast<const unsigned char*>(data);
    const auto store = [&](int32_t index, float value) {
        const float stored = setParameter(index, value);
        if (changed) changed->setParameter(index, stored);
    };
    const int32_t count = build_.parameterCount;
    if (sibling_ && sibling_->parameterCount != count && byteSize == 4 * sibling_->parameterCount) {
        for (int32_t i = 0; i < count; ++i)
            for (int32_t j = 0; j < sibling_->parameterCount; ++j)
                if (std::strcmp(build_.parameters[i].name, sibling_->parameters[j].name) == 0)
                    store(i, readLittleEndianFloat(&bytes[4 * j]));
        return;
    }
    const int32_t present = byteSize / 4 < count ? byteSize / 4 : count;
    for (int32_t i = 0; i < present; ++i) store(i, readLittleEndianFloat(&bytes[4 * i]));
}

void TapeEffect::setNoiseSeed(uint32_t seed) {
    pendingSeed_.store(kSeedPending | seed, std::memory_order_release);
}

void TapeEffect::markStale(uint32_t designs) {
    // Release: the audio thread that takes the mark also sees the values stored before it.
    staleDesigns_.fetch_or(designs, std::memory_order_release);
}

// Audio thread, before the block's first sample. A change arriving meanwhile marks the design again, and
// the next block makes it once more with the newest values.
void TapeEffect::redesignStaleSections() {
    const uint32_t stale = staleDesigns_.exchange(0, std::memory_order_acquire);
    if (stale & kHeadBumpStale) recomputeHeadBump();
    if (stale & kEqualisersStale) recomputeEqualisers();
}

void TapeEffect::recomputeHeadBump() {
    const double rate = sampleRate();
    const HeadBumpDesign d = headBumpDesign(parameter(kHead), parameter(kBump), parameter(build_.hbAttIndex));
    for (int ch = 0; ch < 2; ++ch)
        designHighPass(bumpHighPass_[ch], limitBelowNyquist(d.highPassHz, rate), rate);
    for (int ch = 0; ch < 2; ++ch)
        designPeaking(bumpPeak_[ch], d.gainDb, d.bandwidthOctaves, limitBelowNyquist(d.centreHz, rate), rate);
}

void TapeEffect::recomputeEqualisers() {
    const double rate = sampleRate();
    const EqualiserDesign d = equaliserDesign(parameter(kEqCurve), parameter(kEqRecLo), parameter(kEqRecHi),
                                              parameter(kEqRepLo), parameter(kEqRepHi));
    const double lowCorner = limitBelowNyquist(d.lowCornerHz, rate);
    const double highCorner = limitBelowNyquist(d.highCornerHz, rate);
    for (int ch = 0; ch < 2; ++ch) designLowShelf(recordLow_[ch], d.recordLowDb, lowCorner, rate);
    for (int ch = 0; ch < 2; ++ch) designHighShelf(recordHigh_[ch], d.recordHighDb, highCorner, rate);
    for (int ch = 0; ch < 2; ++ch) designLowShelf(reproLow_[ch], d.reproLowDb, lowCorner, rate);
    for (int ch = 0; ch < 2; ++ch) designHighShelf(reproHigh_[ch], d.reproHighDb, highCorner, rate);
}

void TapeEffect::resetNonFiniteChannels() {
    for (int ch = 0; ch < 2; ++ch) {
        // A NaN or an infinity anywhere survives the sum.
        const double sum = recordLow_[ch].s + recordHigh_[ch].s + bumpHighPass_[ch].x1 +
                           bumpHighPass_[ch].y1 + bumpPeak_[ch].x1 + bumpPeak_[ch].x2 + bumpPeak_[ch].y1 +
                           bumpPeak_[ch].y2 + reproLow_[ch].s + reproHigh_[ch].s;
        if (sum - sum != 0.0) clearChannel(ch);
    }
}

void TapeEffect::clearChannel(int ch) {
    recordLow_[ch].s = recordHigh_[ch].s = reproLow_[ch].s = reproHigh_[ch].s = 0.0;
    bumpHighPass_[ch].x1 = bumpHighPass_[ch].y1 = 0.0;
    bumpPeak_[ch].x1 = bumpPeak_[ch].x2 = bumpPeak_[ch].y1 = bumpPeak_[ch].y2 = 0.0;
}

void TapeEffect::clearFilterHistory() {
    for (int ch = 0; ch < 2; ++ch) clearChannel(ch);
}

template <typename Sample> void TapeEffect::run(Sample** inputs, Sample** outputs, int32_t frames) {
    DenormalGuard flushSubnormals; // the caller's control word and flags come back on return
    const double trimGain = decibelsToGain(trimOrGainDb(parameter(kTrim)));
    const double outputGain = decibelsToGain(trimOrGainDb(parameter(kGain)));
    const double hissGain = decibelsToGain(hissDb(parameter(kHiss)));
    const bool hissOn = noiseOn(parameter(build_.noiseIndex));
    if (frames <= 0) return;
    redesignStaleSections(); // every design value is a normal number: flushing changes none
    if (const uint64_t seed = pendingSeed_.exchange(0, std::memory_order_acquire); seed & kSeedPending)
        noise_.seed = static_cast<uint32_t>(seed);
    const TapeSections sections{recordLow_, recordHigh_, bumpHighPass_, bumpPeak_, reproLow_, reproHigh_};
    const BlockSettings settings{trimGain, outputGain, hissGain, hissOn};
    // The face's meters are fed only while it shows them; the build without a face never starts them.
    if (build_.vuPathIndex >= 0 && meterFeed_.running()) {
        MeterFeed::Block block = meterFeed_.beginBlock(sampleRate());
        const MeterTap meter{&block, meterReadsOutput(parameter(build_.vuPathIndex)), isMono()};
        runTapeChain(sections, noise_, settings, meter, inputs, outputs, frames);
        meterFeed_.endBlock(block);
    } else {
        runTapeChain(sections, noise_, settings, MeterTap{nullptr, false, false}, inputs, outputs, frames);
    }
    resetNonFiniteChannels();
}

void TapeEffect::process(float** inputs, float** outputs, int32_t frames) {
    run(inputs, outputs, frames);
}

void TapeEffect::process(double** inputs, double** outputs, int32_t frames) {
    run(inputs, outputs, frames);
}

} // namespace vr58
