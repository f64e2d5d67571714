// The manual's table of the controls against the parameters: each row's name and label, both indices, the
// range in units (Bump's at the largest bump it names, Head at 65 Hz and no HB Att) and the default.
#include "engine/build_config.h"
#include "engine/parameter_units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace vr58;

namespace {

std::vector<std::string> cellsOf(const std::string& row) {
    std::vector<std::string> cells;
    std::stringstream in(row.substr(1));
    for (std::string cell; std::getline(in, cell, '|');) {
        const size_t begin = cell.find_first_not_of(' ');
        const size_t end = cell.find_last_not_of(' ');
        cells.push_back(begin == std::string::npos ? "" : cell.substr(begin, end - begin + 1));
    }
    return cells;
}

// The manual's numbers: one decimal at most, a sign on levels but zero, the typographic minus.
std::string printed(const ParameterUnits& units, int32_t index, double value) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.1f", value);
    std::string number = digits;
    if (number.size() > 2 && number.compare(number.size() - 2, 2, ".0") == 0) number.erase(number.size() - 2);
    if (number == "-0") number = "0";
    if (number[0] == '-')
        number.replace(0, 1, "\xE2\x88\x92");
    else if (std::string(units.unit(index)) == "dB" && number != "0")
        number.insert(0, "+");
    return number;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

} // namespace

TEST(ManualTable, RowsAgreeWithTheParameters) {
    std::ifstream file(VR58_MANUAL_PATH);
    ASSERT_TRUE(file) << VR58_MANUAL_PATH;
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(file, line);)
        if (line.rfind("| ", 0) == 0) rows.push_back(cellsOf(line));
    const ParameterUnits& units = ParameterUnits::of(kEditorBuild);
    const ParameterUnits& plain = ParameterUnits::of(kPlainBuild);
    for (int32_t i = 0; i < units.count(); ++i) {
        const ParameterDefinition& parameter = kEditorBuild.parameters[i];
        const std::string control = std::string(parameter.name) + " (" + parameter.label + ")";
        SCOPED_TRACE(control);
        const auto row = std::find_if(rows.begin(), rows.end(), [&](const auto& cells) {
            return cells.size() >= 4 && cells[0] == control;
        });
        ASSERT_NE(row, rows.end()) << "no row for " << control;
        const std::vector<std::string>& cells = *row;
        const int32_t plainIndex = plain.indexOf(parameter.name);
        EXPECT_EQ(cells[1], std::to_string(i) + " / " +
                                (plainIndex < 0 ? std::string("\xE2\x80\x94") : std::to_string(plainIndex)));

        std::vector<float> values;
        for (int32_t k = 0; k < units.count(); ++k) values.push_back(kEditorBuild.parameters[k].defaultValue);
        const std::string range = lower(cells[2]);
        if (units.isSwitch(i)) {
            for (std::string word : units.positions(i)) {
                if (word.size() > 3 && word.compare(word.size() - 3, 3, " dB") == 0)
                    word.erase(word.size() - 3);
                if (word[0] == '-') word.replace(0, 1, "\xE2\x88\x92");
                EXPECT_NE(range.find(lower(word)), std::string::npos) << word << " in " << cells[2];
            }
        } else {
            std::string condition;
            if (i == kBump) {
                // The largest bump: Head at its lowest and no HB Att.
                values[kHead] = 0.0f;
                values[static_cast<size_t>(kEditorBuild.hbAttIndex)] = 0.0f;
                condition = " with Head at " + units.valueText(kHead, values.data(), true) + " and no HB Att";
            }
            std::vector<float> edge = values;
            edge[static_cast<size_t>(i)] = 0.0f;
            const double low = units.toUnit(i, edge.data());
            edge[static_cast<size_t>(i)] = 1.0f;
            const double high = units.toUnit(i, edge.data());
            const std::string expected = printed(units, i, low) + " to " + printed(units, i, high) + " " +
                                         units.unit(i) + lower(condition);
            EXPECT_NE(range.find(lower(expected)), std::string::npos) << expected << " in " << cells[2];
            values[kHead] = kEditorBuild.parameters[kHead].defaultValue;
            values[static_cast<size_t>(kEditorBuild.hbAttIndex)] =
                kEditorBuild.parameters[kEditorBuild.hbAttIndex].defaultValue;
        }

        std::ostringstream normalised;
        normalised << parameter.defaultValue;
        const std::string value = units.valueText(i, values.data(), true);
        EXPECT_EQ(lower(cells[3]).rfind(lower(value), 0), 0u) << value << " opens " << cells[3];
        EXPECT_NE(cells[3].find("(" + normalised.str()), std::string::npos)
            << normalised.str() << " in " << cells[3];
    }
}
