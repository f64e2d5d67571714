#include "commands.h"
#include "engine/cli_error.h"
#include "host/hosted_plugin.h"
#include "validate/validator.h"

#include <iostream>

namespace vr58::tool {

int runValidate(const std::vector<std::string>& args) {
    const validate::Options options = validate::parseOptions(args);
    std::string error;
    if (!host::HostedPlugin::load(options.plugin, error)) throw CliError(options.plugin, error);
    return validate::runValidation(options, std::cout);
}

} // namespace vr58::tool
