// vr58 validate: loads a VST 2.4 binary through the host library and runs every check against it,
// printing a summary table. The exit code is 0 only when every case passed.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace vr58::validate {

struct Options {
    std::string plugin;
    double seconds = 30.0;         // budget for the open-ended checks (random fuzz, threads)
    uint32_t seed = 1;             // for every random choice
    std::vector<std::string> only; // names of the checks to run; empty: all
    double soakMinutes = 0.0;      // above 0: the soak alone, for this long, instead of the checks
};

// The names accepted by --only, in the order the checks run.
const std::vector<std::string>& checkNames();

// Parses "PLUGIN [--seconds S] [--seed N] [--only CHECK]... [--soak MINUTES]"; throws tool::CliError on bad
// input.
Options parseOptions(const std::vector<std::string>& args);

int runValidation(const Options& options, std::ostream& out);

} // namespace vr58::validate
