// Writes what the skin generator (tools/skin/) needs to know of the parameters, made from the parameter
// table through the unit table, so the printed face cannot drift from what the plug-in does:
//   vr58_parameter_data FILE           writes the data
//   vr58_parameter_data --check FILE   fails, saying how to refresh it, when FILE holds other data
#include "engine/build_config.h"
#include "engine/parameter_records.h"
#include "engine/parameter_units.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

using namespace vr58;

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// The shortest decimal that reads back as the same double.
std::string number(double value) {
    char text[32];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, value);
    return std::string(text, end.ptr);
}

// A level as printed on the face: whole numbers, no sign on zero or positive values.
std::string levelLegend(double value) {
    return number(std::round(value) == 0.0 ? 0.0 : std::round(value));
}

std::string parameterData() {
    const ParameterUnits& units = ParameterUnits::of(kEditorBuild);
    std::vector<float> values;
    for (int32_t i = 0; i < kEditorBuild.parameterCount; ++i)
        values.push_back(kEditorBuild.parameters[i].defaultValue);
    std::ostringstream out;
    out << "{\n  \"parameters\": [\n";
    for (int32_t i = 0; i < kEditorBuild.parameterCount; ++i) {
        const ParameterRecord& spec = *recordNamed(units.name(i));
        out << "    {\"name\": " << quoted(spec.name) << ", \"symbol\": " << quoted(spec.symbol)
            << ", \"unit\": " << quoted(units.unit(i)) << ", \"editorIndex\": " << spec.editorIndex
            << ", \"plainIndex\": " << spec.plainIndex << ", \"default\": " << number(spec.defaultValue);
        // A knob's range in its unit at the other parameters' defaults, where the face opens.
        if (!units.isSwitch(i)) {
            std::vector<float> edge = values;
            edge[static_cast<size_t>(i)] = 0.0f;
            const double low = units.toUnit(i, edge.data());
            edge[static_cast<size_t>(i)] = 1.0f;
            const double high = units.toUnit(i, edge.data());
            out << ", \"low\": " << number(low) << ", \"high\": " << number(high);
        }
        // What the face prints under each position of its switch.
        std::vector<std::string> legends;
        for (int32_t k = 0; k < spec.positions; ++k) {
            if (spec.legends[k]) {
                legends.push_back(spec.legends[k]);
            } else if (units.isSwitch(i)) {
                legends.push_back(levelLegend(units.positionMeaning(i, k)));
            } else {
                std::vector<float> at = values;
                at[static_cast<size_t>(i)] = static_cast<float>(k) / static_cast<float>(spec.positions - 1);
                legends.push_back(levelLegend(units.toUnit(i, at.data())));
            }
        }
        if (!legends.empty()) {
            out << ", \"legends\": [";
            for (size_t k = 0; k < legends.size(); ++k) out << (k ? ", " : "") << quoted(legends[k]);
            out << "]";
        }
        out << "}" << (i + 1 < kEditorBuild.parameterCount ? "," : "") << "\n";
    }
    out << "  ]\n}\n";
    return out.str();
}

} // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && std::string(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::cerr << "usage: vr58_parameter_data [--check] FILE\n";
        return 2;
    }
    const std::string path = argv[argc - 1];
    const std::string data = parameterData();
    if (check) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream held;
        held << in.rdbuf();
        if (held.str() == data) return 0;
        std::cerr << path << " does not hold the parameters as specified; write it again with\n"
                  << "  vr58_parameter_data " << path << "\nand regenerate the skin (tools/skin/README.md)\n";
        return 1;
    }
    std::ofstream out(path, std::ios::binary);
    out << data;
    out.close();
    if (!out) {
        std::cerr << "vr58_parameter_data: " << path << " cannot be written\n";
        return 1;
    }
    return 0;
}
