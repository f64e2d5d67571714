// Writes one bundle's Turtle from the parameter and unit tables and the factory preset list:
//   vr58_lv2_turtle editor|plain BUNDLE_DIR PRESET_LIST
// manifest.ttl, <Bundle>.ttl and presets.ttl. Fails, naming the preset and parameter, when a preset's
// value would not reach the chain exactly as the VST 2.4 build's preset gives it.
#include "engine/cli_error.h"
#include "engine/parameter_records.h"
#include "engine/parameter_units.h"
#include "engine/preset_list.h"
#include "lv2/lv2_ports.h"
#include "lv2/port_description.h"
#include "lv2/short_decimal.h"
#include "engine/setting_resolution.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

using namespace vr58;
using namespace vr58::lv2;

namespace {

const char kPrefixes[] = "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
                         "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
                         "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
                         "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
                         "@prefix pg: <http://lv2plug.in/ns/ext/port-groups#> .\n"
                         "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
                         "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                         "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
                         "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
                         "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
                         "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
                         "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";

struct Bundle {
    const BuildConfig& build;
    std::string uri;
    std::string name; // of the library and the description: VR58G, VR58
    bool editor;
};

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// A preset's URI: the plug-in's, then the name in lower case with runs of other characters as '-'.
std::string presetUri(const Bundle& bundle, const std::string& name) {
    std::string slug;
    for (char c : name) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            slug += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
    }
    while (!slug.empty() && slug.back() == '-') slug.pop_back();
    return bundle.uri + "#preset-" + slug;
}

const char* unitTerm(PortUnit unit) {
    switch (unit) {
    case PortUnit::Decibel:
        return "units:db";
    case PortUnit::Hertz:
        return "units:hz";
    case PortUnit::Percent:
        return "units:pc";
    case PortUnit::None:
        break;
    }
    return nullptr;
}

void writeControlPort(std::ostream& out, const Bundle& bundle, int32_t index) {
    const ParameterPort port = describeParameterPort(bundle.build, index);
    out << "\t\ta lv2:InputPort , lv2:ControlPort ;\n"
        << "\t\tlv2:index " << parameterPort(index) << " ;\n"
        << "\t\tlv2:symbol " << quoted(port.symbol) << " ;\n"
        << "\t\tlv2:name " << quoted(port.name) << " ;\n"
        << "\t\tlv2:default " << decimalText(port.defaultValue) << " ;\n"
        << "\t\tlv2:minimum " << decimalText(port.minimum) << " ;\n"
        << "\t\tlv2:maximum " << decimalText(port.maximum);
    if (const char* unit = unitTerm(port.unit)) out << " ;\n\t\tunits:unit " << unit;
    if (port.toggled) out << " ;\n\t\tlv2:portProperty lv2:toggled";
    if (port.enumeration) out << " ;\n\t\tlv2:portProperty lv2:enumeration";
    if (port.integer) out << " ;\n\t\tlv2:portProperty lv2:integer";
    for (size_t k = 0; k < port.scalePoints.size(); ++k)
        out << (k == 0 ? " ;\n\t\tlv2:scalePoint [\n" : " , [\n") << "\t\t\trdfs:label "
            << quoted(port.scalePoints[k].label) << " ;\n\t\t\trdf:value "
            << decimalText(port.scalePoints[k].value) << "\n\t\t]";
    if (!port.comment.empty()) out << " ;\n\t\trdfs:comment " << quoted(port.comment);
    out << "\n";
}

void writeAudioPort(std::ostream& out, const Bundle& bundle, uint32_t index, bool input, bool left) {
    const std::string side = left ? "left" : "right";
    out << "\t\ta lv2:AudioPort , " << (input ? "lv2:InputPort" : "lv2:OutputPort") << " ;\n"
        << "\t\tlv2:index " << index << " ;\n"
        << "\t\tlv2:symbol " << quoted(std::string(input ? "in_" : "out_") + (left ? "l" : "r")) << " ;\n"
        << "\t\tlv2:name " << quoted(std::string(input ? "In " : "Out ") + (left ? "L" : "R")) << " ;\n"
        << "\t\tpg:group <" << bundle.uri << (input ? "#in" : "#out") << "> ;\n"
        << "\t\tlv2:designation pg:" << side << "\n";
}

void writeDescription(std::ostream& out, const Bundle& bundle) {
    out << kPrefixes;
    out << "<" << bundle.uri << "#in>\n\ta pg:InputGroup , pg:StereoGroup ;\n\tlv2:symbol \"in\" ;\n"
        << "\trdfs:label \"Input\" .\n\n";
    out << "<" << bundle.uri << "#out>\n\ta pg:OutputGroup , pg:StereoGroup ;\n\tlv2:symbol \"out\" ;\n"
        << "\trdfs:label \"Output\" ;\n\tpg:source <" << bundle.uri << "#in> .\n\n";
    out << "<" << bundle.uri << ">\n"
        << "\ta lv2:Plugin , lv2:SimulatorPlugin , doap:Project ;\n"
        << "\tdoap:name " << quoted(bundle.build.productName) << " ;\n"
        << "\tdoap:maintainer [\n\t\tfoaf:name " << quoted(kVendorName) << "\n\t] ;\n"
        << "\trdfs:comment \"A tape machine: record equaliser, hiss, saturation, head bump and repro "
           "equaliser. Stereo: both audio inputs and both outputs must be connected; a mono host feeds "
           "one signal to both inputs.\" ;\n"
        << "\tlv2:optionalFeature lv2:hardRTCapable , urid:map ;\n"
        << "\tlv2:extensionData state:interface ;\n"
        << "\tpg:mainInput <" << bundle.uri << "#in> ;\n"
        << "\tpg:mainOutput <" << bundle.uri << "#out> ;\n";
    if (bundle.editor) out << "\tui:ui <" << kEditorUiUri << "> ;\n";
    out << "\tlv2:port [\n";
    writeAudioPort(out, bundle, kAudioInLeft, true, true);
    out << "\t] , [\n";
    writeAudioPort(out, bundle, kAudioInRight, true, false);
    out << "\t] , [\n";
    writeAudioPort(out, bundle, kAudioOutLeft, false, true);
    out << "\t] , [\n";
    writeAudioPort(out, bundle, kAudioOutRight, false, false);
    for (int32_t i = 0; i < bundle.build.parameterCount; ++i) {
        out << "\t] , [\n";
        writeControlPort(out, bundle, i);
    }
    if (bundle.editor) {
        // The UI's meters read these two; both are written at the end of every run.
        out << "\t] , [\n"
            << "\t\ta lv2:OutputPort , lv2:ControlPort ;\n"
            << "\t\tlv2:index " << meterLevelPort(bundle.build) << " ;\n"
            << "\t\tlv2:symbol " << quoted(kMeterLevelSymbol) << " ;\n"
            << "\t\tlv2:name \"Meter level\" ;\n"
            << "\t\tlv2:default 0.0 ;\n\t\tlv2:minimum 0.0 ;\n\t\tlv2:maximum 1.0 ;\n"
            << "\t\tunits:unit units:coef ;\n"
            << "\t\trdfs:comment \"The VU meter's smoothed level (linear, 1 = full scale) at the end of the "
               "latest run, with the meter's own ballistics.\"\n"
            << "\t] , [\n"
            << "\t\ta lv2:OutputPort , lv2:ControlPort ;\n"
            << "\t\tlv2:index " << meterPeakPort(bundle.build) << " ;\n"
            << "\t\tlv2:symbol " << quoted(kMeterPeakSymbol) << " ;\n"
            << "\t\tlv2:name \"Meter peak\" ;\n"
            << "\t\tlv2:default 0.0 ;\n\t\tlv2:minimum 0.0 ;\n\t\tlv2:maximum 1.0 ;\n"
            << "\t\tunits:unit units:coef ;\n"
            << "\t\trdfs:comment \"The largest meter value (linear) of the recent runs. A value is held for "
            << static_cast<int>(kMeterPeakHoldSeconds * 1000.0)
            << " ms before it may fall, so a UI that reads the port 25 times a second or more sees every "
               "over.\"\n";
    }
    out << "\t] .\n";
}

struct ResolvedPreset {
    std::string name, description;
    std::vector<float> portValues;
};

ResolvedPreset resolvePreset(const Bundle& bundle, const tool::PresetEntry& entry, const std::string& list) {
    const ParameterUnits& units = ParameterUnits::of(bundle.build);
    std::vector<float> values;
    for (int32_t i = 0; i < bundle.build.parameterCount; ++i)
        values.push_back(bundle.build.parameters[i].defaultValue);
    const std::string where = list + ":" + std::to_string(entry.line) + ": ";
    std::vector<std::string> names;
    for (int32_t i = 0; i < bundle.build.parameterCount; ++i)
        names.push_back(bundle.build.parameters[i].name);
    try {
        for (const tool::ResolvedSetting& setting :
             tool::resolveSettingList(names, &units, values, entry.settings))
            values[static_cast<size_t>(setting.index)] = setting.value;
    } catch (const tool::CliError& error) {
        throw tool::CliError(where + entry.name, error.what());
    }
    ResolvedPreset preset{entry.name, entry.description, {}};
    for (int32_t i = 0; i < bundle.build.parameterCount; ++i) {
        const float port = portValueOf(bundle.build, i, values[i]);
        const float back = normalisedOf(bundle.build, i, port);
        const bool same = units.isSwitch(i) ? portValueOf(bundle.build, i, back) == port : back == values[i];
        if (!same)
            throw tool::CliError(where + entry.name, std::string(bundle.build.parameters[i].name) +
                                                         ": no port value gives the normalised value " +
                                                         std::to_string(values[i]) + " back");
        preset.portValues.push_back(port);
    }
    return preset;
}

void writePresets(std::ostream& out, const Bundle& bundle, const std::vector<ResolvedPreset>& presets) {
    out << kPrefixes;
    for (const ResolvedPreset& preset : presets) {
        out << "<" << presetUri(bundle, preset.name) << ">\n"
            << "\ta pset:Preset ;\n"
            << "\tlv2:appliesTo <" << bundle.uri << "> ;\n"
            << "\trdfs:label " << quoted(preset.name) << " ;\n";
        if (!preset.description.empty()) out << "\trdfs:comment " << quoted(preset.description) << " ;\n";
        for (size_t i = 0; i < preset.portValues.size(); ++i)
            out << (i == 0 ? "\tlv2:port [\n" : "\t] , [\n") << "\t\tlv2:symbol "
                << quoted(recordNamed(bundle.build.parameters[i].name)->symbol)
                << " ;\n\t\tpset:value " << decimalText(preset.portValues[i]) << "\n";
        out << "\t] .\n\n";
    }
}

void writeManifest(std::ostream& out, const Bundle& bundle, const std::vector<ResolvedPreset>& presets) {
    out << kPrefixes;
    out << "<" << bundle.uri << ">\n\ta lv2:Plugin ;\n\tlv2:binary <" << bundle.name << ".so> ;\n"
        << "\trdfs:seeAlso <" << bundle.name << ".ttl> .\n\n";
    if (bundle.editor)
        // Hosts such as jalv read only the manifest before they size their window: the face sets its
        // own size, and a host window that may not be resized by the user follows it when it shrinks.
        out << "<" << kEditorUiUri << ">\n\ta ui:X11UI ;\n\tui:binary <" << bundle.name << "_ui.so> ;\n"
            << "\tlv2:optionalFeature ui:noUserResize ;\n"
            << "\trdfs:seeAlso <" << bundle.name << "_ui.ttl> .\n\n";
    for (const ResolvedPreset& preset : presets)
        out << "<" << presetUri(bundle, preset.name) << ">\n\ta pset:Preset ;\n\tlv2:appliesTo <"
            << bundle.uri << "> ;\n\trdfs:label " << quoted(preset.name)
            << " ;\n\trdfs:seeAlso <presets.ttl> .\n\n";
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    file.close();
    if (!file) throw tool::CliError(path, "cannot be written");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 || (std::string(argv[1]) != "editor" && std::string(argv[1]) != "plain")) {
        std::cerr << "usage: vr58_lv2_turtle editor|plain BUNDLE_DIR PRESET_LIST\n";
        return 2;
    }
    const bool editor = std::string(argv[1]) == "editor";
    const Bundle bundle{editor ? kEditorBuild : kPlainBuild, editor ? kEditorPluginUri : kPlainPluginUri,
                        editor ? "VR58G" : "VR58", editor};
    const std::string dir = argv[2];
    try {
        std::vector<ResolvedPreset> presets;
        for (const tool::PresetEntry& entry : tool::readPresetList(argv[3]))
            presets.push_back(resolvePreset(bundle, entry, argv[3]));
        std::ostringstream description, presetText, manifest;
        writeDescription(description, bundle);
        writePresets(presetText, bundle, presets);
        writeManifest(manifest, bundle, presets);
        writeFile(dir + "/" + bundle.name + ".ttl", description.str());
        writeFile(dir + "/presets.ttl", presetText.str());
        writeFile(dir + "/manifest.ttl", manifest.str());
    } catch (const std::exception& error) {
        std::cerr << "vr58_lv2_turtle: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
