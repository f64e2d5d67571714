#include "driver.h"

#include <cstring>

namespace vr58::validate {

namespace {
constexpr size_t kBufferSize = 4096;
constexpr unsigned char kCanary[4] = {0xDE, 0xAD, 0xBE, 0xEF};

enum class Fill { Null, Zeroed, Ones, Canary };
constexpr Fill kFills[] = {Fill::Null, Fill::Zeroed, Fill::Ones, Fill::Canary};

const char* fillName(Fill fill) {
    switch (fill) {
    case Fill::Null:
        return "null";
    case Fill::Zeroed:
        return "zeroed";
    case Fill::Ones:
        return "0xFF";
    case Fill::Canary:
        return "canary";
    }
    return "?";
}

// A buffer the plug-in may take for any structure; its last byte is 0, so text readers stop inside it.
struct FuzzBuffer {
    explicit FuzzBuffer(Fill fill) : fill(fill) {
        for (size_t i = 0; i < kBufferSize; ++i)
            bytes[i] = fill == Fill::Zeroed ? 0 : fill == Fill::Ones ? 0xFF : kCanary[i % 4];
        bytes[kBufferSize - 1] = 0;
        original = bytes;
    }
    void* pointer() { return fill == Fill::Null ? nullptr : bytes.data(); }
    // Index of the last byte the plug-in changed, or -1.
    long lastWritten() const {
        for (size_t i = kBufferSize; i-- > 0;)
            if (bytes[i] != original[i]) return static_cast<long>(i);
        return -1;
    }
    Fill fill;
    std::array<unsigned char, kBufferSize> bytes{};
    std::array<unsigned char, kBufferSize> original{};
};

// Text opcodes and the characters they may write (plus the terminating zero).
long textLimit(int32_t opcode) {
    switch (opcode) {
    case effGetProgramName:
    case effGetProgramNameIndexed:
        return kVstMaxProgNameLen;
    case effGetParamLabel:
    case effGetParamDisplay:
    case effGetParamName:
        return kVstMaxParamStrLen;
    case effGetEffectName:
        return kVstMaxEffectNameLen;
    case effGetVendorString:
    case effGetProductString:
    case effShellGetNextPlugin:
        return kVstMaxVendorStrLen;
    default:
        return -1;
    }
}

bool takesWindow(int32_t opcode) {
    return opcode == effEditOpen; // a host passes a real window or nothing there
}

bool valueIsPointer(int32_t opcode) {
    return opcode == effSetSpeakerArrangement || opcode == effGetSpeakerArrangement;
}

// Opcodes left to the lifecycle check: effClose ends the effect.
bool ends(int32_t opcode) {
    return opcode == effClose;
}

std::vector<int32_t> opcodesToTry() {
    std::vector<int32_t> opcodes;
    for (int32_t op = 0; op <= 80; ++op) opcodes.push_back(op);
    for (int32_t op : {-1, -80, 81, 99, 128, 1000, 0x7FFFFFFF, static_cast<int32_t>(0x80000000)})
        opcodes.push_back(op);
    return opcodes;
}

void fuzzOnce(host::HostedPlugin& plugin, int32_t opcode, int32_t index, intptr_t value, Fill fill, float opt,
              Check& check) {
    FuzzBuffer buffer(takesWindow(opcode) ? Fill::Null : fill);
    FuzzBuffer second(fill);
    if (valueIsPointer(opcode)) value = reinterpret_cast<intptr_t>(second.pointer());
    if (opcode == effSetChunk && fill != Fill::Null) value = kBufferSize;
    plugin.dispatch(opcode, index, value, buffer.pointer(), opt);
    if (opcode == effEditOpen) plugin.dispatch(effEditClose);
    const long limit = textLimit(opcode);
    const long last = buffer.lastWritten();
    if (limit >= 0 && buffer.fill != Fill::Null) {
        check.expect(last <= limit, [&] {
            return "opcode " + std::to_string(opcode) + " index " + std::to_string(index) + " wrote byte " +
                   std::to_string(last) + " of a " + fillName(fill) + " buffer; its limit is " +
                   std::to_string(limit) + " characters and a zero";
        });
        if (last >= 0)
            check.expect(std::memchr(buffer.bytes.data(), 0, static_cast<size_t>(limit) + 1) != nullptr, [&] {
                return "opcode " + std::to_string(opcode) + " index " + std::to_string(index) +
                       " left its text unterminated";
            });
    } else {
        check.expect(true, [] { return std::string(); });
    }
}
} // namespace

void checkDispatcher(const Target& target, const Budget& budget, Check& check) {
    auto plugin = loadPlugin(target, check);
    if (!plugin) return;
    prepare(*plugin, 44100.0f, 512);
    const int32_t numParams = plugin->effect()->numParams;
    const std::vector<int32_t> indices = {0, 1, numParams - 1, numParams, -1, 1000, 0x7FFFFFFF};
    for (int32_t opcode : opcodesToTry()) {
        if (ends(opcode)) continue;
        for (Fill fill : kFills)
            for (int32_t index : indices) fuzzOnce(*plugin, opcode, index, 0, fill, 0.0f, check);
    }
    // Then random arguments for as long as the budget allows (values stay non-pointers).
    Random random(target.seed);
    const auto opcodes = opcodesToTry();
    while (budget.left()) {
        for (int i = 0; i < 200; ++i) {
            const int32_t opcode = opcodes[random.below(static_cast<uint32_t>(opcodes.size()))];
            if (ends(opcode)) continue;
            const int32_t index = static_cast<int32_t>(random.next());
            const intptr_t value = static_cast<intptr_t>(random.below(1u << 20));
            const float opt = static_cast<float>(random.uniform(-1e6, 1e6));
            fuzzOnce(*plugin, opcode, index, value, kFills[random.below(4)], opt, check);
        }
    }
    // Whatever it went through, the effect still processes finite audio.
    prepare(*plugin, 44100.0f, 512);
    StereoBuffer<float> in(512), out(512);
    check.expect(processCall(*plugin, in, out, 0, 512) && std::isfinite(peakOf(out, 0, 512)),
                 [] { return std::string("after the fuzz the effect no longer processes finite audio"); });
}

} // namespace vr58::validate
