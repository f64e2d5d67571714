// Peak and RMS levels of a planar signal, and the demo's level report.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vr58::tool {

struct ChannelLevels {
    double peak = 0.0; // largest magnitude, linear
    double rms = 0.0;  // root mean square, linear
};

std::vector<ChannelLevels> measureLevels(const std::vector<std::vector<double>>& planar);

// The levels of interleaved frames as they stream past.
class LevelMeter {
public:
    explicit LevelMeter(size_t channels) : peaks_(channels, 0.0), sums_(channels, 0.0) {}
    void add(const double* interleaved, size_t frames);
    std::vector<ChannelLevels> channels() const;
    long long samples() const { return frames_ * static_cast<long long>(peaks_.size()); }
    // Samples beyond full scale, which an integer format cannot hold.
    long long clipped() const { return clipped_; }

private:
    std::vector<double> peaks_;
    std::vector<double> sums_;
    long long frames_ = 0;
    long long clipped_ = 0;
};

// "peak -1.2 dBFS, RMS -18.0 dBFS" for one channel; "peak L -1.2, R -0.9 dBFS, RMS L -18.0, R -17.7 dBFS"
// for two (channels 1, 2, ... for more).
std::string describeLevels(const std::vector<ChannelLevels>& channels);

// Decibels relative to full scale; "-inf" for silence.
std::string formatDbfs(double linear);

struct LevelReportRow {
    std::string file;
    std::vector<ChannelLevels> channels;
};

// One line per file and channel: file, channel, peak dBFS, RMS dBFS.
void printLevelReport(std::ostream& out, const std::vector<LevelReportRow>& rows);

} // namespace vr58::tool
