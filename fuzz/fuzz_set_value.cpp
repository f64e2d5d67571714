// The --set parser, alone and as the words of a preset-list line: what it accepts is a named, finite value
// in 0..1; everything else is a CliError.
#include "arguments.h"
#include "cli_error.h"
#include "fuzz_support.h"
#include "preset_list.h"

#include <cmath>

using namespace vr58;

namespace {

void expectSane(const tool::ParameterSetting& setting) {
    fuzz::expect(!setting.name.empty(), "a setting has a name");
    fuzz::expect(std::isfinite(setting.value) && setting.value >= 0.0f && setting.value <= 1.0f,
                 "a setting's value lies in 0..1");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    try {
        expectSane(tool::parseParameterSetting(text));
    } catch (const tool::CliError&) {
    }
    try {
        for (const tool::ParameterSetting& setting : tool::parseSettingArguments(tool::splitWords(text)))
            expectSane(setting);
    } catch (const tool::CliError&) {
    }
    return 0;
}
