#include "arguments.h"
#include "audio_file.h"
#include "commands.h"
#include "engine/cli_error.h"
#include "file_source.h"
#include "levels.h"
#include "pending_output.h"
#include "plugin_session.h"
#include "progress.h"
#include "render_loop.h"

#include <cmath>
#include <filesystem>
#include <iostream>
#include <optional>

namespace vr58::tool {

namespace {

// Writes the rendered frames and keeps each channel's level, and how many samples lay beyond full scale.
class FileSink : public FrameSink {
public:
    FileSink(AudioWriter& writer, int channels) : writer_(writer), levels(static_cast<size_t>(channels)) {}
    void write(const double* interleaved, size_t frames) override {
        writer_.write(interleaved, frames);
        levels.add(interleaved, frames);
    }

private:
    AudioWriter& writer_;

public:
    LevelMeter levels;
};

// The output would replace the input (the same file under another name, a link, "./"): refused before
// anything is read or written.
void refuseOutputOverInput(const std::string& input, const std::string& output) {
    std::error_code ec;
    if (std::filesystem::is_directory(output, ec)) throw CliError(output, "is a directory");
    if (std::filesystem::equivalent(input, output, ec) && !ec)
        throw CliError(output, "is the input file " + input +
                                   " (the same file on disk); the render would replace it, so nothing was "
                                   "written: choose another output");
}

} // namespace

int runRender(const std::vector<std::string>& args) {
    const RenderOptions options = parseRenderArguments(args);
    refuseOutputOverInput(options.input, options.output);
    // Everything that can be refused is checked before the output's temporary file is created.
    auto plugin = loadPlugin(options.plugin);
    std::optional<PresetChoice> preset;
    if (options.preset) preset = choosePreset(*options.preset);
    AudioReader reader(options.input);
    const AudioStreamInfo& in = reader.info();
    const int format = chooseOutputFormat(in, options.output, options.format, options.subtype);
    preparePlugin(*plugin, in.sampleRate, options.blockSize, in.channels, options.settings, options.precision,
                  preset ? &*preset : nullptr, options.seed);

    PendingOutput output(options.output);
    const int channels = renderedChannels(*plugin, in.channels);
    AudioWriter writer(output, format, channels, in.sampleRate);
    FileSource source(reader);
    FileSink sink(writer, channels);
    {
        ProgressBar progress(in.frames);
        render(*plugin, source, sink, options.blockSize, options.precision,
               [&](size_t done) { progress.update(done); });
    }
    plugin->mainsChanged(false);
    writer.commit();

    std::cout << options.output << ": " << describeLevels(sink.levels.channels()) << "\n";
    if (isIntegerSampleFormat(format) && sink.levels.clipped() > 0)
        std::cerr << "vr58: " << options.output << ": " << sink.levels.clipped() << " of "
                  << sink.levels.samples() << " samples lay beyond full scale and were clipped in "
                  << sampleFormatName(format)
                  << "; render with --subtype float to keep them, or turn Gain down\n";
    return 0;
}

} // namespace vr58::tool
