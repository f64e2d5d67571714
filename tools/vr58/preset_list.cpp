#include "preset_list.h"

#include "cli_error.h"
#include "host/fxp_preset.h"

#include <fstream>
#include <set>

namespace vr58::tool {

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r')) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted) throw CliError("preset list", "a double quote is not closed");
    if (inWord) words.push_back(word);
    return words;
}

std::string presetNameProblem(const std::string& name) {
    if (name.empty()) return "the name is empty";
    if (name.size() > host::kFxpNameSize - 1)
        return "the name '" + name + "' is longer than " + std::to_string(host::kFxpNameSize - 1) +
               " characters";
    for (char c : name)
        if (c < 0x20 || c > 0x7e || std::string("/\\:*?\"<>|").find(c) != std::string::npos)
            return "the name '" + name + "' holds a character that cannot stand in a file name";
    if (name.front() == '.' || name.front() == ' ' || name.back() == ' ' || name.back() == '.')
        return "the name '" + name + "' starts or ends with a space or a dot";
    return {};
}

std::vector<PresetEntry> readPresetList(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw CliError(path, "cannot read the preset list");
    std::vector<PresetEntry> entries;
    std::set<std::string> names;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        const std::string where = path + ":" + std::to_string(lineNumber);
        const size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#') continue;
        try {
            const std::vector<std::string> words = splitWords(line);
            PresetEntry entry;
            entry.name = words.front();
            entry.line = lineNumber;
            if (const std::string problem = presetNameProblem(entry.name); !problem.empty())
                throw CliError("preset", problem);
            if (!names.insert(entry.name).second)
                throw CliError("preset", "the name '" + entry.name + "' is used twice");
            entry.settings = parseSettingArguments({words.begin() + 1, words.end()});
            entries.push_back(std::move(entry));
        } catch (const CliError& error) {
            throw CliError(where, error.what());
        }
    }
    if (in.bad()) throw CliError(path, "cannot read the preset list");
    if (entries.empty()) throw CliError(path, "holds no presets");
    return entries;
}

} // namespace vr58::tool
