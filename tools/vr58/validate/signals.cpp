#include "signals.h"

#include <cfloat>
#include <limits>

namespace vr58::validate {

const std::vector<Signal>& allSignals() {
    static const std::vector<Signal> signals = {
        Signal::Silence, Signal::FullScaleNoise, Signal::NyquistSquare, Signal::Impulses,
        Signal::FltMin,  Signal::Tiny,           Signal::Subnormal,     Signal::TenFold};
    return signals;
}

std::string signalName(Signal signal) {
    switch (signal) {
    case Signal::Silence:
        return "silence";
    case Signal::FullScaleNoise:
        return "full-scale noise";
    case Signal::NyquistSquare:
        return "Nyquist square";
    case Signal::Impulses:
        return "impulses";
    case Signal::FltMin:
        return "FLT_MIN";
    case Signal::Tiny:
        return "1e-38";
    case Signal::Subnormal:
        return "subnormals";
    case Signal::TenFold:
        return "amplitude 10";
    }
    return "?";
}

template <typename Sample> StereoBuffer<Sample> makeSignal(Signal signal, size_t frames, uint32_t seed) {
    StereoBuffer<Sample> b(frames);
    Random random(seed);
    // The smallest subnormal of the precision and a few times it, with alternating sign.
    const Sample subnormal = std::numeric_limits<Sample>::denorm_min() * Sample(3);
    for (size_t i = 0; i < frames; ++i) {
        const Sample alternating = (i % 2) ? Sample(-1) : Sample(1);
        Sample l = 0, r = 0;
        switch (signal) {
        case Signal::Silence:
            break;
        case Signal::FullScaleNoise:
            l = static_cast<Sample>(random.uniform(-1.0, 1.0));
            r = static_cast<Sample>(random.uniform(-1.0, 1.0));
            break;
        case Signal::NyquistSquare:
            l = r = alternating;
            break;
        case Signal::Impulses:
            l = r = (i % 1000 == 0) ? Sample(1) : Sample(0);
            break;
        case Signal::FltMin:
            l = r = FLT_MIN;
            break;
        case Signal::Tiny:
            l = r = static_cast<Sample>(1e-38);
            break;
        case Signal::Subnormal:
            l = r = subnormal * alternating;
            break;
        case Signal::TenFold:
            l = r = ((i / 240) % 2) ? Sample(10) : Sample(-10);
            break;
        }
        b.left[i] = l;
        b.right[i] = r;
    }
    return b;
}

template <typename Sample> StereoBuffer<Sample> makeSine(size_t frames) {
    StereoBuffer<Sample> b(frames);
    for (size_t i = 0; i < frames; ++i)
        b.left[i] = b.right[i] =
            static_cast<Sample>(0.5 * std::sin(2.0 * 3.141592653589793 * 1000.0 * i / 48000.0));
    return b;
}

template StereoBuffer<float> makeSignal<float>(Signal, size_t, uint32_t);
template StereoBuffer<double> makeSignal<double>(Signal, size_t, uint32_t);
template StereoBuffer<float> makeSine<float>(size_t);
template StereoBuffer<double> makeSine<double>(size_t);

} // namespace vr58::validate
