// vr58 measure: the plug-in's magnitude response at low level and its level and distortion curve of a
// 1 kHz sine, measured from the binary at 48 kHz with the noise off, written as CSV files.
#include "arguments.h"
#include "cli_error.h"
#include "commands.h"
#include "measurement.h"
#include "pending_output.h"
#include "plugin_session.h"
#include "progress.h"
#include "render_loop.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace vr58::tool {

namespace fs = std::filesystem;

namespace {

constexpr int kSampleRate = 48000;
constexpr int kBlockSize = 512;
// -80 dBFS: far inside the range where erf is a straight line, even with Trim and a record shelf at +24 dB.
constexpr double kImpulseLevel = 1e-4;
// Long enough for the slowest section (the 10 Hz high-pass) to decay far below the measured precision.
constexpr size_t kResponseFrames = 1 << 17;
constexpr double kLowestFrequency = 10.0;
constexpr double kHighestFrequency = 22000.0;
constexpr int kPointsPerOctave = 24;

constexpr int kToneHz = 1000;
constexpr int kTonePeriod = kSampleRate / kToneHz;
constexpr int kLowestLevelDb = -40;
constexpr int kHighestLevelDb = 12;
constexpr int kHarmonics = 9;
// Each level plays until the filters have settled after the step, then one second is analysed.
constexpr size_t kSettleFrames = kSampleRate / 2;
constexpr size_t kWindowFrames = kSampleRate;
constexpr size_t kSegmentFrames = kSettleFrames + kWindowFrames;
constexpr size_t kLevelCount = kHighestLevelDb - kLowestLevelDb + 1;

// A 1 kHz sine that steps up 1 dB every segment, from the lowest level to the highest.
class LevelSteps : public FrameSource {
public:
    int channels() const override { return 1; }
    size_t read(double* out, size_t frames) override {
        size_t count = 0;
        for (; count < frames && position_ < kLevelCount * kSegmentFrames; ++count, ++position_) {
            const double amplitude = std::pow(10.0, levelDb(position_ / kSegmentFrames) / 20.0);
            const double phase =
                6.283185307179586 * static_cast<double>(position_ % kTonePeriod) / kTonePeriod;
            out[count] = amplitude * std::sin(phase);
        }
        return count;
    }
    static double levelDb(size_t segment) { return kLowestLevelDb + static_cast<double>(segment); }

private:
    size_t position_ = 0;
};

struct LevelRow {
    double inputDb = 0.0;
    std::vector<double> harmonics; // peak amplitudes, fundamental first
};

// Collects the analysed second of every segment and measures its harmonics.
class HarmonicsSink : public FrameSink {
public:
    void write(const double* in, size_t frames) override {
        for (size_t i = 0; i < frames; ++i, ++position_) {
            if (position_ % kSegmentFrames < kSettleFrames) continue;
            window_.push_back(in[i]);
            if (window_.size() < kWindowFrames) continue;
            rows.push_back({LevelSteps::levelDb(position_ / kSegmentFrames),
                            harmonicAmplitudes(window_.data(), window_.size(), kTonePeriod, kHarmonics)});
            window_.clear();
        }
    }
    std::vector<LevelRow> rows;

private:
    size_t position_ = 0;
    std::vector<double> window_;
};

std::string number(double value, const char* format) {
    if (std::isnan(value)) return "nan";
    if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string lowerName(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// Measurements run with the noise off; a plug-in without a Noise parameter has none to switch.
std::vector<ParameterSetting> withNoiseOff(host::HostedPlugin& plugin,
                                           std::vector<ParameterSetting> settings) {
    const auto off = [](const ParameterSetting& setting) {
        if (!setting.inUnits()) return setting.value == 0.0f;
        std::string word = setting.unitText;
        for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return word == "off" || word == "no" || word == "n" || word == "0";
    };
    for (const auto& setting : settings)
        if (lowerName(setting.name) == "noise" && !off(setting))
            throw CliError("--set", "Noise: measure always runs with the noise off (Noise=off)");
    if (plugin.findParameter("Noise") >= 0) settings.push_back({"Noise", 0.0f, {}});
    return settings;
}

// A fresh instance per measurement, so no filter state of one reaches the other.
std::unique_ptr<host::HostedPlugin> preparedInstance(const std::string& path,
                                                     const std::vector<ParameterSetting>& settings,
                                                     Precision& precision) {
    auto plugin = loadPlugin(path);
    const AEffect& record = *plugin->effect();
    precision = (record.flags & effFlagsCanDoubleReplacing) && record.processDoubleReplacing
                    ? Precision::Double
                    : Precision::Single;
    preparePlugin(*plugin, kSampleRate, kBlockSize, 1, withNoiseOff(*plugin, settings), precision);
    return plugin;
}

std::string measureResponse(const std::string& path, const std::vector<ParameterSetting>& settings,
                            ProgressBar& progress) {
    Precision precision;
    auto plugin = preparedInstance(path, settings, precision);
    std::vector<std::vector<double>> impulse(1, std::vector<double>(kResponseFrames, 0.0));
    impulse[0][0] = kImpulseLevel;
    MemorySource source(impulse);
    MemorySink sink(1);
    render(*plugin, source, sink, kBlockSize, precision, [&](size_t done) { progress.update(done); });
    plugin->mainsChanged(false);

    std::ostringstream csv;
    csv << "frequency_hz,gain_db\n";
    for (double frequency : logSpacedFrequencies(kLowestFrequency, kHighestFrequency, kPointsPerOctave))
        csv << number(frequency, "%.2f") << ","
            << number(responseGainDb(sink.planar[0], kImpulseLevel, frequency, kSampleRate), "%.4f") << "\n";
    return csv.str();
}

std::string measureLevels(const std::string& path, const std::vector<ParameterSetting>& settings,
                          ProgressBar& progress) {
    Precision precision;
    auto plugin = preparedInstance(path, settings, precision);
    LevelSteps source;
    HarmonicsSink sink;
    render(*plugin, source, sink, kBlockSize, precision,
           [&](size_t done) { progress.update(kResponseFrames + done); });
    plugin->mainsChanged(false);

    std::ostringstream csv;
    csv << "input_dbfs,output_dbfs,thd_percent";
    for (int h = 2; h <= kHarmonics; ++h) csv << ",h" << h << "_db";
    csv << "\n";
    for (const LevelRow& row : sink.rows) {
        const double fundamental = row.harmonics.front();
        csv << number(row.inputDb, "%.1f") << "," << number(toDb(fundamental), "%.4f") << ","
            << number(thdPercent(row.harmonics), "%.6g");
        for (size_t h = 1; h < row.harmonics.size(); ++h)
            csv << "," << number(toDb(row.harmonics[h] / fundamental), "%.2f");
        csv << "\n";
    }
    return csv.str();
}

std::string describeParameters(host::HostedPlugin& plugin, const std::vector<ParameterSetting>& settings) {
    applySettings(plugin, resolveSettings(plugin, settings));
    std::ostringstream csv;
    csv << "index,name,label,value\n";
    for (int32_t index = 0; index < plugin.effect()->numParams; ++index)
        csv << index << "," << plugin.parameterName(index) << "," << plugin.parameterLabel(index) << ","
            << number(plugin.getParameter(index), "%.6f") << "\n";
    return csv.str();
}

void writeText(PendingOutput& output, const std::string& text) {
    writeWholeFile(output, text.data(), text.size());
}

} // namespace

int runMeasure(const std::vector<std::string>& args) {
    const MeasureOptions options = parseMeasureArguments(args);
    // Everything that can be refused is checked before the folder or a file is made.
    auto plugin = loadPlugin(options.plugin);
    plugin->open();
    const std::vector<ParameterSetting> settings = withNoiseOff(*plugin, options.settings);
    const std::string parameters = describeParameters(*plugin, settings);

    std::string response;
    std::string levels;
    {
        ProgressBar progress(static_cast<long long>(kResponseFrames + kLevelCount * kSegmentFrames));
        response = measureResponse(options.plugin, options.settings, progress);
        levels = measureLevels(options.plugin, options.settings, progress);
    }

    const fs::path outDir(options.outputDir);
    const bool madeFolder = makeOutputFolder(options.outputDir);
    try {
        // All three are written in full before any replaces an older one.
        PendingOutput parametersFile((outDir / "parameters.csv").string());
        PendingOutput responseFile((outDir / "response.csv").string());
        PendingOutput levelsFile((outDir / "levels.csv").string());
        writeText(parametersFile, parameters);
        writeText(responseFile, response);
        writeText(levelsFile, levels);
        parametersFile.commit();
        responseFile.commit();
        levelsFile.commit();
    } catch (const CliError&) {
        std::error_code ec;
        if (madeFolder) fs::remove(outDir, ec); // only when empty: nothing of the user's is touched
        throw;
    }
    std::cout << "Wrote parameters.csv, response.csv and levels.csv to " << outDir.string() << "\n";
    return 0;
}

} // namespace vr58::tool
