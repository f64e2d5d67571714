#include "arguments.h"
#include "cli_error.h"
#include "commands.h"
#include "info_printer.h"
#include "plugin_session.h"
#include "preset_list.h"
#include "settings.h"

#include <iostream>

namespace vr58::tool {

int runInfo(const std::vector<std::string>& args) {
    const InfoOptions options = parseInfoArguments(args);
    if (options.preset) {
        const PresetEntry* preset = findFactoryPreset(*options.preset);
        if (!preset)
            throw UsageError("--preset",
                             "'" + *options.preset + "' is not a factory preset (vr58 presets lists them)");
        // Both builds share every parameter the factory presets set.
        std::cout << "\"" << preset->name << "\"  " << preset->description << "\n";
        for (const std::string& setting : describeSettings(kPlainBuild, preset->settings))
            std::cout << "  " << setting << "\n";
        std::cout << "  everything else at its default\n";
        if (options.plugin.empty()) return 0;
        std::cout << "\n";
    }
    auto plugin = loadPlugin(options.plugin);
    plugin->open();
    if (options.preset) loadPreset(*plugin, choosePreset(*options.preset));
    printPluginInfo(std::cout, *plugin);
    return 0;
}

} // namespace vr58::tool
