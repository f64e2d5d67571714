// Audio files of any shape behind libsndfile (channels, rates, lengths, formats), through what `vr58 render`
// does with them: open, choose the output format, prepare the plain plug-in for the file's rate and
// channels, and render every frame. A refusal is one CliError; what renders is finite.
#include "audio_file.h"
#include "engine/cli_error.h"
#include "file_source.h"
#include "fuzz_support.h"
#include "plugin_session.h"
#include "render_loop.h"

#include <cmath>

using namespace vr58;

namespace {

class FiniteSink : public tool::FrameSink {
public:
    explicit FiniteSink(int channels) : channels_(channels) {}
    void write(const double* interleaved, size_t frames) override {
        for (size_t i = 0; i < frames * static_cast<size_t>(channels_); ++i)
            fuzz::expect(std::isfinite(interleaved[i]), "a rendered sample is finite");
    }

private:
    int channels_;
};

// A few bytes of a compressed format can stand for millions of frames; a second of audio shows as much.
class CappedSource : public tool::FrameSource {
public:
    explicit CappedSource(tool::FrameSource& source) : source_(source) {}
    int channels() const override { return source_.channels(); }
    size_t read(double* interleaved, size_t frames) override {
        if (left_ == 0) return 0;
        const size_t got = source_.read(interleaved, frames < left_ ? frames : left_);
        left_ -= got;
        return got;
    }

private:
    tool::FrameSource& source_;
    size_t left_ = 48000;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::MemoryFile file(data, size);
    try {
        tool::AudioReader reader(file.path());
        const tool::AudioStreamInfo& in = reader.info();
        fuzz::expect(in.channels >= 1 && in.sampleRate >= 1, "an opened file has channels and a rate");
        tool::chooseOutputFormat(in, "out.wav", std::nullopt, std::nullopt);
        // One instance stays loaded for good, so that the library is not unloaded and mapped again for
        // every input (nor at exit, where its own runtime's pools would look leaked).
        static host::HostedPlugin* const keeper = tool::loadPlugin(VR58_FUZZ_PLUGIN).release();
        (void)keeper;
        auto plugin = tool::loadPlugin(VR58_FUZZ_PLUGIN);
        const auto precision = (size & 1) ? tool::Precision::Double : tool::Precision::Single;
        tool::preparePlugin(*plugin, in.sampleRate, 256, in.channels, {}, precision);
        tool::FileSource file_source(reader);
        CappedSource source(file_source);
        FiniteSink sink(tool::renderedChannels(*plugin, in.channels));
        tool::render(*plugin, source, sink, 256, precision);
        plugin->mainsChanged(false);
    } catch (const tool::CliError&) {
    }
    return 0;
}
