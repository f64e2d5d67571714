// Loading: which binaries are accepted, the error texts for the rest, and the first callback call.
#include "host/hosted_plugin.h"
#include "recording_log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

using vr58::host::HostedPlugin;

namespace {

std::unique_ptr<HostedPlugin> loadOk(const char* path) {
    std::string error;
    auto plugin = HostedPlugin::load(path, error);
    EXPECT_TRUE(plugin) << error;
    EXPECT_TRUE(error.empty());
    return plugin;
}

std::string loadError(const std::string& path, intptr_t versionAnswer = 2400) {
    std::string error;
    auto plugin = HostedPlugin::load(path, error, versionAnswer);
    EXPECT_FALSE(plugin);
    return error;
}

FixtureLog* logOf(HostedPlugin& plugin) {
    auto log = reinterpret_cast<FixtureLogFunction>(plugin.symbol("vr58_fixture_log"));
    EXPECT_NE(log, nullptr);
    return log();
}

} // namespace

TEST(HostedPluginLoad, RejectsFilesThatAreNotPlugins) {
    EXPECT_EQ(loadError("no/such/plugin.so"), "no such file");
    EXPECT_EQ(loadError("."), "is a directory, not a plug-in binary");

    const std::string text = "hosted_plugin_not_a_library.so";
    std::ofstream(text) << "just some text, not a shared library\n";
    const std::string error = loadError(text);
    std::remove(text.c_str());
    EXPECT_EQ(error.rfind("not a loadable library (", 0), 0u) << error;
}

TEST(HostedPluginLoad, RejectsBinariesWithoutAProperRecord) {
    EXPECT_EQ(loadError(VR58_FIXTURE_NO_ENTRY),
              "not a VST 2.4 plug-in: exports neither VSTPluginMain nor main");
    EXPECT_EQ(loadError(VR58_FIXTURE_NULL_RECORD),
              "not a VST 2.4 plug-in: the entry returned no effect (null record)");
    EXPECT_EQ(
        loadError(VR58_FIXTURE_WRONG_MAGIC),
        "not a VST 2.4 plug-in: wrong magic 0x50747356 in the effect record (expected 0x56737450 'VstP')");
}

TEST(HostedPluginLoad, PluginRefusesAHostThatAnswersVersionZero) {
    EXPECT_EQ(loadError(VR58_FIXTURE_MINIMAL, 0),
              "not a VST 2.4 plug-in: the entry returned no effect (null record)");

    // The recording fixture counts refusals in a log that survives while another instance keeps it loaded.
    auto keeper = loadOk(VR58_FIXTURE_RECORDING);
    FixtureLog* log = logOf(*keeper);
    const int32_t refusedBefore = log->refused;
    const int32_t createdBefore = log->created;
    loadError(VR58_FIXTURE_RECORDING, 0);
    EXPECT_EQ(log->refused, refusedBefore + 1);
    EXPECT_EQ(log->created, createdBefore);
}

TEST(HostedPluginLoad, FallsBackToTheMainEntry) {
    auto plugin = loadOk(VR58_FIXTURE_MAIN_ONLY);
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->effect()->uniqueID, 0x6D61696E);
}

TEST(HostedPluginLoad, FirstCallIsVersionWithNullEffectAndRecordStaysUntouched) {
    auto plugin = loadOk(VR58_FIXTURE_RECORDING);
    ASSERT_TRUE(plugin);
    AEffect* effect = plugin->effect();
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(logOf(*plugin)->versionAnswer, 2400);

    // Both calls of the entry arrive, although the record was unknown to the host at the time.
    const auto& calls = plugin->calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].opcode, audioMasterVersion);
    EXPECT_TRUE(calls[0].effectWasNull);
    EXPECT_EQ(calls[0].effect, nullptr);
    EXPECT_EQ(calls[1].opcode, audioMasterIdle);
    EXPECT_FALSE(calls[1].effectWasNull);
    EXPECT_EQ(calls[1].effect, effect);

    plugin->open();
    plugin->setSampleRate(48000.0f);
    plugin->parameterName(0);
    EXPECT_EQ(effect->resvd1, 0);
    EXPECT_EQ(effect->resvd2, 0);
    EXPECT_EQ(effect->user, nullptr);
}

TEST(HostedPluginLoad, ConfiguredVersionAnswerReachesThePlugin) {
    std::string error;
    auto plugin = HostedPlugin::load(VR58_FIXTURE_RECORDING, error, 2300);
    ASSERT_TRUE(plugin) << error;
    EXPECT_EQ(logOf(*plugin)->versionAnswer, 2300);
}

TEST(HostedPluginLoad, CloseAndDestructionEachSendEffCloseOnce) {
    auto keeper = loadOk(VR58_FIXTURE_RECORDING);
    FixtureLog* log = logOf(*keeper);
    const int32_t closedBefore = log->closed;

    auto closed = loadOk(VR58_FIXTURE_RECORDING);
    EXPECT_EQ(closed->close(), 1);
    EXPECT_EQ(closed->effect(), nullptr);
    EXPECT_EQ(closed->close(), 0);                    // nothing left to close
    EXPECT_EQ(closed->dispatch(effGetVstVersion), 0); // nor to dispatch to
    closed.reset();
    EXPECT_EQ(log->closed, closedBefore + 1);

    loadOk(VR58_FIXTURE_RECORDING).reset(); // never closed by hand
    EXPECT_EQ(log->closed, closedBefore + 2);
}
