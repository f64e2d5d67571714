#include "arguments.h"

#include "engine/cli_error.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace vr58::tool {

namespace {

constexpr int kMaxBlockSize = 1 << 20;

// Walks the arguments; options may stand anywhere among the positional ones.
class ArgumentCursor {
public:
    explicit ArgumentCursor(const std::vector<std::string>& args) : args_(args) {}
    bool done() const { return next_ >= args_.size(); }
    const std::string& take() { return args_[next_++]; }
    // The value of an option, given as "--name VALUE" or "--name=VALUE".
    std::string value(const std::string& option, const std::string& inlineValue, bool hasInline) {
        if (hasInline) return inlineValue;
        if (done()) throw UsageError(option, "needs a value");
        return take();
    }

private:
    const std::vector<std::string>& args_;
    size_t next_ = 0;
};

struct SplitOption {
    std::string name;
    std::string inlineValue;
    bool hasInline = false;
};

SplitOption splitOption(const std::string& arg) {
    const size_t equals = arg.find('=');
    if (arg.rfind("--", 0) != 0 || equals == std::string::npos) return {arg, "", false};
    return {arg.substr(0, equals), arg.substr(equals + 1), true};
}

bool isOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

int parseBlockSize(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < 1 || value > kMaxBlockSize)
        throw UsageError("--block", "'" + text + "' is not a block size (a whole number of frames, 1 to " +
                                        std::to_string(kMaxBlockSize) + ")");
    return static_cast<int>(value);
}

uint32_t parseSeed(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
    if (text.empty() || text[0] == '-' || *end != '\0' || errno != 0 || value > 0xFFFFFFFFull)
        throw UsageError("--seed", "'" + text + "' is not a seed (a whole number, 0 to 4294967295)");
    return static_cast<uint32_t>(value);
}

Precision parsePrecision(const std::string& text) {
    if (text == "32") return Precision::Single;
    if (text == "64") return Precision::Double;
    throw UsageError("--precision", "'" + text + "' is not a precision (32 or 64)");
}

std::string parseChoice(const std::string& option, const std::string& text,
                        const std::vector<std::string>& choices) {
    std::string list;
    for (const auto& choice : choices) {
        if (text == choice) return text;
        list += (list.empty() ? "" : ", ") + choice;
    }
    throw UsageError(option, "'" + text + "' is not one of " + list);
}

using ValueReader = std::function<std::string()>;
using OptionHandler = std::function<void(const std::string& name, const ValueReader& value)>;

// Separates positional arguments from options, handing each option and a reader of its value to onOption.
std::vector<std::string> splitArguments(const std::vector<std::string>& args, const OptionHandler& onOption) {
    std::vector<std::string> positionals;
    ArgumentCursor cursor(args);
    while (!cursor.done()) {
        const std::string& arg = cursor.take();
        if (!isOption(arg)) {
            positionals.push_back(arg);
            continue;
        }
        const SplitOption option = splitOption(arg);
        onOption(option.name,
                 [&] { return cursor.value(option.name, option.inlineValue, option.hasInline); });
    }
    return positionals;
}

void expectPositionals(const std::vector<std::string>& positionals, size_t count, const std::string& command,
                       const std::string& usage) {
    if (positionals.size() < count) throw UsageError(command, "missing arguments (usage: " + usage + ")");
    if (positionals.size() > count)
        throw UsageError(command, "unexpected argument '" + positionals[count] + "'");
}

bool isSettingOption(const std::string& name) {
    return name == "--set" || name == "--set-normalised";
}

ParameterSetting parseSettingOption(const std::string& name, const std::string& value) {
    return name == "--set" ? parseParameterSetting(value) : parseNormalisedSetting(value);
}

} // namespace

RenderOptions parseRenderArguments(const std::vector<std::string>& args) {
    RenderOptions options;
    const auto positionals = splitArguments(args, [&](const std::string& name, const ValueReader& value) {
        if (isSettingOption(name))
            options.settings.push_back(parseSettingOption(name, value()));
        else if (name == "--block")
            options.blockSize = parseBlockSize(value());
        else if (name == "--precision")
            options.precision = parsePrecision(value());
        else if (name == "--format")
            options.format = parseChoice("--format", value(), {"wav", "flac", "aiff", "ogg"});
        else if (name == "--subtype")
            options.subtype =
                parseChoice("--subtype", value(), {"pcm16", "pcm24", "pcm32", "float", "double", "vorbis"});
        else if (name == "--preset")
            options.preset = value();
        else if (name == "--seed")
            options.seed = parseSeed(value());
        else if (name == "--out")
            options.outputDir = value();
        else if (name == "--no-dither")
            options.dither = false;
        else
            throw UsageError(name, "unknown option for render");
    });
    if (options.outputDir) {
        if (positionals.size() < 2)
            throw UsageError("render",
                             "missing arguments (usage: vr58 render PLUGIN IN... --out OUTDIR [options])");
        options.plugin = positionals[0];
        options.inputs.assign(positionals.begin() + 1, positionals.end());
        return options;
    }
    expectPositionals(positionals, 3, "render", "vr58 render PLUGIN IN OUT [options]");
    options.plugin = positionals[0];
    options.input = positionals[1];
    options.output = positionals[2];
    return options;
}

InfoOptions parseInfoArguments(const std::vector<std::string>& args) {
    InfoOptions options;
    const auto positionals = splitArguments(args, [&](const std::string& name, const ValueReader& value) {
        if (name != "--preset") throw UsageError(name, "unknown option for info");
        options.preset = value();
    });
    if (options.preset && positionals.empty()) return options;
    expectPositionals(positionals, 1, "info", "vr58 info PLUGIN or vr58 info --preset NAME");
    options.plugin = positionals[0];
    return options;
}

DemoOptions parseDemoArguments(const std::vector<std::string>& args) {
    DemoOptions options;
    const auto positionals = splitArguments(args, [&](const std::string& name, const ValueReader& value) {
        if (name != "--plugins") throw UsageError(name, "unknown option for demo");
        options.pluginDir = value();
    });
    if (positionals.size() > 1) throw UsageError("demo", "unexpected argument '" + positionals[1] + "'");
    if (!positionals.empty()) options.outputDir = positionals[0];
    return options;
}

namespace {

// The editor's size as a factor (1, 1.25, 1.5, 1.75 or 2), as hosts and screens state it.
int32_t parseEditorScale(const std::string& text) {
    for (const auto& [name, percent] :
         {std::pair<const char*, int32_t>{"1", 100}, {"1.25", 125}, {"1.5", 150}, {"1.75", 175}, {"2", 200}})
        if (text == name) return percent;
    throw UsageError("--scale", "'" + text + "' is not an editor size (1, 1.25, 1.5, 1.75 or 2)");
}

} // namespace

EditorPreviewOptions parseEditorPreviewArguments(const std::vector<std::string>& args) {
    EditorPreviewOptions options;
    const auto positionals = splitArguments(args, [&](const std::string& name, const ValueReader& value) {
        if (isSettingOption(name))
            options.settings.push_back(parseSettingOption(name, value()));
        else if (name == "--play")
            options.play = value();
        else if (name == "--preset")
            options.preset = value();
        else if (name == "--scale")
            options.scalePercent = parseEditorScale(value());
        else if (name == "--hover")
            options.hover = value();
        else if (name == "--menu")
            options.menu = true;
        else
            throw UsageError(name, "unknown option for editor-preview");
    });
    expectPositionals(
        positionals, 2, "editor-preview",
        "vr58 editor-preview PLUGIN OUT.png [--preset FILE|NAME] [--set NAME=VALUE]... [--play FILE] "
        "[--scale 1|1.25|1.5|1.75|2] [--hover NAME] [--menu]");
    options.plugin = positionals[0];
    options.output = positionals[1];
    return options;
}

MeasureOptions parseMeasureArguments(const std::vector<std::string>& args) {
    MeasureOptions options;
    const auto positionals = splitArguments(args, [&](const std::string& name, const ValueReader& value) {
        if (!isSettingOption(name)) throw UsageError(name, "unknown option for measure");
        options.settings.push_back(parseSettingOption(name, value()));
    });
    expectPositionals(positionals, 2, "measure", "vr58 measure PLUGIN OUTDIR [--set NAME=VALUE]...");
    options.plugin = positionals[0];
    options.outputDir = positionals[1];
    return options;
}

PresetOptions parsePresetArguments(const std::vector<std::string>& args) {
    PresetOptions options;
    const auto positionals = splitArguments(args, [&](const std::string& name, const ValueReader& value) {
        if (isSettingOption(name))
            options.settings.push_back(parseSettingOption(name, value()));
        else if (name == "--name")
            options.name = value();
        else if (name == "--list")
            options.list = value();
        else
            throw UsageError(name, "unknown option for preset");
    });
    expectPositionals(positionals, 2, "preset",
                      "vr58 preset PLUGIN OUT.fxp [--name NAME] [--set NAME=VALUE]... "
                      "or vr58 preset PLUGIN OUTDIR --list FILE");
    if (options.list && (options.name || !options.settings.empty()))
        throw UsageError("--list", "takes names and settings from the file; drop --name and --set");
    options.plugin = positionals[0];
    options.output = positionals[1];
    return options;
}

} // namespace vr58::tool
