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
    // --check: compare with the table in the source tree instead of writing it.
    const bool check = argc == 4 && std::string(argv[1]) == "--check";
    if (argc != 3 && !check) {
        std::cerr << "usage: face_preset_table [--check] LIST TABLE\n";
        return 2;
    }
    if (check) ++argv;
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
        out << "// Made from presets/factory-presets.txt by tools/face_presets (vr58_face_preset_table LIST\n"
               "// editor/factory_preset_table.cpp); a test checks it against the list. Do not edit.\n"
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
        if (check) {
            std::ifstream committed(argv[2], std::ios::binary);
            std::ostringstream held;
            held << committed.rdbuf();
            if (held.str() == out.str()) return 0;
            std::cerr << "face_preset_table: " << argv[2] << " differs from the list; write it again with "
                      << "vr58_face_preset_table " << argv[1] << " " << argv[2] << "\n";
            return 1;
        }
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
