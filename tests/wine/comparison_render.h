// The renders compared between the native plug-ins and the Windows DLLs under Wine: the same material
// and settings through both precisions, noise off (its seed comes from the clock).
#pragma once

#include "host/hosted_plugin.h"
#include "test_signals.h"

#include <string>
#include <vector>

namespace vr58::testing {

struct ComparisonRender {
    std::vector<double> samples; // every render's channels, one after the other
    std::string error;
};

inline ComparisonRender renderForComparison(const std::string& pluginPath) {
    struct Setting {
        std::vector<std::pair<const char*, float>> values;
    };
    const Setting settings[] = {
        {{}},
        {{{"EQ Curve", 0.1f}, {"Trim", 0.8f}, {"EQ RecLo", 0.7f}}},
        {{{"EQ Curve", 1.0f}, {"Head", 0.6f}, {"Bump", 1.0f}, {"HB Att", 0.0f}, {"Trim", 0.95f}}},
    };
    ComparisonRender render;
    const auto material = makeProgramMaterial(24000, 48000.0);
    host::PlanarAudio<float> narrow(2);
    for (int ch = 0; ch < 2; ++ch) narrow[ch].assign(material[ch].begin(), material[ch].end());
    for (const Setting& setting : settings) {
        for (int precision : {32, 64}) {
            auto plugin = host::HostedPlugin::load(pluginPath, render.error);
            if (!plugin) return render;
            plugin->setSampleRate(48000.0f);
            plugin->setParameter(plugin->findParameter("Noise"), 0.0f);
            for (auto [name, value] : setting.values)
                plugin->setParameter(plugin->findParameter(name), value);
            if (precision == 64) {
                host::PlanarAudio<double> out;
                if (!plugin->process(material, out, 512, render.error)) return render;
                for (const auto& channel : out)
                    render.samples.insert(render.samples.end(), channel.begin(), channel.end());
            } else {
                host::PlanarAudio<float> out;
                if (!plugin->process(narrow, out, 512, render.error)) return render;
                for (const auto& channel : out)
                    render.samples.insert(render.samples.end(), channel.begin(), channel.end());
            }
        }
    }
    return render;
}

} // namespace vr58::testing
