#include "engine/fxp_preset.h"

#include <cstddef>
#include <cstdio>

namespace vr58::host {

namespace {

constexpr uint32_t fourCharacters(const char (&text)[5]) {
    return static_cast<uint32_t>(static_cast<uint8_t>(text[0])) << 24 |
           static_cast<uint32_t>(static_cast<uint8_t>(text[1])) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(text[2])) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(text[3]));
}

constexpr uint32_t kChunkMagic = fourCharacters("CcnK");
constexpr uint32_t kOpaqueProgram = fourCharacters("FPCh");
constexpr uint32_t kParameterProgram = fourCharacters("FxCk");
constexpr uint32_t kOpaqueBank = fourCharacters("FBCh");
constexpr uint32_t kParameterBank = fourCharacters("FxBk");
constexpr uint32_t kFormatVersion = 1;
// Everything after the magic and the size field counts towards the size field.
constexpr size_t kSizedFrom = 8;

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t bigEndianAt(const std::vector<uint8_t>& bytes, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | bytes[offset + i];
    return value;
}

} // namespace

std::vector<uint8_t> encodeFxp(const ProgramPreset& preset) {
    std::vector<uint8_t> out;
    out.reserve(kFxpHeaderSize + preset.chunk.size());
    putBigEndian(out, kChunkMagic);
    putBigEndian(out, static_cast<uint32_t>(kFxpHeaderSize - kSizedFrom + preset.chunk.size()));
    putBigEndian(out, kOpaqueProgram);
    putBigEndian(out, kFormatVersion);
    putBigEndian(out, static_cast<uint32_t>(preset.pluginId));
    putBigEndian(out, static_cast<uint32_t>(preset.pluginVersion));
    putBigEndian(out, static_cast<uint32_t>(preset.parameterCount));
    for (size_t i = 0; i < kFxpNameSize; ++i)
        out.push_back(i + 1 < kFxpNameSize && i < preset.name.size() ? static_cast<uint8_t>(preset.name[i])
                                                                     : 0);
    putBigEndian(out, static_cast<uint32_t>(preset.chunk.size()));
    out.insert(out.end(), preset.chunk.begin(), preset.chunk.end());
    return out;
}

bool decodeFxp(const std::vector<uint8_t>& bytes, ProgramPreset& preset, std::string& error) {
    if (bytes.size() < 12 || bigEndianAt(bytes, 0) != kChunkMagic) {
        error = "not a VST preset file (no 'CcnK' header)";
        return false;
    }
    const uint32_t kind = bigEndianAt(bytes, 8);
    if (kind == kOpaqueBank || kind == kParameterBank) {
        error = "is a bank of programs (.fxb), not a single preset (.fxp)";
        return false;
    }
    if (kind == kParameterProgram) {
        error = "holds a plain parameter list ('FxCk'), not the plug-in's chunk ('FPCh')";
        return false;
    }
    if (kind != kOpaqueProgram) {
        error = "not a VST preset file (unknown kind " + describePluginId(static_cast<int32_t>(kind)) + ")";
        return false;
    }
    if (bytes.size() < kFxpHeaderSize) {
        error = "truncated: " + std::to_string(bytes.size()) + " bytes, the header alone needs " +
                std::to_string(kFxpHeaderSize);
        return false;
    }
    const uint32_t declaredSize = bigEndianAt(bytes, 4);
    const uint32_t chunkSize = bigEndianAt(bytes, kFxpHeaderSize - 4);
    const uint64_t needed = uint64_t{kFxpHeaderSize} + chunkSize;
    if (needed > bytes.size()) {
        error = "truncated: the chunk needs " + std::to_string(chunkSize) + " bytes, the file has " +
                std::to_string(bytes.size() - kFxpHeaderSize);
        return false;
    }
    if (uint64_t{declaredSize} + kSizedFrom > bytes.size()) {
        error = "truncated: the header announces " + std::to_string(uint64_t{declaredSize} + kSizedFrom) +
                " bytes, the file has " + std::to_string(bytes.size());
        return false;
    }
    preset.pluginId = static_cast<int32_t>(bigEndianAt(bytes, 16));
    preset.pluginVersion = static_cast<int32_t>(bigEndianAt(bytes, 20));
    preset.parameterCount = static_cast<int32_t>(bigEndianAt(bytes, 24));
    preset.name.clear();
    // The last byte of the field is the terminator even where a writer left it out.
    for (size_t i = 0; i + 1 < kFxpNameSize && bytes[28 + i] != 0; ++i)
        preset.name.push_back(static_cast<char>(bytes[28 + i]));
    preset.chunk.assign(bytes.begin() + kFxpHeaderSize, bytes.begin() + static_cast<std::ptrdiff_t>(needed));
    return true;
}

std::string describePluginId(int32_t id) {
    const auto bits = static_cast<uint32_t>(id);
    std::string text = "'";
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = static_cast<char>(bits >> shift);
        if (c < 0x20 || c > 0x7e) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08X", bits);
            return hex;
        }
        text += c;
    }
    return text + "'";
}

} // namespace vr58::host
