#include "arguments.h"
#include "audio_file.h"
#include "commands.h"
#include "file_source.h"
#include "pending_output.h"
#include "plugin_session.h"
#include "preset_file.h"
#include "progress.h"
#include "render_loop.h"

#include <optional>

namespace vr58::tool {

namespace {

class FileSink : public FrameSink {
public:
    explicit FileSink(AudioWriter& writer) : writer_(writer) {}
    void write(const double* interleaved, size_t frames) override { writer_.write(interleaved, frames); }

private:
    AudioWriter& writer_;
};

} // namespace

int runRender(const std::vector<std::string>& args) {
    const RenderOptions options = parseRenderArguments(args);
    // Everything that can be refused is checked before the output's temporary file is created.
    auto plugin = loadPlugin(options.plugin);
    std::optional<host::ProgramPreset> preset;
    if (options.preset) {
        preset = readPresetFile(*options.preset);
        checkPresetFor(*plugin, *preset, *options.preset);
    }
    AudioReader reader(options.input);
    const AudioStreamInfo& in = reader.info();
    const int format = chooseOutputFormat(in, options.output, options.format, options.subtype);
    preparePlugin(*plugin, in.sampleRate, options.blockSize, in.channels, options.settings, options.precision,
                  preset ? &*preset : nullptr);

    PendingOutput output(options.output);
    AudioWriter writer(output, format, renderedChannels(*plugin, in.channels), in.sampleRate);
    FileSource source(reader);
    FileSink sink(writer);
    {
        ProgressBar progress(in.frames);
        render(*plugin, source, sink, options.blockSize, options.precision,
               [&](size_t done) { progress.update(done); });
    }
    plugin->mainsChanged(false);
    writer.commit();
    return 0;
}

} // namespace vr58::tool
