// Command-line parsing of the vr58 subcommands into plain option records; bad input throws CliError.
#pragma once

#include "engine/parameter_setting.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace vr58::tool {

enum class Precision { Single, Double };

struct RenderOptions {
    std::string plugin;
    std::string input; // one input and its output, without --out
    std::string output;
    std::vector<std::string> inputs;      // with --out: files and folders
    std::optional<std::string> outputDir; // --out
    bool dither = true;                   // TPDF dither into 16 bits or fewer
    std::vector<ParameterSetting> settings;
    int blockSize = 512;
    Precision precision = Precision::Single;
    std::optional<std::string> format;  // wav, flac, aiff or ogg
    std::optional<std::string> subtype; // pcm16, pcm24, pcm32, float or double
    std::optional<std::string> preset;  // a .fxp file or a factory preset's name, before the settings
    std::optional<uint32_t> seed;       // the noise seed, for renders equal to the bit
};

struct InfoOptions {
    std::string plugin;
    std::optional<std::string> preset; // a factory preset's name: its settings in units
};

struct DemoOptions {
    std::string outputDir = "out/demo";
    std::optional<std::string> pluginDir;
};

struct EditorPreviewOptions {
    std::string plugin;
    std::string output;
    std::vector<ParameterSetting> settings;
    std::optional<std::string> play; // an audio file played through the plug-in with the editor open
    std::optional<std::string> preset;
    int32_t scalePercent = 100;       // the editor's size
    std::optional<std::string> hover; // a parameter whose control the pointer rests on
    bool menu = false;                // the right-click menu open
};

struct MeasureOptions {
    std::string plugin;
    std::string outputDir;
    std::vector<ParameterSetting> settings;
};

// One preset (OUT.fxp with --name and --set) or, with --list, every preset of a list file into a folder.
struct PresetOptions {
    std::string plugin;
    std::string output;
    std::optional<std::string> name;
    std::vector<ParameterSetting> settings;
    std::optional<std::string> list;
};

RenderOptions parseRenderArguments(const std::vector<std::string>& args);
InfoOptions parseInfoArguments(const std::vector<std::string>& args);
DemoOptions parseDemoArguments(const std::vector<std::string>& args);
EditorPreviewOptions parseEditorPreviewArguments(const std::vector<std::string>& args);
MeasureOptions parseMeasureArguments(const std::vector<std::string>& args);
PresetOptions parsePresetArguments(const std::vector<std::string>& args);

} // namespace vr58::tool
