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
