#include "engine/parameter_setting.h"

#include "engine/cli_error.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <tuple>
#include <utility>

namespace vr58::tool {

namespace {

// A number, alone or followed by a unit the plug-ins use, or a word of letters (a switch position). Only
// the form is checked here; the plug-in's own table decides whether it names a value.
bool looksLikeUnitValue(const std::string& text) {
    const bool letters = !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isalpha(c) || c == ' ';
    });
    if (letters) return true;
    // A typographic minus before the number (U+2212).
    const size_t start = text.rfind("\xE2\x88\x92", 0) == 0 ? 3 : 0;
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str() + start, &end);
    if (end == text.c_str() + start || errno == ERANGE || !std::isfinite(value)) return false;
    if (start == 3 && (text[3] == '-' || text[3] == '+')) return false;
    std::string unit(end);
    unit.erase(std::remove(unit.begin(), unit.end(), ' '), unit.end());
    std::transform(unit.begin(), unit.end(), unit.begin(), [](unsigned char c) { return std::tolower(c); });
    return unit.empty() || unit == "db" || unit == "hz";
}

std::pair<std::string, std::string> splitSetting(const std::string& option, const std::string& text) {
    const size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0)
        throw UsageError(option, "'" + text + "' is not NAME=VALUE");
    return {text.substr(0, equals), text.substr(equals + 1)};
}

} // namespace

ParameterSetting parseParameterSetting(const std::string& text) {
    ParameterSetting setting;
    std::string value;
    std::tie(setting.name, value) = splitSetting("--set", text);
    if (!looksLikeUnitValue(value))
        throw UsageError("--set",
                         "value of '" + setting.name + "' is not a value: '" + value +
                             "' (give it in the parameter's units, as vr58 info shows them: -3, +3dB, "
                             "85Hz, NAB, off)");
    setting.unitText = value;
    return setting;
}

ParameterSetting parseNormalisedSetting(const std::string& text) {
    ParameterSetting setting;
    std::string number;
    std::tie(setting.name, number) = splitSetting("--set-normalised", text);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(number.c_str(), &end);
    if (number.empty() || *end != '\0' || errno == ERANGE || !std::isfinite(value))
        throw UsageError("--set-normalised",
                         "value of '" + setting.name + "' is not a number: '" + number + "'");
    if (value < 0.0 || value > 1.0)
        throw UsageError("--set-normalised", "value of '" + setting.name + "' must lie in 0..1, got " +
                                                 number +
                                                 " (a value in the parameter's units goes with --set)");
    setting.value = static_cast<float>(value);
    return setting;
}

std::vector<ParameterSetting> parseSettingArguments(const std::vector<std::string>& args) {
    std::vector<ParameterSetting> settings;
    const std::string* firstPositional = nullptr;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || arg[0] != '-') {
            if (!firstPositional) firstPositional = &arg;
            continue;
        }
        const size_t equals = arg.find('=');
        const bool hasInline = arg.rfind("--", 0) == 0 && equals != std::string::npos;
        const std::string name = hasInline ? arg.substr(0, equals) : arg;
        if (name != "--set" && name != "--set-normalised")
            throw UsageError(name, "only --set and --set-normalised may follow a preset's name");
        if (!hasInline && i + 1 == args.size()) throw UsageError(name, "needs a value");
        const std::string value = hasInline ? arg.substr(equals + 1) : args[++i];
        settings.push_back(name == "--set" ? parseParameterSetting(value) : parseNormalisedSetting(value));
    }
    if (firstPositional) throw UsageError(*firstPositional, "is not a --set option");
    return settings;
}

} // namespace vr58::tool
