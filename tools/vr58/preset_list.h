// The list of presets kept as text: one preset a line, its name in double quotes followed by the same
// --set options the command line takes; blank lines and lines starting with '#' are skipped.
#pragma once

#include "arguments.h"

#include <string>
#include <vector>

namespace vr58::tool {

struct PresetEntry {
    std::string name;
    std::vector<ParameterSetting> settings;
    int line = 0;
};

// Whitespace-separated words; double quotes group words with spaces and are removed. Throws CliError
// on an unterminated quote.
std::vector<std::string> splitWords(const std::string& text);

// A preset name becomes a file name and the 27 characters a preset file holds: printable, no path or
// quoting characters. Returns the reason it cannot be one, or an empty string.
std::string presetNameProblem(const std::string& name);

// Every entry of the list, checked as a whole: errors name "FILE:LINE" and the reason.
std::vector<PresetEntry> readPresetList(const std::string& path);

} // namespace vr58::tool
