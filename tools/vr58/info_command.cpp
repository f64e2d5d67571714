#include "arguments.h"
#include "commands.h"
#include "info_printer.h"
#include "plugin_session.h"

#include <iostream>

namespace vr58::tool {

int runInfo(const std::vector<std::string>& args) {
    const InfoOptions options = parseInfoArguments(args);
    auto plugin = loadPlugin(options.plugin);
    plugin->open();
    printPluginInfo(std::cout, *plugin);
    return 0;
}

} // namespace vr58::tool
