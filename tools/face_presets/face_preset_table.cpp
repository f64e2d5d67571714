// Writes the editor's built-in factory presets as C++: each preset of the list by name with the editor
// build's normalised values, resolved from their units as `vr58` resolves them, so the plug-in carries the
// same settings as its .fxp files without the list's parser. Usage: face_preset_table LIST OUTPUT.
#include "engine/cli_error.h"
#include "engine/build_config.h"
#include "engine/parameter_units.h"
#include "engine/preset_list.h"
#include "engine/setting_resolution.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

// Exact as hexadecimal floating point: the table holds the very floats the .fxp files hold.
std::string exactFloat(float value) {
    char text[48];
    std::snprintf(text, sizeof text, "%af", static_cast<double>(value));
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: face_preset_table LIST OUTPUT\n";
        return 2;
    }
    using namespace vr58;
    try {
        const BuildConfig& build = kEditorBuild;
        std::vector<std::string> names;
        std::vector<float> defaults;
        for (uint16_t i = 0; i < build.parameterCount; ++i) {
            names.push_back(build.parameters[i].name);
            defaults.push_back(build.parameters[i].defaultValue);
        }
        std::ostringstream out;
        out << "// Made by the build from presets/factory-presets.txt; do not edit.\n"
               "#include \"editor/factory_presets.h\"\n\nnamespace vr58 {\n\n"
               "const FactoryPreset kFactoryPresets[] = {\n";
        const std::vector<tool::PresetEntry> presets = tool::readPresetList(argv[1]);
        for (const tool::PresetEntry& preset : presets) {
            std::vector<float> values = defaults;
            for (const tool::ResolvedSetting& s :
                 tool::resolveSettingList(names, &ParameterUnits::of(build), defaults, preset.settings))
                values[static_cast<size_t>(s.index)] = s.value;
            out << "    {" << quoted(preset.name) << ", {";
            for (size_t i = 0; i < values.size(); ++i) out << (i ? ", " : "") << exactFloat(values[i]);
            out << "}},\n";
        }
        out << "};\n\nconst int32_t kFactoryPresetCount = " << presets.size() << ";\n\n} // namespace vr58\n";
        std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
        file << out.str();
        file.close();
        if (!file) {
            std::cerr << "face_preset_table: cannot write " << argv[2] << "\n";
            return 1;
        }
    } catch (const tool::CliError& error) {
        std::cerr << "face_preset_table: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
