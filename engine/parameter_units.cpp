#include "engine/parameter_units.h"

#include "tape/parameter_mapping.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vr58 {

namespace {

using UnitRow = ParameterRecord;

constexpr int32_t kMaxParameterCount = std::max(kEditorParameterCount, kPlainParameterCount);

bool hasWords(const UnitRow& row) {
    return row.words[0] != nullptr;
}

int rowPositionCount(const UnitRow& row) {
    return row.positions;
}

// The normalised value a switch stores for position k: the editor's switch positions, evenly spread.
float rowPositionValue(const UnitRow& row, int k) {
    return static_cast<float>(k) / static_cast<float>(rowPositionCount(row) - 1);
}

int positionOf(const UnitRow& row, float value) {
    const double meaning = row.meaning(value);
    for (int k = 0; k < rowPositionCount(row); ++k)
        if (row.meaning(rowPositionValue(row, k)) == meaning) return k;
    return 0; // every value the store holds lands on one of the positions
}

std::string lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string trimmed(std::string_view text) {
    size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return std::string(text.substr(begin, end - begin));
}

// One decimal at most, no "-0", a '+' on positive levels (dB), none on frequencies.
std::string numberText(double value, bool signedLevel, bool typographicMinus) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    std::string out = text;
    if (out.size() > 2 && out.compare(out.size() - 2, 2, ".0") == 0) out.erase(out.size() - 2);
    if (out == "-0") out = "0";
    if (out[0] == '-') {
        if (typographicMinus) out.replace(0, 1, "\xE2\x88\x92");
    } else if (signedLevel && out != "0") {
        out.insert(0, "+");
    }
    return out;
}

std::string levelText(double value, const char* unit, bool typographicMinus = false) {
    return numberText(value, std::string_view(unit) == "dB", typographicMinus) + " " + unit;
}

// A number with an optional unit after it; false when the text is not one.
bool parseNumber(std::string_view text, const char* unit, double& value) {
    std::string number = trimmed(text);
    if (number.rfind("\xE2\x88\x92", 0) == 0) number.replace(0, 3, "-");
    if (number.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(number.c_str(), &end);
    if (end == number.c_str() || errno == ERANGE || !std::isfinite(value)) return false;
    const std::string rest = lower(trimmed(end));
    return rest.empty() || rest == lower(unit);
}

} // namespace

ParameterUnits::ParameterUnits(const BuildConfig& build) : build_(build) {
    for (int32_t i = 0; i < build.parameterCount; ++i)
        rows_.push_back(recordNamed(build.parameters[i].name));
}

const ParameterUnits& ParameterUnits::of(const BuildConfig& build) {
    static const ParameterUnits editor(kEditorBuild);
    static const ParameterUnits plain(kPlainBuild);
    return &build == &kPlainBuild ? plain : editor;
}

const ParameterUnits* ParameterUnits::matching(const std::vector<std::string>& names) {
    for (const BuildConfig* build : {&kEditorBuild, &kPlainBuild}) {
        if (names.size() != build->parameterCount) continue;
        bool same = true;
        for (size_t i = 0; i < names.size() && same; ++i) same = names[i] == build->parameters[i].name;
        if (same) return &of(*build);
    }
    return nullptr;
}

int32_t ParameterUnits::indexOf(std::string_view name) const {
    for (int32_t i = 0; i < count(); ++i)
        if (name == build_.parameters[i].name) return i;
    return -1;
}

const char* ParameterUnits::name(int32_t index) const {
    return rows_[index]->name;
}

const char* ParameterUnits::unit(int32_t index) const {
    return rows_[index]->unit ? rows_[index]->unit : "";
}

bool ParameterUnits::isSwitch(int32_t index) const {
    return rows_[index]->unit == nullptr;
}

std::vector<std::string> ParameterUnits::positions(int32_t index) const {
    const UnitRow& row = *rows_[index];
    if (row.unit) return {};
    if (hasWords(row)) return {row.words, row.words + row.positions};
    std::vector<std::string> levels;
    for (int k = 0; k < rowPositionCount(row); ++k)
        levels.push_back(levelText(row.meaning(rowPositionValue(row, k)), "dB"));
    return levels;
}

double ParameterUnits::toUnit(int32_t index, const float* values) const {
    const UnitRow& row = *rows_[index];
    if (!row.unit) return positionOf(row, values[index]);
    const UnitContext context{values[kEqCurve], values[kHead], values[kBump], values[build_.hbAttIndex]};
    return row.knob(values[index], context);
}

std::string ParameterUnits::valueText(int32_t index, const float* values, bool typographicMinus) const {
    const UnitRow& row = *rows_[index];
    if (row.unit) return levelText(toUnit(index, values), row.unit, typographicMinus);
    const int position = positionOf(row, values[index]);
    if (hasWords(row)) return row.words[position];
    return levelText(row.meaning(values[index]), "dB", typographicMinus);
}

std::string ParameterUnits::format(int32_t index, const float* values, bool typographicMinus) const {
    std::string text = std::string(name(index)) + " " + valueText(index, values, typographicMinus);
    // The low shelves are kept but not applied in the IEC and AES positions.
    const UnitRow& row = *rows_[index];
    if (row.nabOnly && equaliserDesign(values[kEqCurve], 1.0f, 0.5f, 1.0f, 0.5f).recordLowDb == 0.0)
        text += " (acts with NAB only)";
    return text;
}

std::string ParameterUnits::rangeText(int32_t index, const float* values) const {
    const UnitRow& row = *rows_[index];
    if (!row.unit) {
        std::string list;
        for (const std::string& word : positions(index)) list += (list.empty() ? "" : ", ") + word;
        return list;
    }
    std::vector<float> edge(values, values + count());
    edge[index] = 0.0f;
    const double low = toUnit(index, edge.data());
    edge[index] = 1.0f;
    const double high = toUnit(index, edge.data());
    const bool level = std::string_view(row.unit) == "dB";
    std::string text = numberText(std::min(low, high), level, false) + ".." +
                       numberText(std::max(low, high), level, false) + " " + row.unit;
    if (row.followsHeadAndHbAtt)
        text += " with " + format(kHead, values) + " and " + format(build_.hbAttIndex, values);
    return text;
}

ParameterUnits::Parsed ParameterUnits::parse(int32_t index, std::string_view text,
                                             const float* values) const {
    const UnitRow& row = *rows_[index];
    Parsed result;
    const std::string word = lower(trimmed(text));
    if (!row.unit) {
        const std::vector<std::string> words = positions(index);
        for (size_t k = 0; k < words.size(); ++k) {
            bool match = word == lower(words[k]);
            for (const char* alias : row.aliases[k]) match = match || (alias && word == alias);
            // H.Room's levels also read without their space or unit: "-18dB", "-18".
            double level = 0.0;
            if (!hasWords(row) && parseNumber(text, "dB", level))
                match = level == row.meaning(rowPositionValue(row, static_cast<int>(k)));
            if (match) {
                result.ok = true;
                result.value = rowPositionValue(row, static_cast<int>(k));
                return result;
            }
        }
        result.error = "'" + std::string(text) + "' is not a position of " + row.name + " (" +
                       rangeText(index, values) + ")";
        return result;
    }
    double wanted = 0.0;
    if (!parseNumber(text, row.unit, wanted)) {
        result.error = "'" + std::string(text) + "' is not a value of " + row.name + " in " + row.unit +
                       " (" + rangeText(index, values) + ")";
        return result;
    }
    if (!fromUnit(index, wanted, values, result.value)) {
        result.error = levelText(wanted, row.unit) + " is outside the range of " + row.name + ", " +
                       rangeText(index, values);
        return result;
    }
    result.ok = true;
    return result;
}

bool ParameterUnits::fromUnit(int32_t index, double wanted, const float* values, float& normalised) const {
    // Every knob map is a straight line in its own value: the inverse follows from its two ends.
    float edge[kMaxParameterCount];
    std::copy(values, values + count(), edge);
    edge[index] = 0.0f;
    const double low = toUnit(index, edge);
    edge[index] = 1.0f;
    const double high = toUnit(index, edge);
    const double position = (wanted - low) / (high - low);
    constexpr double kSlack = 1e-6; // a typed end of the range may differ from it in the last digits
    normalised = position == position ? static_cast<float>(std::clamp(position, 0.0, 1.0)) : 0.0f;
    return position >= -kSlack && position <= 1.0 + kSlack;
}

int32_t ParameterUnits::positionCount(int32_t index) const {
    return rows_[index]->unit ? 0 : rowPositionCount(*rows_[index]);
}

float ParameterUnits::positionValue(int32_t index, int32_t position) const {
    return rowPositionValue(*rows_[index], position);
}

double ParameterUnits::positionMeaning(int32_t index, int32_t position) const {
    return rows_[index]->meaning(positionValue(index, position));
}

} // namespace vr58
