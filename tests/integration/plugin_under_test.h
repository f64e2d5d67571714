// Loads one of the built plug-in binaries through the host library, for tests that see the plug-in as a
// host does.
#pragma once

#include "host/hosted_plugin.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace vr58::testing {

struct PluginBinary {
    const char* name;
    const char* path;
    int32_t numParams;
    int32_t hbAtt;
    int32_t noise;
};

inline const PluginBinary kEditorBinary{"VR58G_x64", VR58G_BINARY, 15, 13, 14};
inline const PluginBinary kPlainBinary{"VR58_x64", VR58_BINARY, 12, 10, 11};

inline std::unique_ptr<host::HostedPlugin> loadPlugin(const PluginBinary& binary,
                                                      intptr_t versionAnswer = 2400) {
    std::string error;
    auto plugin = host::HostedPlugin::load(binary.path, error, versionAnswer);
    EXPECT_TRUE(plugin || versionAnswer == 0) << binary.path << ": " << error;
    return plugin;
}

class EachPlugin : public ::testing::TestWithParam<PluginBinary> {};

inline std::string binaryName(const ::testing::TestParamInfo<PluginBinary>& info) {
    return info.param.name;
}

} // namespace vr58::testing
