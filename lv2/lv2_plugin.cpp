#include "lv2/lv2_plugin.h"

#include "engine/parameter_units.h"
#include "lv2/lv2_ports.h"

#include <lv2/atom/atom.h>

#include <cmath>
#include <cstring>
#include <new>

namespace vr58::lv2 {

namespace {

bool sameValue(float a, float b) {
    return a == b || (a != a && b != b);
}

} // namespace

Lv2Tapedeck::Lv2Tapedeck(const BuildConfig& build, double sampleRate, const LV2_URID_Map* map)
    : build_(build), effect_(build), editorBundle_(&build == &kEditorBuild),
      holdFrames_(static_cast<uint64_t>(std::ceil(kMeterPeakHoldSeconds * sampleRate))) {
    static_assert(kEditorParameterCount <= kMaxParameters && kPlainParameterCount <= kMaxParameters);
    ParameterUnits::of(build); // the table is made here, never on the audio thread
    effect_.setSampleRate(static_cast<float>(sampleRate));
    if (map) {
        chunkKey_ = map->map(map->handle, kStateChunkKey);
        chunkType_ = map->map(map->handle, LV2_ATOM__Chunk);
    }
    assumePortsMatchEffect();
}

void Lv2Tapedeck::assumePortsMatchEffect() {
    for (int32_t i = 0; i < build_.parameterCount; ++i)
        assumedPortValue_[i] = portValueOf(build_, i, effect_.parameter(i));
}

void Lv2Tapedeck::connectPort(uint32_t port, void* data) {
    if (port < kFirstParameterPort) {
        if (port == kAudioInLeft || port == kAudioInRight)
            audioIn_[port - kAudioInLeft] = static_cast<const float*>(data);
        else
            audioOut_[port - kAudioOutLeft] = static_cast<float*>(data);
    } else if (port < parameterPort(build_.parameterCount)) {
        controls_[port - kFirstParameterPort] = static_cast<const float*>(data);
    } else if (editorBundle_ && port == meterLevelPort(build_)) {
        meterLevel_ = static_cast<float*>(data);
    } else if (editorBundle_ && port == meterPeakPort(build_)) {
        meterPeak_ = static_cast<float*>(data);
    }
}

void Lv2Tapedeck::activate() {
    heldPeak_ = peakSinceHeld_ = 0.0f;
    heldFrames_ = 0;
    // LV2 asks an activate after deactivate to forget the instance's history.
    effect_.clearFilterHistory();
    // The meters of the editor bundle's UI read what run publishes: the feed runs while active.
    if (editorBundle_) effect_.meterFeed().start();
}

void Lv2Tapedeck::deactivate() {
    effect_.meterFeed().stop();
}

void Lv2Tapedeck::applyChangedPorts() {
    const ParameterUnits& units = ParameterUnits::of(build_);
    for (int32_t i = 0; i < build_.parameterCount; ++i) {
        if (!controls_[i]) continue;
        const float value = *controls_[i];
        if (sameValue(value, assumedPortValue_[i])) continue;
        assumedPortValue_[i] = value;
        const float current = effect_.parameter(i);
        // A switch keeps its stored value while the port names the same position (H.Room's default lies
        // between two positions' values and means the second).
        if (units.isSwitch(i) &&
            portValueOf(build_, i, current) == portValueOf(build_, i, normalisedOf(build_, i, value)))
            continue;
        const float normalised = normalisedOf(build_, i, value);
        if (normalised != current) effect_.setParameter(i, normalised);
    }
}

void Lv2Tapedeck::run(uint32_t frames) {
    applyChangedPorts();
    if (audioIn_[0] && audioIn_[1] && audioOut_[0] && audioOut_[1]) {
        float* inputs[2] = {const_cast<float*>(audioIn_[0]), const_cast<float*>(audioIn_[1])};
        // The chain processes in blocks of a signed count; a host's count beyond that comes in pieces.
        uint32_t done = 0;
        while (done < frames) {
            const uint32_t n = frames - done > 0x40000000u ? 0x40000000u : frames - done;
            float* in[2] = {inputs[0] + done, inputs[1] + done};
            float* out[2] = {audioOut_[0] + done, audioOut_[1] + done};
            effect_.process(in, out, static_cast<int32_t>(n));
            done += n;
        }
    }
    if (editorBundle_) publishMeter(frames);
}

void Lv2Tapedeck::publishMeter(uint32_t frames) {
    MeterFeed& feed = effect_.meterFeed();
    const auto peak = static_cast<float>(feed.takePeak());
    heldFrames_ += frames;
    if (peak >= heldPeak_) {
        heldPeak_ = peak;
        heldFrames_ = 0;
        peakSinceHeld_ = 0.0f;
    } else if (peak > peakSinceHeld_) {
        peakSinceHeld_ = peak;
    }
    if (heldFrames_ >= holdFrames_) {
        heldPeak_ = peakSinceHeld_;
        peakSinceHeld_ = 0.0f;
        heldFrames_ = 0;
    }
    if (meterLevel_) *meterLevel_ = static_cast<float>(feed.smoothedLevel());
    if (meterPeak_) *meterPeak_ = heldPeak_;
}

LV2_State_Status Lv2Tapedeck::save(LV2_State_Store_Function store, LV2_State_Handle handle) {
    if (!chunkKey_ || !chunkType_) return LV2_STATE_ERR_NO_FEATURE;
    void* data = nullptr;
    const int32_t size = effect_.getChunk(&data);
    if (size <= 0 || !data) return LV2_STATE_ERR_UNKNOWN;
    return store(handle, chunkKey_, data, static_cast<size_t>(size), chunkType_,
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status Lv2Tapedeck::restore(LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle) {
    if (!chunkKey_ || !chunkType_) return LV2_STATE_ERR_NO_FEATURE;
    size_t size = 0;
    uint32_t type = 0, flags = 0;
    const void* data = retrieve(handle, chunkKey_, &size, &type, &flags);
    if (!data) return LV2_STATE_ERR_NO_PROPERTY;
    if (type != chunkType_) return LV2_STATE_ERR_BAD_TYPE;
    if (size == 0 || size > 0x7fffffffu) return LV2_STATE_ERR_UNKNOWN;
    // The effect reads a chunk of either build (the other's by parameter name) and, as from a VST 2.4
    // host, the values a chunk of another size holds; it never reads past its own parameter count.
    unsigned char bytes[4 * kMaxParameters] = {};
    std::memcpy(bytes, data, size < sizeof bytes ? size : sizeof bytes);
    effect_.setChunk(bytes, static_cast<int32_t>(size));
    // Only a port moved after the restore replaces what it restored: a host that restores the state
    // alone leaves its ports as they were, and they must not undo the state at the next run.
    assumePortsMatchEffect();
    for (int32_t i = 0; i < build_.parameterCount; ++i)
        if (controls_[i]) assumedPortValue_[i] = *controls_[i];
    return LV2_STATE_SUCCESS;
}

namespace {

template <const BuildConfig& build> struct Entry {
    static LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*,
                                  const LV2_Feature* const* features) {
        const LV2_URID_Map* map = nullptr;
        for (const LV2_Feature* const* f = features; f && *f; ++f)
            if (std::strcmp((*f)->URI, LV2_URID__map) == 0)
                map = static_cast<const LV2_URID_Map*>((*f)->data);
        if (!(rate > 0.0) || !std::isfinite(rate)) return nullptr;
        return new (std::nothrow) Lv2Tapedeck(build, rate, map);
    }
};

Lv2Tapedeck& deck(LV2_Handle handle) {
    return *static_cast<Lv2Tapedeck*>(handle);
}

void connectPort(LV2_Handle h, uint32_t port, void* data) {
    deck(h).connectPort(port, data);
}
void activate(LV2_Handle h) {
    deck(h).activate();
}
void run(LV2_Handle h, uint32_t frames) {
    deck(h).run(frames);
}
void deactivate(LV2_Handle h) {
    deck(h).deactivate();
}
void cleanup(LV2_Handle h) {
    delete static_cast<Lv2Tapedeck*>(h);
}

LV2_State_Status saveState(LV2_Handle h, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t,
                           const LV2_Feature* const*) {
    return deck(h).save(store, handle);
}
LV2_State_Status restoreState(LV2_Handle h, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle,
                              uint32_t, const LV2_Feature* const*) {
    return deck(h).restore(retrieve, handle);
}

const LV2_State_Interface kStateInterface = {saveState, restoreState};

const void* extensionData(const char* uri) {
    return std::strcmp(uri, LV2_STATE__interface) == 0 ? &kStateInterface : nullptr;
}

const LV2_Descriptor kEditorDescriptor = {
    kEditorPluginUri, Entry<kEditorBuild>::instantiate, connectPort, activate, run, deactivate, cleanup,
    extensionData};
const LV2_Descriptor kPlainDescriptor = {
    kPlainPluginUri, Entry<kPlainBuild>::instantiate, connectPort, activate, run, deactivate, cleanup,
    extensionData};

} // namespace

const LV2_Descriptor* descriptorOf(const BuildConfig& build) {
    return &build == &kPlainBuild ? &kPlainDescriptor : &kEditorDescriptor;
}

} // namespace vr58::lv2
