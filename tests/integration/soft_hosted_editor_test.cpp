// The native editor build on a system without a window backend: a real host passes a native window id,
// which must never be taken for a pointer, so the editor exists only for a host that asks for the
// memory-backend embedding, as the vr58 tool does.
#include "editor/soft_host_protocol.h"
#include "plugin_under_test.h"

#include <algorithm>
#include <vector>

using namespace vr58;
using namespace vr58::testing;

namespace {

intptr_t request(host::HostedPlugin& plugin, softhost::Request what, void* ptr = nullptr) {
    return plugin.dispatch(effVendorSpecific, softhost::kVendorIndex, what, ptr);
}

constexpr uint32_t kUnpainted = 0xFFF0F0F0u; // a fresh window's background before the editor paints

TEST(SoftHostedEditor, ARealHostSeesNoEditorAndItsWindowIdIsNeverUsed) {
    auto plugin = loadPlugin(kEditorBinary);
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->effect()->flags, 0x1030);
    ERect* rect = nullptr;
    EXPECT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 0);
    // An X11 window id, as a Linux host passes it.
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x3a00007})), 0);
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 0, 12), 0);
    EXPECT_EQ(plugin->dispatch(effSetEditKnobMode, 0, 2), 0);
    plugin->dispatch(effEditIdle);
    plugin->dispatch(effEditClose);
    EXPECT_EQ(plugin->close(), 1);
}

TEST(SoftHostedEditor, AHostAskingForTheEmbeddingOpensPaintsAndReadsTheWindow) {
    auto plugin = loadPlugin(kEditorBinary);
    ASSERT_TRUE(plugin);
    ASSERT_EQ(request(*plugin, softhost::kEnable), 1);
    EXPECT_EQ(plugin->effect()->flags, 0x1031);
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    const int32_t width = rect->right, height = rect->bottom;
    EXPECT_EQ(width, 520);
    EXPECT_EQ(height, 440);

    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height, 0);
    softhost::Pixels screen{width, height, pixels.data()};
    EXPECT_EQ(request(*plugin, softhost::kReadPixels, &screen), 0); // no window yet
    softhost::Window parent{200, 100};
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, &parent), 1);
    ASSERT_EQ(request(*plugin, softhost::kReadPixels, &screen), 1);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kUnpainted), width * height);
    ASSERT_EQ(request(*plugin, softhost::kPaint), 1);
    ASSERT_EQ(request(*plugin, softhost::kReadPixels, &screen), 1);
    EXPECT_LT(std::count(pixels.begin(), pixels.end(), kUnpainted), width * height / 1000);

    plugin->dispatch(effEditClose);
    EXPECT_EQ(request(*plugin, softhost::kPaint), 0);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, &parent), 1);
    EXPECT_EQ(plugin->close(), 1); // with the window open
}

TEST(SoftHostedEditor, TheEditorlessBuildRefusesTheEmbedding) {
    auto plugin = loadPlugin(kPlainBinary);
    ASSERT_TRUE(plugin);
    EXPECT_EQ(request(*plugin, softhost::kEnable), 0);
    EXPECT_EQ(plugin->effect()->flags, 0x1030);
}

} // namespace
