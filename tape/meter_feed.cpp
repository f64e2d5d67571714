#include "tape/meter_feed.h"

#include <cmath>

namespace vr58 {

static_assert(std::atomic<double>::is_always_lock_free, "the meter feed must be lock-free");
static_assert(std::atomic<uint32_t>::is_always_lock_free, "the meter feed must be lock-free");

void designVuBallistics(VuBallistics& f, double sampleRate) {
    if (!(sampleRate > 0.0) || !std::isfinite(sampleRate)) sampleRate = 44100.0;
    f.x1 = f.x2 = f.y1 = f.y2 = 0.0;
    const double T = 1.0 / sampleRate;
    const double A = 43.92448452 * T;
    const double B = 182.57144161000002 * T * T;
    const double D = A + 4.0 + B;
    f.a2 = ((4.0 - A) + B) / D;
    f.a1 = (365.14288322000004 * T * T - 8.0) / D; // (2B - 8) / D
    f.b0 = B / D;
    f.b2 = B / D;
    f.b1 = (2.0 * B) / D;
}

MeterFeed::MeterFeed() : appliedGeneration_(0) {
    designVuBallistics(filter_, 0.0);
}

// The generation moves first and the published values are cleared after it: an endBlock that publishes
// concurrently either sees the new generation and clears behind itself, or its stores come before these.
void MeterFeed::start() {
    generation_.fetch_add(1);
    level_.store(0.0);
    peak_.store(0.0);
    running_.store(true, std::memory_order_release);
}

void MeterFeed::publish(double level, double peak) {
    if (!running()) return;
    level_.store(level);
    double current = peak_.load();
    while (peak > current && !peak_.compare_exchange_weak(current, peak)) {
    }
}

MeterFeed::Block MeterFeed::beginBlock(double sampleRate) {
    const uint32_t generation = generation_.load(std::memory_order_acquire);
    if (generation != appliedGeneration_ || sampleRate != designedRate_) {
        designVuBallistics(filter_, sampleRate);
        designedRate_ = sampleRate;
        appliedGeneration_ = generation;
    }
    return Block(filter_, generation);
}

void MeterFeed::endBlock(const Block& block) {
    if (block.generation_ != generation_.load()) return; // started afresh meanwhile: the block is stale
    filter_ = block.filter_;
    level_.store(block.filter_.y1);
    double current = peak_.load();
    while (block.peak_ > current && !peak_.compare_exchange_weak(current, block.peak_)) {
    }
    if (block.generation_ != generation_.load()) {
        // A start() ran while this block was being published: leave the fresh state it made.
        level_.store(0.0);
        peak_.store(0.0);
    }
}

} // namespace vr58
