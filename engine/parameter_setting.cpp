#include "engine/parameter_setting.h"

#include "engine/cli_error.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vr58::tool {

namespace {

// A number followed by a unit the plug-ins use, or a word of letters (a switch position). Only the form is
// checked here; the plug-in's own table decides whether it names a value.
bool looksLikeUnitValue(const std::string& text, const char* numberEnd) {
    const bool letters = !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) {
        return std::isalpha(c) || c == ' ';
    });
    if (letters) return true;
    if (numberEnd == text.c_str()) {
        // A typographic minus before the number (U+2212).
        if (text.rfind("\xE2\x88\x92", 0) != 0) return false;
        char* end = nullptr;
        std::strtod(text.c_str() + 3, &end);
        if (end == text.c_str() + 3) return false;
        numberEnd = end;
    }
    std::string unit(numberEnd);
    unit.erase(std::remove(unit.begin(), unit.end(), ' '), unit.end());
    std::transform(unit.begin(), unit.end(), unit.begin(), [](unsigned char c) { return std::tolower(c); });
    return unit == "db" || unit == "hz";
}

} // namespace

ParameterSetting parseParameterSetting(const std::string& text) {
    const size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0)
        throw CliError("--set", "'" + text + "' is not NAME=VALUE");
    ParameterSetting setting;
    setting.name = text.substr(0, equals);
    const std::string number = text.substr(equals + 1);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(number.c_str(), &end);
    if (!number.empty() && *end == '\0') {
        if (errno == ERANGE || !std::isfinite(value))
            throw CliError("--set", "value of '" + setting.name + "' is not a number: '" + number + "'");
        if (value < 0.0 || value > 1.0)
            throw CliError("--set", "value of '" + setting.name + "' must lie in 0..1, got " + number +
                                        " (a bare number is normalised; a value in units carries its unit, "
                                        "as in Trim=+3dB)");
        setting.value = static_cast<float>(value);
        return setting;
    }
    if (!looksLikeUnitValue(number, end))
        throw CliError("--set", "value of '" + setting.name + "' is not a number: '" + number +
                                    "' (give 0..1, a value in dB or Hz such as +3dB or 85Hz, or a switch "
                                    "position such as NAB or off)");
    setting.unitText = number;
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
        if (name != "--set") throw CliError(name, "only --set may follow a preset's name");
        if (!hasInline && i + 1 == args.size()) throw CliError(name, "needs a value");
        settings.push_back(parseParameterSetting(hasInline ? arg.substr(equals + 1) : args[++i]));
    }
    if (firstPositional) throw CliError(*firstPositional, "is not a --set option");
    return settings;
}

} // namespace vr58::tool
