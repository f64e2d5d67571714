// vr58 measure end to end: exact answers from the gain fixture, the real plug-in measured two ways, and
// refusals that leave nothing behind.
#include "cli_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

using namespace vr58::test;

namespace {

using Columns = std::map<std::string, std::vector<double>>;

Columns readCsv(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    std::vector<std::string> names;
    std::istringstream header(line);
    for (std::string name; std::getline(header, name, ',');) names.push_back(name);
    Columns columns;
    while (std::getline(in, line)) {
        std::istringstream row(line);
        for (const auto& name : names) {
            std::string cell;
            std::getline(row, cell, ',');
            columns[name].push_back(std::stod(cell));
        }
    }
    return columns;
}

// The gain at a frequency between two measured points, interpolated on the log-frequency axis.
double gainAt(const Columns& response, double frequency) {
    const auto& f = response.at("frequency_hz");
    const auto& g = response.at("gain_db");
    for (size_t i = 0; i + 1 < f.size(); ++i)
        if (f[i] <= frequency && frequency <= f[i + 1]) {
            const double t = std::log(frequency / f[i]) / std::log(f[i + 1] / f[i]);
            return g[i] + t * (g[i + 1] - g[i]);
        }
    ADD_FAILURE() << frequency << " Hz is outside the measured range";
    return 0.0;
}

} // namespace

TEST(MeasureCli, GainFixtureMeasuresFlatAndUndistorted) {
    ScratchDir dir;
    // The fixture's output is input × 2 × Gain: -6.02 dB at every frequency and level.
    const RunResult run =
        runVr58({"measure", VR58_FIXTURE_RECORDING, (dir / "m").string(), "--set-normalised", "Gain=0.25"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const Columns response = readCsv(dir / "m" / "response.csv");
    ASSERT_EQ(response.at("frequency_hz").size(), 268u);
    EXPECT_EQ(response.at("frequency_hz").front(), 10.0);
    EXPECT_EQ(response.at("frequency_hz").back(), 22000.0);
    for (double gain : response.at("gain_db")) EXPECT_NEAR(gain, -6.0206, 1e-3); // the fixture runs in float

    const Columns levels = readCsv(dir / "m" / "levels.csv");
    ASSERT_EQ(levels.at("input_dbfs").size(), 53u);
    EXPECT_EQ(levels.at("input_dbfs").front(), -40.0);
    EXPECT_EQ(levels.at("input_dbfs").back(), 12.0);
    for (size_t i = 0; i < 53; ++i) {
        EXPECT_NEAR(levels.at("output_dbfs")[i], levels.at("input_dbfs")[i] - 6.0206, 1e-3);
        EXPECT_LT(levels.at("thd_percent")[i], 1e-3);
    }
    EXPECT_TRUE(levels.count("h9_db"));

    std::ifstream parameters(dir / "m" / "parameters.csv");
    std::vector<std::string> lines;
    for (std::string line; std::getline(parameters, line);) lines.push_back(line);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[2], "1,Gain,dB,0.250000");
    EXPECT_EQ(lines[15], "14,Noise,n/y,0.000000"); // switched off for the measurement
}

TEST(MeasureCli, RefusalsLeaveNoFolderOrFile) {
    ScratchDir dir;
    std::ofstream(dir / "file") << "x";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{VR58_FIXTURE_RECORDING, "@out", "--set-normalised", "Wow=1"}, "unknown parameter 'Wow'"},
        {{VR58_FIXTURE_RECORDING, "@out", "--set-normalised", "Noise=1"},
         "measure always runs with the noise off"},
        {{VR58_FIXTURE_RECORDING, "@out", "--block", "8"}, "--block: unknown option for measure"},
        {{VR58_FIXTURE_RECORDING}, "missing arguments"},
        {{VR58_FIXTURE_WRONG_MAGIC, "@out"}, "wrong magic"},
        {{VR58_FIXTURE_RECORDING, (dir / "file").string()}, "cannot create the folder"},
    };
    for (const auto& [args, expected] : cases) {
        std::vector<std::string> full = {"measure"};
        for (const auto& arg : args) full.push_back(arg == "@out" ? (dir / "out").string() : arg);
        const RunResult run = runVr58(full);
        EXPECT_NE(run.exitCode, 0) << expected;
        ASSERT_EQ(run.errLines().size(), 1u) << run.err;
        EXPECT_NE(run.err.find(expected), std::string::npos) << run.err;
        EXPECT_EQ(dir.entries(), std::vector<std::string>{"file"}) << expected;
    }
}

TEST(MeasureCli, RealPluginAgreesWithItselfAcrossTheTwoMethods) {
    ScratchDir dir;
    const RunResult run =
        runVr58({"measure", VR58_REAL_PLUGIN, dir.path().string(), "--set-normalised", "Trim=0.75"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const Columns response = readCsv(dir / "response.csv");
    const Columns levels = readCsv(dir / "levels.csv");
    // The impulse's gain at 1 kHz and the quietest sine's fundamental are the same quantity.
    const double impulseGain = gainAt(response, 1000.0);
    const double sineGain = levels.at("output_dbfs").front() - levels.at("input_dbfs").front();
    EXPECT_NEAR(impulseGain, sineGain, 0.01);
    EXPECT_NEAR(impulseGain, 12.0 + 20.0 * std::log10(2.0 / std::sqrt(3.141592653589793)), 0.1);
    // Trim +12 dB drives erf: distortion grows with level and the output flattens below full scale.
    const auto& thd = levels.at("thd_percent");
    for (size_t i = 1; i < thd.size(); ++i) EXPECT_GT(thd[i], thd[i - 1]) << i;
    EXPECT_LT(thd.front(), 0.1);
    EXPECT_GT(thd.back(), 30.0);
    EXPECT_LT(levels.at("output_dbfs").back(), 2.5);
}
