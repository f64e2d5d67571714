// The validator's test signals, in both precisions: the kinds of input that break filters.
#pragma once

#include "driver.h"

#include <string>
#include <vector>

namespace vr58::validate {

enum class Signal { Silence, FullScaleNoise, NyquistSquare, Impulses, FltMin, Tiny, Subnormal, TenFold };

const std::vector<Signal>& allSignals();
std::string signalName(Signal signal);

template <typename Sample> StereoBuffer<Sample> makeSignal(Signal signal, size_t frames, uint32_t seed);

// A 1 kHz sine of amplitude 0.5 at 48 kHz on both channels.
template <typename Sample> StereoBuffer<Sample> makeSine(size_t frames);

} // namespace vr58::validate
