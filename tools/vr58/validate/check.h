// One row of the validator's summary: a named group of cases, how many ran, how many failed, and the
// first few failures in words.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vr58::validate {

class Check {
public:
    explicit Check(std::string name) : name_(std::move(name)) {}

    // Counts one case; a failed one keeps its description (built only on failure) for the report.
    template <typename Describe> bool expect(bool ok, Describe&& describe) {
        ++cases_;
        if (!ok) {
            ++failures_;
            if (examples_.size() < kExamples) examples_.push_back(describe());
        }
        return ok;
    }
    // The check could not run here; the summary says so instead of passing silently.
    void skip(std::string reason) { skipReason_ = std::move(reason); }

    const std::string& name() const { return name_; }
    long cases() const { return cases_; }
    long failures() const { return failures_; }
    bool skipped() const { return !skipReason_.empty(); }
    const std::string& skipReason() const { return skipReason_; }
    const std::vector<std::string>& examples() const { return examples_; }

private:
    static constexpr size_t kExamples = 4;
    std::string name_;
    long cases_ = 0;
    long failures_ = 0;
    std::string skipReason_;
    std::vector<std::string> examples_;
};

// A share of the run's time budget: checks with open-ended cases (random fuzz, threads) run until it ends.
class Budget {
public:
    explicit Budget(double seconds)
        : end_(std::chrono::steady_clock::now() +
               std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                   std::chrono::duration<double>(seconds))) {}
    bool left() const { return std::chrono::steady_clock::now() < end_; }
    double secondsLeft() const {
        const auto left = std::chrono::duration<double>(end_ - std::chrono::steady_clock::now()).count();
        return left > 0.0 ? left : 0.0;
    }

private:
    std::chrono::steady_clock::time_point end_;
};

// Small deterministic generator (the run repeats for a given --seed).
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint64_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    uint32_t below(uint32_t limit) { return static_cast<uint32_t>(next() % limit); }
    double uniform(double low, double high) { return low + (high - low) * ((next() >> 11) * 0x1.0p-53); }

private:
    uint64_t state_;
};

} // namespace vr58::validate
