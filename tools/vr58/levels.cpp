#include "levels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vr58::tool {

std::vector<ChannelLevels> measureLevels(const std::vector<std::vector<double>>& planar) {
    std::vector<ChannelLevels> levels;
    for (const auto& channel : planar) {
        ChannelLevels level;
        double sumOfSquares = 0.0;
        for (double sample : channel) {
            level.peak = std::max(level.peak, std::fabs(sample));
            sumOfSquares += sample * sample;
        }
        level.rms = channel.empty() ? 0.0 : std::sqrt(sumOfSquares / static_cast<double>(channel.size()));
        levels.push_back(level);
    }
    return levels;
}

void LevelMeter::add(const double* interleaved, size_t frames) {
    const size_t channels = peaks_.size();
    for (size_t i = 0; i < frames; ++i) {
        for (size_t c = 0; c < channels; ++c) {
            const double sample = interleaved[i * channels + c];
            const double magnitude = std::fabs(sample);
            peaks_[c] = std::max(peaks_[c], magnitude);
            sums_[c] += sample * sample;
            if (magnitude > 1.0) ++clipped_;
        }
    }
    frames_ += static_cast<long long>(frames);
}

std::vector<ChannelLevels> LevelMeter::channels() const {
    std::vector<ChannelLevels> levels;
    for (size_t c = 0; c < peaks_.size(); ++c)
        levels.push_back({peaks_[c], frames_ > 0 ? std::sqrt(sums_[c] / static_cast<double>(frames_)) : 0.0});
    return levels;
}

std::string describeLevels(const std::vector<ChannelLevels>& channels) {
    // Above full scale reads with its sign: that is what matters about it.
    const auto dbfs = [](double linear) { return (linear > 1.0 ? "+" : "") + formatDbfs(linear); };
    const auto list = [&](double ChannelLevels::*field) {
        if (channels.size() == 1) return dbfs(channels.front().*field) + " dBFS";
        std::string text;
        for (size_t c = 0; c < channels.size(); ++c) {
            const std::string name = channels.size() == 2 ? (c == 0 ? "L" : "R") : std::to_string(c + 1);
            text += (c ? ", " : "") + name + " " + dbfs(channels[c].*field);
        }
        return text + " dBFS";
    };
    return "peak " + list(&ChannelLevels::peak) + ", RMS " + list(&ChannelLevels::rms);
}

std::string formatDbfs(double linear) {
    if (!(linear > 0.0)) return "-inf";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", 20.0 * std::log10(linear));
    return text;
}

void printLevelReport(std::ostream& out, const std::vector<LevelReportRow>& rows) {
    size_t width = 4;
    for (const auto& row : rows) width = std::max(width, row.file.size());
    char line[512];
    std::snprintf(line, sizeof line, "%-*s  %-2s  %9s  %9s\n", static_cast<int>(width), "file", "ch",
                  "peak dBFS", "RMS dBFS");
    out << line;
    for (const auto& row : rows) {
        for (size_t c = 0; c < row.channels.size(); ++c) {
            const char* name = row.channels.size() == 2 ? (c == 0 ? "L" : "R") : nullptr;
            const std::string channel = name ? name : std::to_string(c + 1);
            std::snprintf(line, sizeof line, "%-*s  %-2s  %9s  %9s\n", static_cast<int>(width),
                          c == 0 ? row.file.c_str() : "", channel.c_str(),
                          formatDbfs(row.channels[c].peak).c_str(), formatDbfs(row.channels[c].rms).c_str());
            out << line;
        }
    }
}

} // namespace vr58::tool
