// The editor build's .so where libX11 and libXext cannot be loaded (a preloaded dlopen refuses them, as on a
// server without X libraries): it loads, processes audio and keeps its state; the editor does not open and
// says so; once the libraries can be loaded, the next opening opens the window.
// GoogleTest first: Xlib's macros (None, Bool) would otherwise rename parts of it.
#include <gtest/gtest.h>

#include "x11_test_display.h"

#include "host/hosted_plugin.h"

#include <dlfcn.h>

#include <cmath>

namespace vr58test {
namespace {

using vr58::host::HostedPlugin;

void refuseXLibraries(bool refuse) {
    auto set = reinterpret_cast<void (*)(int)>(dlsym(RTLD_DEFAULT, "vr58_refuse_x_libraries"));
    ASSERT_NE(set, nullptr) << "the test runs with the refusing dlopen preloaded";
    set(refuse ? 1 : 0);
}

int refusedLoads() {
    auto count = reinterpret_cast<int (*)()>(dlsym(RTLD_DEFAULT, "vr58_refused_x_libraries"));
    return count ? count() : -1;
}

std::unique_ptr<HostedPlugin> loadEditorBuild() {
    std::string error;
    auto plugin = HostedPlugin::load(VR58G_BINARY, error);
    EXPECT_TRUE(plugin) << error;
    if (!plugin) return plugin;
    plugin->open();
    plugin->setSampleRate(48000);
    plugin->setBlockSize(256);
    plugin->mainsChanged(true);
    return plugin;
}

TEST(X11WithoutLibraries, AudioAndStateWorkTheEditorAnswers0AndTheNextOpeningTriesAgain) {
    refuseXLibraries(true);
    TestDisplay host;
    ASSERT_TRUE(host.open());
    const Window window = host.createHostWindow(0, 0, 600, 500);
    auto plugin = loadEditorBuild();
    ASSERT_TRUE(plugin);

    plugin->setParameter(0, 0.75f);
    std::vector<std::vector<float>> in(2, std::vector<float>(1024)), out;
    for (size_t i = 0; i < in[0].size(); ++i) in[0][i] = in[1][i] = 0.5f * std::sin(0.05f * i);
    std::string error;
    ASSERT_TRUE(plugin->process(in, out, 256, error)) << error;
    float peak = 0.0f;
    for (const auto& channel : out)
        for (float sample : channel) peak = std::max(peak, std::isfinite(sample) ? std::abs(sample) : 1e30f);
    EXPECT_GT(peak, 0.1f);
    EXPECT_LT(peak, 10.0f);

    auto other = loadEditorBuild();
    other->setChunk(plugin->getChunk().bytes);
    EXPECT_EQ(other->getParameter(0), 0.75f);

    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window)), 0);
    plugin->dispatch(effEditIdle);
    plugin->dispatch(effEditClose);
    const int refusedFirst = refusedLoads();
    EXPECT_GE(refusedFirst, 1) << "the first opening tried to load libX11";
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window)), 0);
    EXPECT_GT(refusedLoads(), refusedFirst) << "the second opening tried again";
    ASSERT_TRUE(plugin->process(in, out, 256, error)) << error;

    refuseXLibraries(false);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(window)), 1);
    plugin->dispatch(effEditIdle);
    plugin->dispatch(effEditClose);
    plugin->close();
    other->close();
}

} // namespace
} // namespace vr58test
