#include "driver.h"

namespace vr58::validate {

std::unique_ptr<host::HostedPlugin> loadPlugin(const Target& target, Check& check) {
    std::string error;
    auto plugin = host::HostedPlugin::load(target.plugin, error);
    check.expect(plugin != nullptr, [&] { return "loading failed: " + error; });
    if (plugin) plugin->open();
    return plugin;
}

void prepare(host::HostedPlugin& plugin, float sampleRate, int32_t blockSize) {
    plugin.setSampleRate(sampleRate);
    plugin.setBlockSize(blockSize);
    plugin.mainsChanged(true);
}

void setAllParameters(host::HostedPlugin& plugin, float value) {
    for (int32_t i = 0; i < plugin.effect()->numParams; ++i) plugin.setParameter(i, value);
}

const char* precisionName(bool doublePrecision) {
    return doublePrecision ? "64-bit" : "32-bit";
}

} // namespace vr58::validate
