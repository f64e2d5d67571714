#include "arguments.h"
#include "audio_file.h"
#include "cli_error.h"
#include "commands.h"
#include "file_source.h"
#include "levels.h"
#include "pending_output.h"
#include "plugin_session.h"
#include "progress.h"
#include "render_loop.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>

namespace vr58::tool {

namespace fs = std::filesystem;

namespace {

// Writes the rendered frames and keeps each channel's level before quantisation and how many samples lay
// beyond full scale. Into 16 bits or fewer the frames are rounded to the format's steps here, with TPDF
// dither unless it is off: libsndfile's own conversion rounds towards minus infinity, half a step low.
class FileSink : public FrameSink {
public:
    FileSink(AudioWriter& writer, int channels, double step, bool dither, uint32_t seed)
        : writer_(writer), channels_(static_cast<size_t>(channels)), step_(step), dither_(dither),
          random_(seed ? seed : 0x9E3779B9u), levels(static_cast<size_t>(channels)) {}
    void write(const double* interleaved, size_t frames) override {
        levels.add(interleaved, frames);
        if (step_ == 0.0) {
            writer_.write(interleaved, frames);
            return;
        }
        quantised_.assign(interleaved, interleaved + frames * channels_);
        for (double& sample : quantised_) {
            const double noise = dither_ ? uniform() - uniform() : 0.0;
            sample = std::nearbyint(sample / step_ + noise) * step_;
        }
        writer_.write(quantised_.data(), frames);
    }

private:
    // xorshift32: the same dither every run, so renders with one noise seed stay equal to the bit.
    double uniform() {
        random_ ^= random_ << 13;
        random_ ^= random_ >> 17;
        random_ ^= random_ << 5;
        return static_cast<double>(random_) / 4294967296.0;
    }

    AudioWriter& writer_;
    size_t channels_;
    double step_;
    bool dither_;
    uint32_t random_;
    std::vector<double> quantised_;

public:
    LevelMeter levels;
};

// The output would replace the input (the same file under another name, a link, "./"): refused before
// anything is read or written.
void refuseOutputOverInput(const std::string& input, const std::string& output) {
    std::error_code ec;
    if (fs::is_directory(output, ec)) throw CliError(output, "is a directory");
    if (fs::equivalent(input, output, ec) && !ec)
        throw CliError(output, "is the input file " + input +
                                   " (the same file on disk); the render would replace it, so nothing was "
                                   "written: choose another output");
}

// What to do about samples an integer format clipped: a format that holds them, or less Gain.
std::string clippingAdvice(int format, double peak) {
    const int container = format & SF_FORMAT_TYPEMASK;
    const std::string keep = container == SF_FORMAT_WAV || container == SF_FORMAT_AIFF
                                 ? "render with --subtype float to keep them"
                                 : "render into a .wav or .aiff file with --subtype float to keep them";
    char gain[64];
    std::snprintf(gain, sizeof gain, "turn Gain down by %.1f dB",
                  std::ceil(20.0 * std::log10(peak) * 10.0) / 10.0);
    return keep + ", or " + gain;
}

void renderFile(const RenderOptions& options, const std::string& pluginPath, const std::string& input,
                const std::string& output, const std::optional<std::string>& format,
                const std::optional<PresetChoice>& preset) {
    refuseOutputOverInput(input, output);
    // Everything that can be refused is checked before the output's temporary file is created.
    auto plugin = loadPlugin(pluginPath);
    AudioReader reader(input);
    const AudioStreamInfo& in = reader.info();
    const int outputFormat = chooseOutputFormat(in, output, format, options.subtype);
    preparePlugin(*plugin, in.sampleRate, options.blockSize, in.channels, options.settings, options.precision,
                  preset ? &*preset : nullptr, options.seed);

    PendingOutput pending(output);
    const int channels = renderedChannels(*plugin, in.channels);
    AudioWriter writer(pending, outputFormat, channels, in.sampleRate);
    FileSource source(reader);
    FileSink sink(writer, channels, ditherStep(outputFormat), options.dither, options.seed.value_or(0));
    {
        ProgressBar progress(in.frames);
        render(*plugin, source, sink, options.blockSize, options.precision,
               [&](size_t done) { progress.update(done); });
    }
    plugin->mainsChanged(false);
    writer.commit();

    if (const std::string shortfall = reader.shortfall(); !shortfall.empty())
        std::cerr << "vr58: " << input << ": warning: " << shortfall << "\n";
    if ((outputFormat & SF_FORMAT_SUBMASK) == SF_FORMAT_VORBIS) {
        // Vorbis changes the level: the line describes the file as written, decoded again.
        AudioReader encoded(output);
        LevelMeter levels(static_cast<size_t>(encoded.info().channels));
        std::vector<double> block(4096 * static_cast<size_t>(encoded.info().channels));
        while (const size_t got = encoded.read(block.data(), 4096)) levels.add(block.data(), got);
        std::cout << output << ": " << describeLevels(levels.channels()) << " (decoded)\n";
        return;
    }
    std::cout << output << ": " << describeLevels(sink.levels.channels()) << "\n";
    if (isIntegerSampleFormat(outputFormat) && sink.levels.clipped() > 0) {
        double peak = 0.0;
        for (const ChannelLevels& level : sink.levels.channels()) peak = std::max(peak, level.peak);
        std::cerr << "vr58: " << output << ": " << sink.levels.clipped() << " of " << sink.levels.samples()
                  << " samples lay beyond full scale and were clipped in " << sampleFormatName(outputFormat)
                  << "; " << clippingAdvice(outputFormat, peak) << "\n";
    }
}

// The extensions of audio files a folder given as input contributes.
bool isAudioFileName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static const std::set<std::string> kAudio = {".wav", ".wave", ".flac", ".aif", ".aiff", ".aifc", ".ogg",
                                                 ".oga", ".opus", ".mp3",  ".au",  ".caf",  ".w64",  ".rf64"};
    return kAudio.count(extension) > 0 && path.filename().string().front() != '.';
}

// Files as given; a folder's audio files in name order.
std::vector<std::string> collectInputs(const std::vector<std::string>& inputs) {
    std::vector<std::string> files;
    for (const std::string& input : inputs) {
        std::error_code ec;
        if (!fs::is_directory(input, ec)) {
            files.push_back(input);
            continue;
        }
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(input, ec))
            if (!fs::is_directory(entry.path(), ec) && isAudioFileName(entry.path()))
                found.push_back(entry.path().string());
        if (ec) throw CliError(input, "cannot list the folder (" + ec.message() + ")");
        if (found.empty()) throw UsageError(input, "the folder holds no audio files");
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

int renderMany(const RenderOptions& options, const std::string& pluginPath,
               const std::optional<PresetChoice>& preset) {
    const std::vector<std::string> inputs = collectInputs(options.inputs);
    std::vector<std::string> outputs;
    std::set<std::string> names;
    for (const std::string& input : inputs) {
        fs::path name = fs::path(input).filename();
        if (options.format) name.replace_extension("." + *options.format);
        if (!names.insert(name.string()).second)
            throw UsageError(input, "another input has the name " + name.string() + " too; both would be " +
                                        "written to " + (fs::path(*options.outputDir) / name).string());
        outputs.push_back((fs::path(*options.outputDir) / name).string());
    }
    makeOutputFolder(*options.outputDir);
    std::vector<std::string> failed;
    for (size_t i = 0; i < inputs.size(); ++i) {
        try {
            renderFile(options, pluginPath, inputs[i], outputs[i], options.format, preset);
        } catch (const CliError& error) {
            std::cerr << "vr58: " << error.what() << "\n";
            failed.push_back(inputs[i]);
        }
    }
    std::cout << "Rendered " << inputs.size() - failed.size() << " of " << inputs.size() << " files into "
              << *options.outputDir << "\n";
    if (failed.empty()) return 0;
    std::string list;
    for (const std::string& file : failed) list += (list.empty() ? "" : ", ") + file;
    std::cerr << "vr58: not rendered: " << list << "\n";
    return 1;
}

} // namespace

int runRender(const std::vector<std::string>& args) {
    const RenderOptions options = parseRenderArguments(args);
    const std::string pluginPath = findPlugin(options.plugin);
    std::optional<PresetChoice> preset;
    if (options.preset) preset = choosePreset(*options.preset);
    // The plug-in, the preset and the settings are checked once, before any file is read or written.
    {
        auto plugin = loadPlugin(pluginPath);
        plugin->open();
        if (preset) loadPreset(*plugin, *preset);
        resolveSettings(*plugin, options.settings);
    }
    if (!options.outputDir) {
        renderFile(options, pluginPath, options.input, options.output, options.format, preset);
        return 0;
    }
    return renderMany(options, pluginPath, preset);
}

} // namespace vr58::tool
