// The VU meter's and peak LED's state, owned by the effect: the audio thread writes it, the editor's views
// read it when they draw. The audio thread therefore never touches view memory and never waits for the
// user-interface thread, and closing the editor needs no hand-over with a running process call.
//
// Ballistics: the classic VU low-pass wn^2 / (s^2 + 2 zeta wn s + wn^2), wn^2 = 182.57144161 (2.15 Hz),
// 2 zeta wn = 21.96224226 (zeta 0.813), by the bilinear transform without prewarping; unity gain at 0 Hz,
// 99 % of a step after 300 ms, 1.25 % overshoot; run as a biquad (tape/biquad.h).
#pragma once

#include "tape/biquad.h"

#include <atomic>
#include <cstdint>

namespace vr58 {

using VuBallistics = Biquad<double>;

// Clears the state and sets the coefficients. A rate that is not a positive finite number is taken as
// 44100 Hz, so the filter never holds non-finite coefficients.
void designVuBallistics(VuBallistics& f, double sampleRate);

// One sample; returns the new output y1.
inline double stepVuBallistics(VuBallistics& f, double x) {
    return processSample(f, x);
}

// What the filter is given for a meter value: NaN as 0 and the infinities as +-kMeterCeiling, so one broken
// sample cannot latch the filter; every finite value up to the ceiling (+180 dBFS) enters unchanged.
inline constexpr double kMeterCeiling = 1e9;
inline double filterableMeterValue(double m) {
    const double clamped = m > kMeterCeiling ? kMeterCeiling : (m < -kMeterCeiling ? -kMeterCeiling : m);
    return clamped == clamped ? clamped : 0.0;
}

class MeterFeed {
public:
    // The audio thread's work on one process call: a private copy of the filter and the block's peak,
    // published together by endBlock.
    class Block {
    public:
        // Once per audio frame: five multiplications and a few compares. NaN never raises the peak
        // (the comparison fails); +inf does, so it counts as an over.
        void push(double m) {
            peak_ = m > peak_ ? m : peak_;
            stepVuBallistics(filter_, filterableMeterValue(m));
        }
        double smoothedLevel() const { return filter_.y1; }

    private:
        friend class MeterFeed;
        Block(const VuBallistics& filter, uint32_t generation) : filter_(filter), generation_(generation) {}

        VuBallistics filter_;
        double peak_ = 0.0;
        uint32_t generation_;
    };

    MeterFeed();

    // User-interface thread, editor open and close.
    // Fresh ballistics (designed at the audio thread's rate at its next block) and peak; feeding on. A
    // block in flight at the time is discarded rather than published into the fresh state.
    void start();
    // Feeding off: the audio thread stops writing from its next block on.
    void stop() { running_.store(false, std::memory_order_release); }
    bool running() const { return running_.load(std::memory_order_acquire); }

    // User-interface thread, views' drawing.
    // The latest smoothed level the audio thread published (0 after start()).
    double smoothedLevel() const { return level_.load(std::memory_order_relaxed); }
    // The largest meter value since the last call, then 0.
    double takePeak() { return peak_.exchange(0.0, std::memory_order_relaxed); }
    // User-interface thread, where the audio runs elsewhere and its level arrives already smoothed (a
    // UI reading the effect's meter ports): what endBlock publishes. Ignored while feeding is off.
    void publish(double level, double peak);

    // Audio thread, once per process call while running(); lock-free, allocation-free.
    // Applies a pending start() or a new sample rate (both give a cleared filter).
    Block beginBlock(double sampleRate);
    // Publishes the block's level and raises the peak to the block's maximum.
    void endBlock(const Block& block);

private:
    // Audio thread only.
    VuBallistics filter_;
    double designedRate_ = 0.0;
    uint32_t appliedGeneration_;

    std::atomic<uint32_t> generation_{1};
    std::atomic<bool> running_{false};
    std::atomic<double> level_{0.0};
    std::atomic<double> peak_{0.0};
};

} // namespace vr58
