// The list of presets kept as text: one preset a line, its name in double quotes followed by the same
// --set options the command line takes; blank lines and lines starting with '#' are skipped.
#pragma once

#include "engine/parameter_setting.h"

#include <string>
#include <vector>

namespace vr58::tool {

struct PresetEntry {
    std::string name;
    std::vector<ParameterSetting> settings;
    int line = 0;
    std::string description; // the comment lines just above the preset, joined
};

// Whitespace-separated words; double quotes group words with spaces and are removed. Throws CliError
// on an unterminated quote.
std::vector<std::string> splitWords(const std::string& text);

// A preset name becomes a file name and the 27 characters a preset file holds: printable, no path or
// quoting characters. Returns the reason it cannot be one, or an empty string.
std::string presetNameProblem(const std::string& name);

// Every entry of the list, checked as a whole: errors name "FILE:LINE" and the reason.
std::vector<PresetEntry> readPresetList(const std::string& path);
// The same for a list held as text; errors name "SOURCE:LINE".
std::vector<PresetEntry> parsePresetList(const std::string& text, const std::string& source);

// The factory presets of both plug-ins (presets/factory-presets.txt, built into the command).
const std::vector<PresetEntry>& factoryPresets();
// The factory preset of this name (exact, else ignoring case); null when there is none.
const PresetEntry* findFactoryPreset(const std::string& name);

} // namespace vr58::tool
