// The native editor build: a real host passes an X11 window id, which is never taken for a pointer; a host
// that asks for the memory-backend embedding, as the vr58 tool does, passes a pointer to such a window.
#include "vst2/soft_host_protocol.h"
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

TEST(SoftHostedEditor, ARealHostsWindowIsNeverTakenForAPointer) {
    auto plugin = loadPlugin(kEditorBinary);
    ASSERT_TRUE(plugin);
    EXPECT_EQ(plugin->effect()->flags, 0x1031);
    ERect* rect = nullptr;
    EXPECT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    // A pointer-sized value no X11 window id can have: nothing opens, nothing is read through it.
    softhost::Window notAnId{0, 0};
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, &notAnId), 0);
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 0, 12), 0);
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
