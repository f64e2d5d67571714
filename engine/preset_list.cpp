#include "engine/preset_list.h"

#include "engine/cli_error.h"
#include "engine/factory_preset_list.h"
#include "engine/fxp_preset.h"

#include <cctype>

#include <fstream>
#include <set>
#include <sstream>

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
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw CliError(path, "cannot read the preset list");
    return parsePresetList(text.str(), path);
}

std::vector<PresetEntry> parsePresetList(const std::string& text, const std::string& source) {
    std::istringstream in(text);
    std::vector<PresetEntry> entries;
    std::set<std::string> names;
    std::string comment;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        const std::string where = source + ":" + std::to_string(lineNumber);
        const size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos) {
            comment.clear();
            continue;
        }
        if (line[start] == '#') {
            const size_t words = line.find_first_not_of("# \t", start);
            if (words != std::string::npos) comment += (comment.empty() ? "" : " ") + line.substr(words);
            continue;
        }
        try {
            const std::vector<std::string> words = splitWords(line);
            PresetEntry entry;
            entry.name = words.front();
            entry.line = lineNumber;
            entry.description = comment;
            comment.clear();
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
    if (entries.empty()) throw CliError(source, "holds no presets");
    return entries;
}

const std::vector<PresetEntry>& factoryPresets() {
    static const std::vector<PresetEntry> presets =
        parsePresetList(kFactoryPresetList, "factory-presets.txt");
    return presets;
}

const PresetEntry* findFactoryPreset(const std::string& name) {
    const auto lower = [](std::string text) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    const PresetEntry* caseless = nullptr;
    for (const PresetEntry& entry : factoryPresets()) {
        if (entry.name == name) return &entry;
        if (!caseless && lower(entry.name) == lower(name)) caseless = &entry;
    }
    return caseless;
}

} // namespace vr58::tool
