// The native editor build carries the ten skin PNGs inside the library, byte for byte as committed; the
// editor-less build carries none of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {
std::vector<char> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
}

bool contains(const std::vector<char>& haystack, const std::vector<char>& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}
} // namespace

TEST(EmbeddedSkin, OnlyTheEditorBuildCarriesTheImages) {
    const auto editor = fileBytes(VR58G_BINARY);
    const auto plain = fileBytes(VR58_BINARY);
    ASSERT_FALSE(editor.empty());
    int images = 0;
    for (const auto& entry : std::filesystem::directory_iterator(VR58_SKIN_DIR)) {
        if (entry.path().extension() != ".png") continue;
        const auto png = fileBytes(entry.path());
        EXPECT_TRUE(contains(editor, png)) << entry.path();
        EXPECT_FALSE(contains(plain, png)) << entry.path();
        ++images;
    }
    EXPECT_EQ(images, 22); // ten skin images and the text face, each at 1x and 2x
}
