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

// Decibels relative to full scale; "-inf" for silence.
std::string formatDbfs(double linear);

struct LevelReportRow {
    std::string file;
    std::vector<ChannelLevels> channels;
};

// One line per file and channel: file, channel, peak dBFS, RMS dBFS.
void printLevelReport(std::ostream& out, const std::vector<LevelReportRow>& rows);

} // namespace vr58::tool
