// The one kind of failure the vr58 command reports: "<what>: <why>", printed as "vr58: <what>: <why>".
#pragma once

#include <stdexcept>
#include <string>

namespace vr58::tool {

class CliError : public std::runtime_error {
public:
    CliError(const std::string& what, const std::string& why) : std::runtime_error(what + ": " + why) {}
};

// A command line vr58 cannot run (a wrong option, argument or setting): the exit code is 2, where a job
// that ran and failed exits with 1.
class UsageError : public CliError {
public:
    using CliError::CliError;
};

} // namespace vr58::tool
