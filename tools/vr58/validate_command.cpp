#include "cli_error.h"
#include "commands.h"
#include "host/hosted_plugin.h"
#ifdef VR58_AUDIO_FILE_COMMANDS
#include "plugin_session.h"
#endif
#include "validate/validator.h"

#include <iostream>

namespace vr58::tool {

int runValidate(const std::vector<std::string>& args) {
    validate::Options options = validate::parseOptions(args);
#ifdef VR58_AUDIO_FILE_COMMANDS
    options.plugin = findPlugin(options.plugin); // a build's name, as render takes it
#endif
    std::string error;
    if (!host::HostedPlugin::load(options.plugin, error)) throw CliError(options.plugin, error);
    return validate::runValidation(options, std::cout);
}

} // namespace vr58::tool
