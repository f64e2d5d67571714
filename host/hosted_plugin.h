// A small VST 2.4 host: loads one plug-in binary, answers and records the plug-in's host-callback calls,
// and drives the effect through its record (opcodes, parameters, chunk, process calls). Used by the vr58
// tool and by the tests that check the plug-ins from the outside.
#pragma once

#include "vst2/vst2_interface.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vr58::host {

class LoadedLibrary;

// One call the plug-in made into the host callback, with its arguments as received.
struct HostCall {
    int32_t opcode = 0;
    int32_t index = 0;
    intptr_t value = 0;
    void* ptr = nullptr;
    float opt = 0.0f;
    bool effectWasNull = false;
    AEffect* effect = nullptr;
};

// Text buffers handed to the plug-in are larger than the interface's limits and prefilled with this byte,
// so a caller can see which bytes the plug-in wrote and whether it wrote past the limit.
constexpr unsigned char kUntouchedByte = 0xA5;
constexpr size_t kTextBufferSize = 128;
using TextBuffer = std::array<unsigned char, kTextBufferSize>;

struct Chunk {
    intptr_t size = 0;          // the plug-in's answer to effGetChunk
    std::vector<uint8_t> bytes; // copy of the plug-in's buffer (empty when it gave no data)
};

template <typename Sample> using PlanarAudio = std::vector<std::vector<Sample>>;

class HostedPlugin {
public:
    // Loads the binary, calls VSTPluginMain (or main) with the host callback and validates the record.
    // On failure returns null and sets error to one line saying why. versionAnswer is what the callback
    // answers to audioMasterVersion.
    static std::unique_ptr<HostedPlugin> load(const std::string& path, std::string& error,
                                              intptr_t versionAnswer = 2400);
    ~HostedPlugin();
    HostedPlugin(const HostedPlugin&) = delete;
    HostedPlugin& operator=(const HostedPlugin&) = delete;

    // The record, or null after close().
    AEffect* effect() const { return effect_; }
    const std::string& path() const { return path_; }

    // Callback calls recorded so far (the plug-in may call from other threads; read them when it is quiet).
    const std::vector<HostCall>& calls() const { return calls_; }
    void clearCalls();
    // What the callback answers for an opcode from now on; opcodes never set answer 0.
    void setCallbackAnswer(int32_t opcode, intptr_t answer);
    // Runs on the calling thread after each callback call is recorded (outside the locks), so that a test
    // can act from inside a callback as a host may, e.g. close the editor inside audioMasterAutomate.
    // Set it while the plug-in is quiet.
    void setCallbackAction(std::function<void(int32_t opcode)> action);

    // Looks up another exported symbol of the loaded binary (null when absent).
    void* symbol(const char* name) const;

    // Raw dispatcher call; answers 0 when the record is gone.
    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    intptr_t open();
    // Sends effClose and forgets the record: the plug-in destroys it there.
    intptr_t close();
    intptr_t setSampleRate(float rate);
    intptr_t setBlockSize(int32_t frames);
    intptr_t mainsChanged(bool on);

    // Parameter texts: the interface's 8 characters plus the terminating zero at [8].
    std::string parameterName(int32_t index);
    std::string parameterLabel(int32_t index);
    std::string parameterDisplay(int32_t index);
    // The whole buffer after the plug-in wrote into it (opcode effGetParamName/Label/Display or any other
    // text opcode taking index and ptr).
    TextBuffer rawText(int32_t opcode, int32_t index = 0);

    void setParameter(int32_t index, float value);
    float getParameter(int32_t index);
    // Index of the parameter whose reported name equals name, or -1.
    int32_t findParameter(const std::string& name);

    Chunk getChunk(bool isPreset = false);
    intptr_t setChunk(const std::vector<uint8_t>& bytes, bool isPreset = false);

    std::string effectName();
    std::string vendorString();
    std::string productString();
    intptr_t vendorVersion();
    intptr_t vstVersion();
    intptr_t plugCategory();
    intptr_t canDo(const std::string& text);
    intptr_t setSpeakerArrangement(int32_t inChannels, int32_t outChannels);

    // Process calls on caller buffers; false when the record is gone or lacks the entry.
    bool processReplacing(float** inputs, float** outputs, int32_t frames);
    bool processDoubleReplacing(double** inputs, double** outputs, int32_t frames);

    // Runs whole planar signals through the plug-in in blocks of blockSize frames. inputs must have
    // numInputs channels of equal length; outputs is resized to numOutputs channels of that length.
    bool process(const PlanarAudio<float>& inputs, PlanarAudio<float>& outputs, int32_t blockSize,
                 std::string& error);
    bool process(const PlanarAudio<double>& inputs, PlanarAudio<double>& outputs, int32_t blockSize,
                 std::string& error);

private:
    HostedPlugin(std::unique_ptr<LoadedLibrary> library, std::string path, intptr_t versionAnswer);
    static intptr_t callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                             float opt);
    intptr_t answer(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
    std::string text(int32_t opcode, int32_t index, size_t limit);
    template <typename Sample>
    bool processPlanar(const PlanarAudio<Sample>& inputs, PlanarAudio<Sample>& outputs, int32_t blockSize,
                       std::string& error);

    std::unique_ptr<LoadedLibrary> library_;
    std::string path_;
    AEffect* effect_ = nullptr;
    std::mutex mutex_; // guards calls_ and answers_ against callbacks from plug-in threads
    std::vector<HostCall> calls_;
    std::map<int32_t, intptr_t> answers_;
    std::function<void(int32_t opcode)> action_;
};

} // namespace vr58::host
