// The plug-in's process calls against the straightforward formula loop (the tests' frame-by-frame
// reference), side by side in the same run: each iteration times a stretch of process calls of one and then
// of the other (alternating which goes first), so both see the same machine load; times and ratio are
// medians over these pairs. Cases: both precisions, blocks of 32, 512 and 4096 frames, programme material
// and silence after a loud passage, noise on and off, the editor's meter feed stopped and running (window
// closed and open; the loop then feeds a meter of its own from every output frame, as the plug-in does at
// its default VU Path). The loop runs with the same subnormal flushing as the process calls. At the end a
// table gives, per case, the nanoseconds per stereo frame of both and their ratio (the median over the
// repetitions when repeated).
#include "reference_tape.h"
#include "tape/denormal_guard.h"
#include "tape/meter_feed.h"
#include "test_signals.h"
#include "vst2/QuorvaneTapedeck.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using namespace vr58;

namespace {
constexpr float kRate = 48000.0f;
constexpr int kFramesPerTiming = 8192; // long enough that reading the clock costs nothing measurable
constexpr uint32_t kSeed = 1;

intptr_t silentHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

struct Case {
    bool doublePrecision;
    int block;
    bool silence;
    bool noise;
    bool meter;

    std::string name() const {
        return std::string(doublePrecision ? "double" : "float") + "/block:" + std::to_string(block) +
               (silence ? "/silence" : "/signal") + (noise ? "/noise:on" : "/noise:off") +
               (meter ? "/meter:on" : "/meter:off");
    }
};

template <typename Sample> struct Buffers {
    Buffers(int frames, double level) : data(4, std::vector<Sample>(frames, Sample(0))) {
        if (level > 0.0) {
            const auto material = testing::makeProgramMaterial(frames, kRate, level);
            for (int ch = 0; ch < 2; ++ch) data[ch].assign(material[ch].begin(), material[ch].end());
        }
        for (int ch = 0; ch < 2; ++ch) {
            in[ch] = data[ch].data();
            out[ch] = data[2 + ch].data();
        }
    }
    std::vector<std::vector<Sample>> data;
    Sample* in[2];
    Sample* out[2];
};

void process(QuorvaneTapedeck& deck, Buffers<float>& b, int frames) {
    deck.processReplacing(b.in, b.out, frames);
}
void process(QuorvaneTapedeck& deck, Buffers<double>& b, int frames) {
    deck.processDoubleReplacing(b.in, b.out, frames);
}

// One contestant each: the plug-in and the loop, in the same state and fed the same blocks.
template <typename Sample> struct Contestants {
    explicit Contestants(const Case& c)
        : deck(std::make_unique<QuorvaneTapedeck>(silentHost, kEditorBuild)),
          buffers(c.block, c.silence ? 0 : 0.9) {
        deck->setSampleRate(kRate);
        deck->setParameter(kEditorBuild.noiseIndex, c.noise ? 1.0f : 0.0f);
        if (c.meter) {
            deck->meterFeed().start();
            loopMeter.start();
        }
        std::vector<float> values;
        for (int i = 0; i < kEditorBuild.parameterCount; ++i) values.push_back(deck->getParameter(i));
        loop = std::make_unique<testing::ReferenceTape>(values, testing::kEditorLayout, kRate, kSeed);
        if (c.silence) { // filter states decaying from a loud passage towards the subnormal range
            Buffers<Sample> loud(48000, 3.6);
            process(*deck, loud, 48000);
            runLoop(loud, 48000);
            for (int i = 0; i < 48000 / c.block; ++i) {
                process(*deck, buffers, c.block);
                runLoop(buffers, c.block);
            }
        }
    }

    void runLoop(Buffers<Sample>& b, int frames) {
        DenormalGuard flushSubnormals;
        if (!loopMeter.running()) {
            loop->run(b.in[0], b.in[1], b.out[0], b.out[1], frames);
            return;
        }
        MeterFeed::Block block = loopMeter.beginBlock(kRate);
        loop->run(b.in[0], b.in[1], b.out[0], b.out[1], frames, [&block](const double*, const double* y) {
            block.push((std::fabs(y[0]) + std::fabs(y[1])) * 0.5);
        });
        loopMeter.endBlock(block);
    }

    std::unique_ptr<QuorvaneTapedeck> deck;
    std::unique_ptr<testing::ReferenceTape> loop;
    MeterFeed loopMeter;
    Buffers<Sample> buffers;
};

template <typename Body> double secondsOf(int calls, Body&& body) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < calls; ++i) body();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double>& values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

template <typename Sample> void sideBySide(benchmark::State& state, Case c) {
    Contestants<Sample> contestants(c);
    const int calls = std::max(1, kFramesPerTiming / c.block);
    auto& deck = *contestants.deck;
    auto& buffers = contestants.buffers;
    std::vector<double> pluginTimes, loopTimes, ratios;
    bool pluginFirst = true;
    for (auto _ : state) {
        const auto timePlugin = [&] { return secondsOf(calls, [&] { process(deck, buffers, c.block); }); };
        const auto timeLoop = [&] {
            return secondsOf(calls, [&] { contestants.runLoop(buffers, c.block); });
        };
        double plugin, loop;
        if (pluginFirst) {
            plugin = timePlugin();
            loop = timeLoop();
        } else {
            loop = timeLoop();
            plugin = timePlugin();
        }
        pluginFirst = !pluginFirst;
        benchmark::DoNotOptimize(buffers.out[0][c.block - 1]);
        state.SetIterationTime(plugin);
        pluginTimes.push_back(plugin);
        loopTimes.push_back(loop);
        ratios.push_back(loop / plugin);
    }
    // Medians: a pair that another process interrupted moves them little.
    const double frames = static_cast<double>(calls) * c.block;
    state.counters["plugin_ns"] = median(pluginTimes) / frames * 1e9;
    state.counters["loop_ns"] = median(loopTimes) / frames * 1e9;
    state.counters["speedup"] = median(ratios);
}

// "double/block:512/signal/noise:on/meter:off" as the cells "double | 512 | signal | on | off".
std::string tableCells(const std::string& name) {
    std::string cells;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find('/', start);
        if (end == std::string::npos) end = name.size();
        const std::string part = name.substr(start, end - start);
        const size_t colon = part.find(':');
        cells += (cells.empty() ? "" : " | ") + (colon == std::string::npos ? part : part.substr(colon + 1));
        start = end + 1;
    }
    return cells;
}

// The console report as usual, then one line per case: medians when repeated, else the single run.
class SpeedupTable : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!single && !median) continue;
            rows_.push_back({run.run_name.function_name, run.counters.at("plugin_ns"),
                             run.counters.at("loop_ns"), run.counters.at("speedup")});
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf(
            "\n| samples | block | input | noise | meter | process call ns/frame | formula loop ns/frame "
            "| speed-up |\n|---|---:|---|---|---|---:|---:|---:|\n");
        for (const Row& row : rows_)
            std::printf("| %s | %.2f | %.2f | %.2f |\n", tableCells(row.name).c_str(), row.pluginNs,
                        row.loopNs, row.speedup);
    }

private:
    struct Row {
        std::string name;
        double pluginNs, loopNs, speedup;
    };
    std::vector<Row> rows_;
};
} // namespace

int main(int argc, char** argv) {
    for (bool doublePrecision : {false, true})
        for (int block : {32, 512, 4096})
            for (bool silence : {false, true})
                for (bool noise : {true, false})
                    for (bool meter : {false, true}) {
                        const Case c{doublePrecision, block, silence, noise, meter};
                        auto* b = doublePrecision
                                      ? benchmark::RegisterBenchmark(c.name().c_str(), sideBySide<double>, c)
                                      : benchmark::RegisterBenchmark(c.name().c_str(), sideBySide<float>, c);
                        b->UseManualTime()->Unit(benchmark::kMicrosecond);
                    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    SpeedupTable reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
