// The tape machine of one plug-in instance, in no plug-in format: record equaliser, hiss, erf saturation,
// head bump and repro equaliser on two channels, its parameter values, the state chunk, the meter feed and
// the noise seed, configured for one of the two builds. Format adapters (VST 2.4, LV2) turn their hosts'
// calls into these.
#pragma once

#include "engine/build_config.h"
#include "tape/filter_sections.h"
#include "tape/meter_feed.h"
#include "tape/noise_generator.h"

#include <atomic>
#include <cstdint>
#include <memory>

namespace vr58 {

class ParameterListener;

class TapeEffect {
public:
    // Host instantiation thread.
    explicit TapeEffect(const BuildConfig& build);
    TapeEffect(const TapeEffect&) = delete;
    TapeEffect& operator=(const TapeEffect&) = delete;

    // Any thread.
    const BuildConfig& build() const { return build_; }
    // Any thread.
    int32_t parameterCount() const { return build_.parameterCount; }
    // Any thread.
    bool isParameterIndex(int32_t index) const { return index >= 0 && index < build_.parameterCount; }

    // Any thread, also during a process call: stores the value clamped into 0..1 (NaN becomes 0) and
    // marks the designs it drives stale; returns the stored value, 0 for an index outside the table.
    float setParameter(int32_t index, float value);
    // Any thread; reads only (0 for an index outside the table).
    float parameter(int32_t index) const;

    // Any thread, also during a process call; a rate that is not a positive finite number is refused
    // (false) and the last good one kept.
    bool setSampleRate(float rate);
    // Any thread.
    float sampleRate() const { return sampleRate_.load(std::memory_order_relaxed); }

    // Any thread; two threads may save at once, each gets a snapshot nobody else writes into. The words
    // are the values' little-endian IEEE-754 singles in table order; returns the size in bytes.
    int32_t getChunk(void** data);
    // Any thread. A chunk of exactly the other build's size is read by parameter name (what it lacks keeps
    // our value); any other restores the values it holds and no more. Each stored value is told to
    // `changed` when given, on this thread.
    void setChunk(const void* data, int32_t byteSize, ParameterListener* changed = nullptr);

    // Host audio thread: no allocation, lock or system call. Reads frames of both inputs before writing
    // those of the outputs, so the buffers may be shared.
    void process(float** inputs, float** outputs, int32_t frames);
    void process(double** inputs, double** outputs, int32_t frames);

    // Host control thread, while not processing: one channel in and out (the meter reads the left one).
    void setMono(bool mono) { mono_.store(mono, std::memory_order_relaxed); }
    // Any thread.
    bool isMono() const { return mono_.load(std::memory_order_relaxed); }
    // Any thread: the hiss continues from this seed at the next process call.
    void setNoiseSeed(uint32_t seed);
    // Any thread; the seed the hiss started from (a new instance's comes from the clock).
    uint32_t noiseSeed() const { return noise_.seed; }
    // Host control thread, never during a process call: the filters start again from silence, as in a
    // fresh instance. The hiss runs on; a fresh instance's would start from a new seed anyway.
    void clearFilterHistory();
    // Any thread; fed by the process calls while it runs (the face's meters are shown), read on the face's
    // thread.
    MeterFeed& meterFeed() { return meterFeed_; }

private:
    template <typename Sample> void run(Sample** inputs, Sample** outputs, int32_t frames);

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
    uint32_t* chunkSlotOfThisThread();

    const BuildConfig& build_;
    const BuildConfig* sibling_; // the other build, whose chunks hosts hand us under our shared ID
    std::unique_ptr<std::atomic<float>[]> values_;
    std::atomic<float> sampleRate_{44100.0f};
    HighPassFilter<double> bumpHighPass_[2];
    PeakingFilter<double> bumpPeak_[2];
    LowShelfFilter<double> recordLow_[2];
    HighShelfFilter<double> recordHigh_[2];
    LowShelfFilter<double> reproLow_[2];
    HighShelfFilter<double> reproHigh_[2];
    NoiseGenerator noise_;
    std::atomic<bool> mono_{false};
    std::atomic<uint32_t> staleDesigns_{0};
    // A seed asked for from any thread, taken by the audio thread before its next block: the seed in the
    // low 32 bits, kSeedPending above them.
    static constexpr uint64_t kSeedPending = uint64_t{1} << 32;
    std::atomic<uint64_t> pendingSeed_{0};
    MeterFeed meterFeed_;
    // Chunk buffers made once, so saving state never allocates and never leaks: one slot per saving
    // thread, so a host copying its chunk is never written under by another thread's save. A slot is
    // owned by the address of a thread-local key, which a later thread may inherit once the owner ended.
    static constexpr int kChunkSlots = 8;
    std::unique_ptr<uint32_t[]> chunkWords_;
    std::atomic<const void*> chunkSlotOwners_[kChunkSlots] = {};
};

} // namespace vr58
