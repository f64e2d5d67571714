#include "validator.h"

#include "checks.h"
#include "cli_error.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <ostream>

namespace vr58::validate {

namespace {
// Shares of the budget for the open-ended checks; the fixed lists of cases always run in full.
constexpr double kDispatcherShare = 0.1;
constexpr double kParameterShare = 0.1;
constexpr double kChunkShare = 0.1;
constexpr double kThreadShare = 0.7;

bool selected(const Options& options, const std::string& name) {
    return options.only.empty() ||
           std::find(options.only.begin(), options.only.end(), name) != options.only.end();
}

double parseSeconds(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value > 0.0) || value > 86400.0)
        throw tool::UsageError("--seconds", "'" + text + "' is not a time budget (seconds, above 0)");
    return value;
}

double parseMinutes(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(value > 0.0) || value > 1440.0)
        throw tool::UsageError("--soak",
                               "'" + text + "' is not a soak time (minutes, above 0, at most a day)");
    return value;
}

uint32_t parseSeed(const std::string& text) {
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 10);
    if (text.empty() || text[0] == '-' || *end != '\0' || value > 0xFFFFFFFFull)
        throw tool::UsageError("--seed", "'" + text + "' is not a seed (a whole number, 0 to 4294967295)");
    return static_cast<uint32_t>(value);
}

void printTable(std::ostream& out, const std::vector<Check>& checks, double seconds) {
    out << std::left << std::setw(22) << "check" << std::right << std::setw(10) << "cases" << std::setw(10)
        << "failed"
        << "  result\n";
    long cases = 0, failures = 0;
    for (const Check& check : checks) {
        cases += check.cases();
        failures += check.failures();
        const std::string result = check.failures()  ? "FAIL"
                                   : check.skipped() ? "skipped: " + check.skipReason()
                                                     : "ok";
        out << std::left << std::setw(22) << check.name() << std::right << std::setw(10) << check.cases()
            << std::setw(10) << check.failures() << "  " << result << "\n";
    }
    out << std::left << std::setw(22) << "total" << std::right << std::setw(10) << cases << std::setw(10)
        << failures << "  " << (failures ? "FAIL" : "ok") << " (" << std::fixed << std::setprecision(1)
        << seconds << " s)\n";
    for (const Check& check : checks)
        for (const std::string& example : check.examples()) out << check.name() << ": " << example << "\n";
}
} // namespace

const std::vector<std::string>& checkNames() {
    static const std::vector<std::string> names = {"lifecycle", "dispatcher",  "parameters",
                                                   "chunks",    "audio-range", "allocations",
                                                   "recovery",  "threads",     "denormal-cost"};
    return names;
}

Options parseOptions(const std::vector<std::string>& args) {
    Options options;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i], value;
        const size_t equals = name.find('=');
        const bool hasInline = name.rfind("--", 0) == 0 && equals != std::string::npos;
        if (hasInline) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
        }
        const bool isOption = name == "--seconds" || name == "--seed" || name == "--only" || name == "--soak";
        if (!isOption) {
            if (name.size() > 1 && name[0] == '-')
                throw tool::UsageError(name, "unknown option for validate");
            positional.push_back(args[i]);
            continue;
        }
        if (!hasInline) {
            if (i + 1 >= args.size()) throw tool::UsageError(name, "needs a value");
            value = args[++i];
        }
        if (name == "--seconds") options.seconds = parseSeconds(value);
        if (name == "--seed") options.seed = parseSeed(value);
        if (name == "--soak") options.soakMinutes = parseMinutes(value);
        if (name == "--only") {
            const auto& names = checkNames();
            if (std::find(names.begin(), names.end(), value) == names.end()) {
                std::string list;
                for (const auto& known : names) list += (list.empty() ? "" : ", ") + known;
                throw tool::UsageError("--only", "'" + value + "' is not a check (the checks: " + list + ")");
            }
            options.only.push_back(value);
        }
    }
    if (positional.size() != 1) throw tool::UsageError("validate", "needs exactly one PLUGIN");
    if (options.soakMinutes > 0.0 && !options.only.empty())
        throw tool::UsageError("--soak", "runs alone; it does not go with --only");
    options.plugin = positional[0];
    return options;
}

int runValidation(const Options& options, std::ostream& out) {
    const auto start = std::chrono::steady_clock::now();
    const Target target{options.plugin, options.seed};
    std::vector<Check> checks;
    if (options.soakMinutes > 0.0) {
        checks.emplace_back("soak");
        checkSoak(target, options.soakMinutes * 60.0, checks.back(), out);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        printTable(out, checks, seconds);
        return checks.back().failures() > 0 ? 1 : 0;
    }
    for (const std::string& name : checkNames()) checks.emplace_back(name);
    auto check = [&](const std::string& name) -> Check& {
        return *std::find_if(checks.begin(), checks.end(), [&](const Check& c) { return c.name() == name; });
    };
    if (selected(options, "lifecycle")) checkLifecycle(target, check("lifecycle"));
    if (selected(options, "dispatcher"))
        checkDispatcher(target, Budget(options.seconds * kDispatcherShare), check("dispatcher"));
    if (selected(options, "parameters"))
        checkParameters(target, Budget(options.seconds * kParameterShare), check("parameters"));
    if (selected(options, "chunks"))
        checkChunks(target, Budget(options.seconds * kChunkShare), check("chunks"));
    if (selected(options, "audio-range") || selected(options, "allocations"))
        checkAudioRange(target, check("audio-range"), check("allocations"));
    if (selected(options, "recovery")) checkRecovery(target, check("recovery"));
    if (selected(options, "threads"))
        checkThreads(target, Budget(options.seconds * kThreadShare), check("threads"));
    if (selected(options, "denormal-cost")) checkDenormalCost(target, check("denormal-cost"));

    checks.erase(std::remove_if(checks.begin(), checks.end(),
                                [&](const Check& c) {
                                    return c.cases() == 0 && !c.skipped() && !selected(options, c.name());
                                }),
                 checks.end());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    printTable(out, checks, seconds);
    const bool failed =
        std::any_of(checks.begin(), checks.end(), [](const Check& c) { return c.failures() > 0; });
    return failed ? 1 : 0;
}

} // namespace vr58::validate
