#include "info_printer.h"

#include "engine/version.h"
#include "plugin_session.h"

#include <cstdio>
#include <vector>

namespace vr58::tool {

namespace {

std::string hex(uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

std::string flagNames(int32_t flags) {
    static const std::vector<std::pair<int32_t, const char*>> kNames = {
        {effFlagsHasEditor, "hasEditor"},         {effFlagsCanReplacing, "canReplacing"},
        {effFlagsProgramChunks, "programChunks"}, {effFlagsIsSynth, "isSynth"},
        {effFlagsNoSoundInStop, "noSoundInStop"}, {effFlagsCanDoubleReplacing, "canDoubleReplacing"}};
    std::string names;
    for (const auto& [bit, name] : kNames)
        if (flags & bit) names += (names.empty() ? "" : ", ") + std::string(name);
    return names.empty() ? "none" : names;
}

const char* categoryName(intptr_t category) {
    static const char* const kCategories[] = {"unknown",     "effect",      "synth",       "analysis",
                                              "mastering",   "spatializer", "room effect", "surround effect",
                                              "restoration", "offline",     "shell",       "generator"};
    return category >= 0 && category < 12 ? kCategories[category] : "not a known category";
}

void row(std::ostream& out, const char* name, const std::string& value) {
    char line[256];
    std::snprintf(line, sizeof line, "  %-15s %s\n", name, value.c_str());
    out << line;
}

} // namespace

std::string fourCharacters(int32_t id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned char c = static_cast<unsigned char>((static_cast<uint32_t>(id) >> shift) & 0xFF);
        text.push_back(c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '.');
    }
    return text;
}

void printPluginInfo(std::ostream& out, host::HostedPlugin& plugin) {
    const AEffect& r = *plugin.effect();
    char number[64];
    out << "Plug-in " << plugin.path() << "\n";
    out << "Effect record\n";
    row(out, "magic", hex(static_cast<uint32_t>(r.magic), 8) + " '" + fourCharacters(r.magic) + "'");
    row(out, "numPrograms", std::to_string(r.numPrograms));
    row(out, "numParams", std::to_string(r.numParams));
    row(out, "numInputs", std::to_string(r.numInputs));
    row(out, "numOutputs", std::to_string(r.numOutputs));
    row(out, "flags", hex(static_cast<uint32_t>(r.flags), 4) + " (" + flagNames(r.flags) + ")");
    row(out, "initialDelay", std::to_string(r.initialDelay));
    std::snprintf(number, sizeof number, "%g", static_cast<double>(r.ioRatio));
    row(out, "ioRatio", number);
    row(out, "uniqueID", hex(static_cast<uint32_t>(r.uniqueID), 8) + " '" + fourCharacters(r.uniqueID) + "'");
    row(out, "version", std::to_string(r.version));

    out << "Identity\n";
    row(out, "effect name", plugin.effectName());
    row(out, "vendor", plugin.vendorString());
    row(out, "product", plugin.productString());
    // The release is named only for a plug-in of this tree's version.
    const intptr_t vendorVersion = plugin.vendorVersion();
    row(out, "vendor version",
        std::to_string(vendorVersion) +
            (vendorVersion == kVendorVersion ? std::string(" (release ") + kReleaseVersion + ")" : ""));
    row(out, "VST version", std::to_string(plugin.vstVersion()));
    const intptr_t category = plugin.plugCategory();
    row(out, "category", std::to_string(category) + " (" + categoryName(category) + ")");

    out << "Parameters\n";
    // A VR58 plug-in's values also in their units, as the tape chain reads them.
    const ParameterUnits* units = unitsOf(plugin);
    const std::vector<float> values = parameterValues(plugin);
    char line[256];
    std::snprintf(line, sizeof line, "  %5s  %-8s  %-8s  %-8s  %-8s%s\n", "index", "name", "label", "value",
                  "display", units ? "  in units" : "");
    out << line;
    for (int32_t i = 0; i < r.numParams; ++i) {
        // The text after the name: the value and what it depends on.
        const std::string inUnits =
            units ? "  " + units->format(i, values.data()).substr(std::string(units->name(i)).size() + 1)
                  : "";
        std::snprintf(line, sizeof line, "  %5d  %-8s  %-8s  %-8.6f  %-8s%s\n", i,
                      plugin.parameterName(i).c_str(), plugin.parameterLabel(i).c_str(),
                      static_cast<double>(values[static_cast<size_t>(i)]), plugin.parameterDisplay(i).c_str(),
                      inUnits.c_str());
        out << line;
    }
}

} // namespace vr58::tool
