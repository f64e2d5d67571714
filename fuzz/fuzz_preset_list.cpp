// The preset-list reader on a file of any bytes: a list it accepts holds names that can be files and
// presets, used once each, with settings in 0..1; anything else is one CliError.
#include "engine/cli_error.h"
#include "engine/preset_list.h"
#include "fuzz_support.h"

#include <cmath>
#include <set>

using namespace vr58;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz::MemoryFile file(data, size);
    std::vector<tool::PresetEntry> entries;
    try {
        entries = tool::readPresetList(file.path());
    } catch (const tool::CliError&) {
        return 0;
    }
    fuzz::expect(!entries.empty(), "an accepted list holds a preset");
    std::set<std::string> names;
    for (const tool::PresetEntry& entry : entries) {
        fuzz::expect(tool::presetNameProblem(entry.name).empty(), "an accepted name is a file name");
        fuzz::expect(names.insert(entry.name).second, "names are used once");
        for (const tool::ParameterSetting& setting : entry.settings)
            fuzz::expect(!setting.name.empty() && std::isfinite(setting.value) && setting.value >= 0.0f &&
                             setting.value <= 1.0f,
                         "settings lie in 0..1");
    }
    return 0;
}
