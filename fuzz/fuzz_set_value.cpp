// The --set parser, alone and as the words of a preset-list line: what it accepts is a name with a finite
// value in 0..1 or a value in units; a value in units read for a parameter of either build is a value in
// 0..1 or a refusal with its reason. Everything else is a CliError.
#include "arguments.h"
#include "engine/cli_error.h"
#include "engine/parameter_units.h"
#include "engine/preset_list.h"
#include "fuzz_support.h"

#include <cmath>
#include <vector>

using namespace vr58;

namespace {

void expectSane(const tool::ParameterSetting& setting) {
    fuzz::expect(!setting.name.empty(), "a setting has a name");
    fuzz::expect(std::isfinite(setting.value) && setting.value >= 0.0f && setting.value <= 1.0f,
                 "a setting's value lies in 0..1");
    if (!setting.inUnits()) return;
    for (const BuildConfig* build : {&kEditorBuild, &kPlainBuild}) {
        const ParameterUnits& units = ParameterUnits::of(*build);
        std::vector<float> values;
        for (int32_t i = 0; i < build->parameterCount; ++i)
            values.push_back(build->parameters[i].defaultValue);
        // The named parameter, else every one: the reader of units must hold for any text.
        const int32_t named = units.indexOf(setting.name);
        for (int32_t i = named >= 0 ? named : 0; i < (named >= 0 ? named + 1 : units.count()); ++i) {
            const ParameterUnits::Parsed parsed = units.parse(i, setting.unitText, values.data());
            if (!parsed.ok) {
                fuzz::expect(!parsed.error.empty(), "a refused value in units says why");
                continue;
            }
            fuzz::expect(std::isfinite(parsed.value) && parsed.value >= 0.0f && parsed.value <= 1.0f,
                         "a value in units lies in 0..1");
            values[static_cast<size_t>(i)] = parsed.value;
            fuzz::expect(!units.format(i, values.data()).empty(), "a read value can be shown");
        }
    }
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
