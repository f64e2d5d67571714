// The .fxp reader: any bytes either decode or are refused with a reason; what decodes encodes back into a
// file that decodes to the same preset.
#include "engine/fxp_preset.h"
#include "fuzz_support.h"

using namespace vr58;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    host::ProgramPreset preset;
    std::string error;
    if (!host::decodeFxp(bytes, preset, error)) {
        fuzz::expect(!error.empty(), "a refused file has a reason");
        return 0;
    }
    fuzz::expect(preset.name.size() < host::kFxpNameSize, "the name fits the header");
    host::ProgramPreset again;
    fuzz::expect(host::decodeFxp(host::encodeFxp(preset), again, error), "an encoded preset decodes");
    fuzz::expect(again.pluginId == preset.pluginId && again.pluginVersion == preset.pluginVersion &&
                     again.parameterCount == preset.parameterCount && again.name == preset.name &&
                     again.chunk == preset.chunk,
                 "a preset survives encoding");
    return 0;
}
