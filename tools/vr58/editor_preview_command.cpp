#include "arguments.h"
#include "audio_file.h"
#include "commands.h"
#include "editor/editor_layout.h"
#include "editor_preview.h"
#include "engine/cli_error.h"
#include "file_source.h"
#include "pending_output.h"
#include "plugin_session.h"
#include "render_loop.h"
#include "tape/meter_feed.h"

#include <cctype>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <optional>

namespace vr58::tool {

namespace {

// Follows the plug-in's output with the VU meter's ballistics, so the loudest moment is the one at which
// the needle stands highest.
class LoudnessSink : public FrameSink {
public:
    LoudnessSink(int channels, double sampleRate) : channels_(channels) {
        designVuBallistics(meter_, sampleRate);
    }
    void write(const double* interleaved, size_t frames) override {
        for (size_t i = 0; i < frames; ++i) {
            double sum = 0.0;
            for (int c = 0; c < channels_; ++c) sum += std::fabs(interleaved[i * channels_ + c]);
            stepVuBallistics(meter_, sum / channels_);
        }
    }
    double level() const { return meter_.y1; }

private:
    int channels_;
    VuBallistics meter_;
};

struct FacePoint {
    int32_t x, y;
};

// The middle of the control of a parameter named as --set names it, where the pointer rests.
std::optional<FacePoint> hoverPoint(const std::optional<std::string>& name) {
    if (!name) return std::nullopt;
    for (const EditorViewLayout& view : kEditorLayout)
        if (view.hasParameter() && view.parameter().name == *name)
            return FacePoint{(view.left + view.right) / 2, (view.top + view.bottom) / 2};
    throw CliError("--hover", "'" + *name + "' names no control of the editor");
}

// Plays the file through the plug-in with the editor open, idling it after every block in the audio's
// time, and keeps the picture of the moment the needle stood highest.
EditorPicture pictureWhilePlaying(host::HostedPlugin& plugin, const std::string& file,
                                  const std::vector<ParameterSetting>& settings, const PresetChoice* preset,
                                  int32_t scalePercent, std::optional<FacePoint> hover) {
    constexpr int kBlock = 512;
    AudioReader reader(file);
    const AudioStreamInfo& in = reader.info();
    preparePlugin(plugin, in.sampleRate, kBlock, in.channels, settings, Precision::Single, preset);
    EditorWindow window(plugin, scalePercent);
    if (hover) window.pointAt(hover->x, hover->y);
    FileSource source(reader);
    LoudnessSink loudness(renderedChannels(plugin, in.channels), in.sampleRate);
    EditorPicture loudest = window.picture();
    double highest = -1.0;
    render(plugin, source, loudness, kBlock, Precision::Single, [&](size_t done) {
        window.idle(static_cast<uint32_t>(static_cast<double>(done) * 1000.0 / in.sampleRate));
        if (loudness.level() > highest) {
            highest = loudness.level();
            loudest = window.picture();
        }
    });
    plugin.mainsChanged(false);
    return loudest;
}

} // namespace

int runEditorPreview(const std::vector<std::string>& args) {
    const EditorPreviewOptions options = parseEditorPreviewArguments(args);
    std::string extension = std::filesystem::path(options.output).extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".png")
        throw UsageError(options.output, "the picture is written as PNG; name the file .png");
    auto plugin = loadPlugin(options.plugin);
    // Only the editor build has the parameters the skin shows, under these names.
    for (const EditorViewLayout& view : kEditorLayout)
        if (view.hasParameter() && plugin->parameterName(view.tag) != view.parameter().name)
            throw CliError(options.plugin, "has no editor skin (not the VR58-G editor build)");

    std::optional<PresetChoice> preset;
    if (options.preset) preset = choosePreset(*options.preset);
    const std::optional<FacePoint> hover = hoverPoint(options.hover);
    EditorPicture picture;
    if (options.play) {
        picture = pictureWhilePlaying(*plugin, *options.play, options.settings, preset ? &*preset : nullptr,
                                      options.scalePercent, hover);
    } else {
        if (preset) loadPreset(*plugin, *preset);
        applySettings(*plugin, resolveSettings(*plugin, options.settings));
        EditorWindow window(*plugin, options.scalePercent);
        if (hover) {
            // The pointer comes to rest, and stays past the read-out's half second.
            window.pointAt(hover->x, hover->y);
            window.idle(1000);
            window.idle(1600);
        }
        if (options.menu) {
            // Where a user would right-click: between the knobs, so the whole menu fits beside them.
            window.rightClickAt(230, 60);
            window.idle(2000);
        }
        picture = window.picture();
    }

    const std::vector<uint8_t> png = encodePicture(picture);
    if (png.empty()) throw CliError(options.output, "could not encode the editor picture");
    PendingOutput output(options.output);
    writeWholeFile(output, png.data(), png.size());
    output.commit();
    std::cout << "Wrote " << options.output << "\n";
    return 0;
}

} // namespace vr58::tool
