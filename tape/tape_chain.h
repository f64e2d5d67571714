// The tape chain over one process call: trim, record equaliser, hiss, erf saturation, head bump, repro
// equaliser and output gain, on both channels at once and stage by stage (see tape_chain.cpp). The output
// bits equal those of the chain run frame by frame and channel by channel.
#pragma once

#include "tape/filter_sections.h"
#include "tape/meter_feed.h"
#include "tape/noise_generator.h"

#include <cstdint>

namespace vr58 {

// The effect's twelve sections, each as its left and right pair.
struct TapeSections {
    LowShelfFilter<double> (&recordLow)[2];
    HighShelfFilter<double> (&recordHigh)[2];
    HighPassFilter<double> (&bumpHighPass)[2];
    PeakingFilter<double> (&bumpPeak)[2];
    LowShelfFilter<double> (&reproLow)[2];
    HighShelfFilter<double> (&reproHigh)[2];
};

// Values read once per process call.
struct BlockSettings {
    double trimGain;
    double outputGain;
    double hissGain;
    bool noiseOn;
};

// The meter step of one process call.
struct MeterTap {
    MeterFeed::Block* block; // takes one value a frame; null while the meter feed does not run
    bool fromOutput;         // the output frames, else the trimmed input before the record equaliser
    bool mono;               // the left channel alone, else the mean of both channels' magnitudes
};

// Host audio thread. Reads frames of both inputs before writing those frames of the outputs, so the
// buffers may be shared; frames must be positive.
template <typename Sample>
void runTapeChain(const TapeSections& sections, NoiseGenerator& noise, const BlockSettings& settings,
                  const MeterTap& meter, Sample** inputs, Sample** outputs, int32_t frames);

extern template void runTapeChain<float>(const TapeSections&, NoiseGenerator&, const BlockSettings&,
                                         const MeterTap&, float**, float**, int32_t);
extern template void runTapeChain<double>(const TapeSections&, NoiseGenerator&, const BlockSettings&,
                                          const MeterTap&, double**, double**, int32_t);

} // namespace vr58
