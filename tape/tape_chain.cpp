// The chain's stages meet through one value per frame and channel, so a process call runs in passes of up
// to kStageFrames frames: the record stage fills a small buffer, the saturation stage replaces each value by
// its erf, the playback stage turns them into output frames, and the meter stage feeds the meter from the
// trimmed input or the output kept aside for it. Each stage keeps only its own state in registers, and the
// erf calls of a pass do not wait for each other. Left and right share one two-lane register throughout;
// only erf is called per lane. The hiss draws stay left then right per frame.
#include "tape/tape_chain.h"

#include "tape/lane_sections.h"

#include <algorithm>
#include <cmath>

namespace vr58 {

namespace {

// Long enough for the erf calls to overlap, short enough to stay in the first-level cache.
constexpr int32_t kStageFrames = 64;

// Trim, record equaliser and hiss: input frames to the values the tape saturates.
struct RecordStage {
    LowShelfFilter<Lanes> low;
    HighShelfFilter<Lanes> high;
    Lanes trimGain;
    Lanes hissGain;

    // Keeps the trimmed input frames in `trimmed` unless that is null. kSilenceNonFinite makes
    // non-finite frames silence, and a channel the frame overflows start again from silence there (see
    // runRecordStage).
    template <bool kNoise, bool kSilenceNonFinite, typename Sample>
    void run(const Sample* inL, const Sample* inR, NoiseGenerator& noise, Lanes* tape, Lanes* trimmed,
             int32_t frames) {
        // Working copies: the buffer writes could otherwise alias the state and force it through memory.
        RecordStage stage = *this;
        NoiseGenerator generator = noise;
        for (int32_t i = 0; i < frames; ++i) {
            const Lanes trimmedFrame = loadFrame(inL, inR, i) * stage.trimGain;
            Lanes x = kSilenceNonFinite ? finiteOrSilence(trimmedFrame) : trimmedFrame;
            Lanes u = processSample(stage.high, processSample(stage.low, x));
            if constexpr (kSilenceNonFinite) {
                // A finite frame near the top of the double range can still overflow the shelves (or
                // make infinity minus infinity in them): that channel's shelves and frame become silence.
                const Lanes health = u + stage.low.s + stage.high.s;
                stage.low.s = keepWhereFinite(stage.low.s, health);
                stage.high.s = keepWhereFinite(stage.high.s, health);
                u = keepWhereFinite(u, health);
                x = keepWhereFinite(x, health);
            }
            if (trimmed) trimmed[i] = x;
            if constexpr (kNoise) {
                const float left = generator.draw();
                const float right = generator.draw();
                u = u + lanesOf(left, right) * stage.hissGain;
            }
            tape[i] = u;
        }
        *this = stage;
        noise = generator;
    }
};

// Tape saturation. No call depends on another, so the processor overlaps them. Returns the sum of the
// saturated values: finite (at most the frame count) unless one of them is a NaN.
Lanes saturate(Lanes* tape, int32_t frames) {
    Lanes sum = bothLanes(0.0);
    for (int32_t i = 0; i < frames; ++i) {
        tape[i] = lanesOf(std::erf(leftLane(tape[i])), std::erf(rightLane(tape[i])));
        sum = sum + tape[i];
    }
    return sum;
}

// Record stage and saturation of one stretch. Non-finite samples, and finite ones that overflow the record
// shelves, would stay in the filter states for good or reach the output as a NaN: they enter the chain as
// silence. Such a sample leaves a NaN or an infinity in the shelves' state or in a saturated value, so the
// stretch runs without the tests per frame and, only when its end state or its saturated values show one,
// again from its start with them; no output is written in between.
template <typename Sample>
void runRecordStage(RecordStage& record, bool noiseOn, const Sample* inL, const Sample* inR,
                    NoiseGenerator& noise, Lanes* tape, Lanes* trimmed, int32_t frames) {
    const RecordStage start = record;
    const NoiseGenerator startNoise = noise;
    if (noiseOn)
        record.run<true, false>(inL, inR, noise, tape, trimmed, frames);
    else
        record.run<false, false>(inL, inR, noise, tape, trimmed, frames);
    const Lanes health = record.low.s + record.high.s + saturate(tape, frames);
    if (leftLane(health - health) == 0.0 && rightLane(health - health) == 0.0) return;
    record = start;
    noise = startNoise;
    if (noiseOn)
        record.run<true, true>(inL, inR, noise, tape, trimmed, frames);
    else
        record.run<false, true>(inL, inR, noise, tape, trimmed, frames);
    saturate(tape, frames);
}

// Head bump, repro equaliser and output gain: saturated values to output frames.
struct PlaybackStage {
    HighPassFilter<Lanes> highPass;
    Biquad<Lanes> bump;
    LowShelfFilter<Lanes> low;
    HighShelfFilter<Lanes> high;
    Lanes outputGain;

    // Keeps the output frames, before any narrowing, in `output` unless that is null.
    template <typename Sample>
    void run(const Lanes* tape, Sample* outL, Sample* outR, Lanes* output, int32_t frames) {
        PlaybackStage stage = *this;
        for (int32_t i = 0; i < frames; ++i) {
            const Lanes b = processSample(stage.bump, processSample(stage.highPass, tape[i]));
            const Lanes y = processSample(stage.high, processSample(stage.low, b)) * stage.outputGain;
            storeFrame(outL, outR, i, y);
            if (output) output[i] = y;
        }
        *this = stage;
    }
};

// One meter value a frame: the left magnitude alone for a mono arrangement, else the mean of both. A loop
// of its own: inside the playback stage its recursion would compete for registers and cost twice as much.
void meterStage(MeterFeed::Block& block, const Lanes* source, bool mono, int32_t frames) {
    MeterFeed::Block step = block;
    for (int32_t i = 0; i < frames; ++i) {
        const Lanes v = magnitudes(source[i]);
        step.push(mono ? leftLane(v) : (leftLane(v) + rightLane(v)) * 0.5);
    }
    block = step;
}

} // namespace

template <typename Sample>
void runTapeChain(const TapeSections& sections, NoiseGenerator& noise, const BlockSettings& settings,
                  const MeterTap& meter, Sample** inputs, Sample** outputs, int32_t frames) {
    RecordStage record{loadLanes(sections.recordLow), loadLanes(sections.recordHigh),
                       bothLanes(settings.trimGain), bothLanes(settings.hissGain)};
    PlaybackStage playback{loadLanes(sections.bumpHighPass), loadLanes(sections.bumpPeak),
                           loadLanes(sections.reproLow), loadLanes(sections.reproHigh),
                           bothLanes(settings.outputGain)};
    Lanes tape[kStageFrames];
    Lanes metered[kStageFrames];
    Lanes* keepTrimmed = meter.block && !meter.fromOutput ? metered : nullptr;
    Lanes* keepOutput = meter.block && meter.fromOutput ? metered : nullptr;
    for (int32_t start = 0; start < frames; start += kStageFrames) {
        const int32_t n = std::min(kStageFrames, frames - start);
        runRecordStage(record, settings.noiseOn, inputs[0] + start, inputs[1] + start, noise, tape,
                       keepTrimmed, n);
        playback.run(tape, outputs[0] + start, outputs[1] + start, keepOutput, n);
        if (meter.block) meterStage(*meter.block, metered, meter.mono, n);
    }
    storeState(record.low, sections.recordLow);
    storeState(record.high, sections.recordHigh);
    storeState(playback.highPass, sections.bumpHighPass);
    storeState(playback.bump, sections.bumpPeak);
    storeState(playback.low, sections.reproLow);
    storeState(playback.high, sections.reproHigh);
}

template void runTapeChain<float>(const TapeSections&, NoiseGenerator&, const BlockSettings&, const MeterTap&,
                                  float**, float**, int32_t);
template void runTapeChain<double>(const TapeSections&, NoiseGenerator&, const BlockSettings&,
                                   const MeterTap&, double**, double**, int32_t);

} // namespace vr58
