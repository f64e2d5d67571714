// The one kind of failure the vr58 command reports: "<what>: <why>", printed as "vr58: <what>: <why>".
#pragma once

#include <stdexcept>
#include <string>

namespace vr58::tool {

class CliError : public std::runtime_error {
public:
    CliError(const std::string& what, const std::string& why) : std::runtime_error(what + ": " + why) {}
};

} // namespace vr58::tool
