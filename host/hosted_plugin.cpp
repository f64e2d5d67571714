#include "host/hosted_plugin.h"

#include "host/loaded_library.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <type_traits>

namespace vr58::host {

namespace {

// The plug-in's first callback (audioMasterVersion) comes with a null effect, before the record exists:
// during the entry call it goes to the instance this thread is loading. Afterwards calls are routed by
// their record.
thread_local HostedPlugin* tLoading = nullptr;

std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<AEffect*, HostedPlugin*>& registry() {
    static std::map<AEffect*, HostedPlugin*> instances;
    return instances;
}

constexpr intptr_t kHostVersion = 2400;

// Speaker-arrangement and speaker types of the interface (kSpeakerArrMono/Stereo/UserDefined, kSpeakerM/L/R).
constexpr int32_t kSpeakerArrMono = 0;
constexpr int32_t kSpeakerArrStereo = 1;
constexpr int32_t kSpeakerArrUserDefined = -2;
constexpr int32_t kSpeakerM = 0;
constexpr int32_t kSpeakerL = 1;
constexpr int32_t kSpeakerR = 2;
constexpr int32_t kMaxArrangementChannels = 8;

void describeArrangement(VstSpeakerArrangement& arrangement, int32_t channels) {
    arrangement = VstSpeakerArrangement{};
    arrangement.numChannels = channels;
    arrangement.type = channels == 1   ? kSpeakerArrMono
                       : channels == 2 ? kSpeakerArrStereo
                                       : kSpeakerArrUserDefined;
    for (int32_t c = 0; c < channels; ++c) {
        VstSpeakerProperties& speaker = arrangement.speakers[c];
        speaker.type = channels == 1   ? kSpeakerM
                       : channels == 2 ? (c == 0 ? kSpeakerL : kSpeakerR)
                                       : kSpeakerM;
        std::snprintf(speaker.name, sizeof speaker.name, "%s",
                      channels == 2 ? (c == 0 ? "L" : "R") : std::to_string(c + 1).c_str());
    }
}

std::string hex(uint32_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << std::uppercase << value;
    return out.str();
}

} // namespace

HostedPlugin::HostedPlugin(std::unique_ptr<LoadedLibrary> library, std::string path, intptr_t versionAnswer)
    : library_(std::move(library)), path_(std::move(path)) {
    answers_[audioMasterVersion] = versionAnswer;
}

std::unique_ptr<HostedPlugin> HostedPlugin::load(const std::string& path, std::string& error,
                                                 intptr_t versionAnswer) {
    namespace fs = std::filesystem;
    error.clear();
    std::error_code ec;
    const fs::path file(path);
    const fs::file_status status = fs::status(file, ec);
    if (!fs::exists(status)) {
        error = "no such file";
        return nullptr;
    }
    if (fs::is_directory(status)) {
        error = "is a directory, not a plug-in binary";
        return nullptr;
    }
    // An absolute path keeps the loader from searching its library path for a bare file name.
    const fs::path absolute = fs::absolute(file, ec);
    std::string why;
    std::unique_ptr<LoadedLibrary> library = LoadedLibrary::open(ec ? path : absolute.string(), why);
    if (!library) {
        error = "not a loadable library (" + why + ")";
        return nullptr;
    }
    using Entry = AEffect* (*)(audioMasterCallback);
    void* entry = library->symbol("VSTPluginMain");
    if (!entry) entry = library->symbol("main");
    if (!entry) {
        error = "not a VST 2.4 plug-in: exports neither VSTPluginMain nor main";
        return nullptr;
    }

    std::unique_ptr<HostedPlugin> plugin(new HostedPlugin(std::move(library), path, versionAnswer));
    HostedPlugin* const outer = tLoading;
    tLoading = plugin.get();
    AEffect* const record = reinterpret_cast<Entry>(entry)(&HostedPlugin::callback);
    tLoading = outer;

    // A record that fails these checks is not ours to close: it is left alone and the library unloaded.
    if (!record) {
        error = "not a VST 2.4 plug-in: the entry returned no effect (null record)";
        return nullptr;
    }
    if (record->magic != kEffectMagic) {
        error = "not a VST 2.4 plug-in: wrong magic " + hex(static_cast<uint32_t>(record->magic)) +
                " in the effect record (expected 0x56737450 'VstP')";
        return nullptr;
    }
    if (!record->dispatcher) {
        error = "not a VST 2.4 plug-in: the effect record has no dispatcher";
        return nullptr;
    }
    plugin->effect_ = record;
    std::lock_guard<std::mutex> lock(registryMutex());
    registry()[record] = plugin.get();
    return plugin;
}

HostedPlugin::~HostedPlugin() {
    if (effect_) close();
    library_.reset();
}

intptr_t HostedPlugin::callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
    const std::function<void(int32_t)>* action = nullptr;
    intptr_t result = 0;
    {
        // The registry lock is held while answering so an instance cannot be destroyed under a plug-in
        // thread.
        std::lock_guard<std::mutex> lock(registryMutex());
        HostedPlugin* target = nullptr;
        if (effect) {
            const auto found = registry().find(effect);
            if (found != registry().end()) target = found->second;
        }
        if (!target) target = tLoading;
        if (!target) return opcode == audioMasterVersion ? kHostVersion : 0;
        result = target->answer(effect, opcode, index, value, ptr, opt);
        if (target->action_) action = &target->action_;
    }
    // Outside the lock: the action may call the plug-in, which may call back. The test that set it keeps
    // the instance alive meanwhile.
    if (action) (*action)(opcode);
    return result;
}

intptr_t HostedPlugin::answer(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                              float opt) {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.push_back(HostCall{opcode, index, value, ptr, opt, effect == nullptr, effect});
    const auto found = answers_.find(opcode);
    return found == answers_.end() ? 0 : found->second;
}

void HostedPlugin::setCallbackAction(std::function<void(int32_t opcode)> action) {
    action_ = std::move(action);
}

void HostedPlugin::clearCalls() {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.clear();
}

void HostedPlugin::setCallbackAnswer(int32_t opcode, intptr_t answer) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[opcode] = answer;
}

void* HostedPlugin::symbol(const char* name) const {
    return library_->symbol(name);
}

intptr_t HostedPlugin::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
    if (!effect_) return 0;
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

intptr_t HostedPlugin::open() {
    return dispatch(effOpen);
}

intptr_t HostedPlugin::close() {
    if (!effect_) return 0;
    const intptr_t result = dispatch(effClose);
    std::lock_guard<std::mutex> lock(registryMutex());
    registry().erase(effect_);
    effect_ = nullptr;
    return result;
}

intptr_t HostedPlugin::setSampleRate(float rate) {
    return dispatch(effSetSampleRate, 0, 0, nullptr, rate);
}
intptr_t HostedPlugin::setBlockSize(int32_t frames) {
    return dispatch(effSetBlockSize, 0, frames);
}
intptr_t HostedPlugin::mainsChanged(bool on) {
    return dispatch(effMainsChanged, 0, on ? 1 : 0);
}

TextBuffer HostedPlugin::rawText(int32_t opcode, int32_t index) {
    TextBuffer buffer;
    buffer.fill(kUntouchedByte);
    dispatch(opcode, index, 0, buffer.data());
    return buffer;
}

std::string HostedPlugin::text(int32_t opcode, int32_t index, size_t limit) {
    const TextBuffer buffer = rawText(opcode, index);
    std::string result;
    for (size_t i = 0; i < limit && buffer[i] != 0 && buffer[i] != kUntouchedByte; ++i)
        result.push_back(static_cast<char>(buffer[i]));
    return result;
}

std::string HostedPlugin::parameterName(int32_t index) {
    return text(effGetParamName, index, kVstMaxParamStrLen);
}
std::string HostedPlugin::parameterLabel(int32_t index) {
    return text(effGetParamLabel, index, kVstMaxParamStrLen);
}
std::string HostedPlugin::parameterDisplay(int32_t index) {
    return text(effGetParamDisplay, index, kVstMaxParamStrLen);
}

void HostedPlugin::setParameter(int32_t index, float value) {
    if (effect_ && effect_->setParameter) effect_->setParameter(effect_, index, value);
}

float HostedPlugin::getParameter(int32_t index) {
    return effect_ && effect_->getParameter ? effect_->getParameter(effect_, index) : 0.0f;
}

int32_t HostedPlugin::findParameter(const std::string& name) {
    if (!effect_) return -1;
    for (int32_t i = 0; i < effect_->numParams; ++i)
        if (parameterName(i) == name) return i;
    return -1;
}

Chunk HostedPlugin::getChunk(bool isPreset) {
    Chunk chunk;
    void* data = nullptr;
    chunk.size = dispatch(effGetChunk, isPreset ? 1 : 0, 0, &data);
    if (chunk.size > 0 && data) {
        const auto* bytes = static_cast<const uint8_t*>(data);
        chunk.bytes.assign(bytes, bytes + chunk.size);
    }
    return chunk;
}

intptr_t HostedPlugin::setChunk(const std::vector<uint8_t>& bytes, bool isPreset) {
    std::vector<uint8_t> copy(bytes); // the plug-in gets a buffer it may not outlive but can read freely
    return dispatch(effSetChunk, isPreset ? 1 : 0, static_cast<intptr_t>(copy.size()),
                    copy.empty() ? nullptr : copy.data());
}

std::string HostedPlugin::effectName() {
    return text(effGetEffectName, 0, kVstMaxEffectNameLen);
}
std::string HostedPlugin::vendorString() {
    return text(effGetVendorString, 0, kVstMaxVendorStrLen);
}
std::string HostedPlugin::productString() {
    return text(effGetProductString, 0, kVstMaxProductStrLen);
}
intptr_t HostedPlugin::vendorVersion() {
    return dispatch(effGetVendorVersion);
}
intptr_t HostedPlugin::vstVersion() {
    return dispatch(effGetVstVersion);
}
intptr_t HostedPlugin::plugCategory() {
    return dispatch(effGetPlugCategory);
}

intptr_t HostedPlugin::canDo(const std::string& text) {
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    return dispatch(effCanDo, 0, 0, copy.data());
}

intptr_t HostedPlugin::setSpeakerArrangement(int32_t inChannels, int32_t outChannels) {
    // The record holds at most eight speakers; larger counts cannot be described.
    if (inChannels < 0 || outChannels < 0 || inChannels > kMaxArrangementChannels ||
        outChannels > kMaxArrangementChannels)
        return 0;
    VstSpeakerArrangement in;
    VstSpeakerArrangement out;
    describeArrangement(in, inChannels);
    describeArrangement(out, outChannels);
    return dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&in), &out);
}

bool HostedPlugin::processReplacing(float** inputs, float** outputs, int32_t frames) {
    if (!effect_ || !effect_->processReplacing) return false;
    effect_->processReplacing(effect_, inputs, outputs, frames);
    return true;
}

bool HostedPlugin::processDoubleReplacing(double** inputs, double** outputs, int32_t frames) {
    if (!effect_ || !effect_->processDoubleReplacing) return false;
    effect_->processDoubleReplacing(effect_, inputs, outputs, frames);
    return true;
}

template <typename Sample>
bool HostedPlugin::processPlanar(const PlanarAudio<Sample>& inputs, PlanarAudio<Sample>& outputs,
                                 int32_t blockSize, std::string& error) {
    constexpr bool isDouble = std::is_same_v<Sample, double>;
    if (!effect_) {
        error = "the effect is closed";
        return false;
    }
    if (isDouble ? !effect_->processDoubleReplacing : !effect_->processReplacing) {
        error =
            isDouble ? "the plug-in has no 64-bit process call" : "the plug-in has no 32-bit process call";
        return false;
    }
    if (blockSize <= 0) {
        error = "block size must be positive";
        return false;
    }
    // The signal's length comes from its inputs, so an effect without inputs cannot be driven this way.
    if (effect_->numInputs < 1 || effect_->numOutputs < 0) {
        error = "the plug-in declares no audio inputs";
        return false;
    }
    if (inputs.size() != static_cast<size_t>(effect_->numInputs)) {
        error = "the plug-in takes " + std::to_string(effect_->numInputs) + " input channels, got " +
                std::to_string(inputs.size());
        return false;
    }
    const size_t frames = inputs.front().size();
    for (const auto& channel : inputs) {
        if (channel.size() != frames) {
            error = "input channels differ in length";
            return false;
        }
    }
    outputs.assign(static_cast<size_t>(effect_->numOutputs), std::vector<Sample>(frames, Sample(0)));

    std::vector<Sample*> in(inputs.size());
    std::vector<Sample*> out(outputs.size());
    for (size_t start = 0; start < frames; start += static_cast<size_t>(blockSize)) {
        const size_t count = std::min(frames - start, static_cast<size_t>(blockSize));
        // The plug-in takes non-const pointers; it reads the inputs only.
        for (size_t c = 0; c < in.size(); ++c) in[c] = const_cast<Sample*>(inputs[c].data() + start);
        for (size_t c = 0; c < out.size(); ++c) out[c] = outputs[c].data() + start;
        if constexpr (isDouble)
            effect_->processDoubleReplacing(effect_, in.data(), out.data(), static_cast<int32_t>(count));
        else
            effect_->processReplacing(effect_, in.data(), out.data(), static_cast<int32_t>(count));
    }
    return true;
}

bool HostedPlugin::process(const PlanarAudio<float>& inputs, PlanarAudio<float>& outputs, int32_t blockSize,
                           std::string& error) {
    return processPlanar(inputs, outputs, blockSize, error);
}

bool HostedPlugin::process(const PlanarAudio<double>& inputs, PlanarAudio<double>& outputs, int32_t blockSize,
                           std::string& error) {
    return processPlanar(inputs, outputs, blockSize, error);
}

} // namespace vr58::host
