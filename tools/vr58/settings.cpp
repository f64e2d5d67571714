#include "settings.h"

#include "cli_error.h"

#include <cctype>
#include <cstdlib>

namespace vr58::tool {

namespace {

std::string lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// A switch whose positions are numbered (EQ Curve, VU Hold, VU Path, Noise) also takes the number of a
// position: 0 for the first. H.Room's positions are levels in dB, which its numbers already mean.
bool positionNumber(const ParameterUnits& units, int32_t index, const std::string& text, float& value) {
    const int32_t count = units.positionCount(index);
    if (count == 0 || units.positionMeaning(index, 0) != 0.0) return false;
    char* end = nullptr;
    const long k = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || k < 0 || k >= count) return false;
    value = units.positionValue(index, static_cast<int32_t>(k));
    return true;
}

} // namespace

int32_t findParameterByName(const std::vector<std::string>& names, const std::string& name) {
    int32_t caseless = -1;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) return static_cast<int32_t>(i);
        if (caseless < 0 && lower(names[i]) == lower(name)) caseless = static_cast<int32_t>(i);
    }
    return caseless;
}

std::vector<ResolvedSetting> resolveSettingList(const std::vector<std::string>& names,
                                                const ParameterUnits* units, std::vector<float> values,
                                                const std::vector<ParameterSetting>& settings) {
    // The last setting of each parameter, in the order the parameters were first named.
    std::vector<int32_t> order;
    std::vector<const ParameterSetting*> last(names.size(), nullptr);
    for (const ParameterSetting& setting : settings) {
        const int32_t index = findParameterByName(names, setting.name);
        if (index < 0) {
            std::string known;
            for (size_t i = 0; i < names.size(); ++i) known += (i ? ", " : "") + names[i];
            throw UsageError("--set", "unknown parameter '" + setting.name + "' (this plug-in has: " +
                                          (known.empty() ? "no parameters" : known) + ")");
        }
        if (setting.inUnits() && !units)
            throw UsageError("--set", setting.name + "=" + setting.unitText +
                                          ": this plug-in is not a VR58, its units are unknown; give the "
                                          "normalised value with --set-normalised NAME=0..1");
        if (!last[static_cast<size_t>(index)]) order.push_back(index);
        last[static_cast<size_t>(index)] = &setting;
    }
    for (int32_t index : order)
        if (!last[static_cast<size_t>(index)]->inUnits())
            values[static_cast<size_t>(index)] = last[static_cast<size_t>(index)]->value;
    // A value in units may depend on other parameters, and those never on one that depends on them: the
    // second pass reads every value against final ones, the third only checks and reports.
    for (int pass = 0; pass < 3; ++pass) {
        for (int32_t index : order) {
            const ParameterSetting& setting = *last[static_cast<size_t>(index)];
            if (!setting.inUnits()) continue;
            float value = 0.0f;
            if (positionNumber(*units, index, setting.unitText, value)) {
                values[static_cast<size_t>(index)] = value;
                continue;
            }
            const ParameterUnits::Parsed parsed = units->parse(index, setting.unitText, values.data());
            // + 0.0f: a range that falls (HB Att: 0 dB at 0, -2 dB at 1) reads its 0 as -0, which the
            // state would keep as a different value.
            if (parsed.ok)
                values[static_cast<size_t>(index)] = parsed.value + 0.0f;
            else if (pass == 2)
                throw UsageError("--set", parsed.error);
        }
    }
    std::vector<ResolvedSetting> resolved;
    for (int32_t index : order) resolved.push_back({index, values[static_cast<size_t>(index)]});
    return resolved;
}

std::vector<std::string> describeSettings(const BuildConfig& build,
                                          const std::vector<ParameterSetting>& settings) {
    const ParameterUnits& units = ParameterUnits::of(build);
    std::vector<std::string> names;
    std::vector<float> values;
    for (int32_t i = 0; i < build.parameterCount; ++i) {
        names.push_back(build.parameters[i].name);
        values.push_back(build.parameters[i].defaultValue);
    }
    const std::vector<ResolvedSetting> resolved = resolveSettingList(names, &units, values, settings);
    for (const ResolvedSetting& setting : resolved)
        values[static_cast<size_t>(setting.index)] = setting.value;
    std::vector<std::string> texts;
    for (const ResolvedSetting& setting : resolved)
        texts.push_back(units.format(setting.index, values.data()));
    return texts;
}

} // namespace vr58::tool
