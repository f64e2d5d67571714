// A plug-in with three faults the validator must flag: a filter state that latches a NaN for good, a
// parameter name written past the 8 characters the interface allows, and a heap allocation in every
// process call. Everything else is ordinary.
#include "fixture_export.h"

#include <cstring>
#include <vector>

namespace {

struct BrokenEffect {
    AEffect record{};
    double state[2] = {0.0, 0.0}; // one-pole smoothing, never checked for NaN
    float gain = 0.5f;
};

BrokenEffect* self(AEffect* effect) {
    return static_cast<BrokenEffect*>(effect->object);
}

intptr_t dispatcher(AEffect* effect, int32_t opcode, int32_t, intptr_t, void* ptr, float) {
    switch (opcode) {
    case effClose:
        delete self(effect);
        return 1;
    case effGetParamName:
        if (ptr) std::strcpy(static_cast<char*>(ptr), "Smoothing Amount"); // 16 characters
        return 0;
    default:
        return 0;
    }
}

void setParameter(AEffect* effect, int32_t index, float value) {
    if (index == 0) self(effect)->gain = value < 0.0f ? 0.0f : value > 1.0f ? 1.0f : value;
}

float getParameter(AEffect* effect, int32_t index) {
    return index == 0 ? self(effect)->gain : 0.0f;
}

template <typename Sample> void smooth(AEffect* effect, Sample** inputs, Sample** outputs, int32_t frames) {
    if (frames <= 0) return;
    std::vector<double> scratch(static_cast<size_t>(frames)); // allocates on the audio thread
    BrokenEffect& fx = *self(effect);
    for (int c = 0; c < 2; ++c) {
        for (int32_t i = 0; i < frames; ++i) {
            fx.state[c] = 0.9 * fx.state[c] + 0.1 * static_cast<double>(inputs[c][i]);
            scratch[static_cast<size_t>(i)] = fx.state[c] * fx.gain;
        }
        for (int32_t i = 0; i < frames; ++i)
            outputs[c][i] = static_cast<Sample>(scratch[static_cast<size_t>(i)]);
    }
}

void processFloat(AEffect* effect, float** inputs, float** outputs, int32_t frames) {
    smooth(effect, inputs, outputs, frames);
}
void processDouble(AEffect* effect, double** inputs, double** outputs, int32_t frames) {
    smooth(effect, inputs, outputs, frames);
}

} // namespace

FIXTURE_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    auto* fx = new BrokenEffect;
    AEffect& e = fx->record;
    e.magic = kEffectMagic;
    e.dispatcher = dispatcher;
    e.setParameter = setParameter;
    e.getParameter = getParameter;
    e.numParams = 1;
    e.numInputs = 2;
    e.numOutputs = 2;
    e.flags = effFlagsCanReplacing | effFlagsCanDoubleReplacing;
    e.ioRatio = 1.0f;
    e.object = fx;
    e.uniqueID = 0x42726B6E; // 'Brkn'
    e.version = 1;
    e.processReplacing = processFloat;
    e.processDoubleReplacing = processDouble;
    return &e;
}
