// The editor build carries the ten skin PNGs as resources of type "PNG", byte for byte as committed.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {
const std::pair<int, const char*> kSkin[] = {
    {101, "101-background.png"},
    {102, "102-knob-large.png"},
    {103, "103-knob-small.png"},
    {104, "104-eq-curve-selector.png"},
    {105, "105-vu-needle.png"},
    {106, "106-vu-hold-needle.png"},
    {107, "107-peak-led.png"},
    {108, "108-vu-ref-switch.png"},
    {109, "109-two-position-slider.png"},
    {110, "110-three-position-slider.png"},
};

std::vector<unsigned char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::vector<unsigned char> resourceBytes(HMODULE module, int id) {
    HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), "PNG");
    if (!info) return {};
    HGLOBAL handle = LoadResource(module, info);
    const auto* data = static_cast<const unsigned char*>(LockResource(handle));
    return data ? std::vector<unsigned char>(data, data + SizeofResource(module, info))
                : std::vector<unsigned char>{};
}
} // namespace

TEST(SkinResources, EditorBuildEmbedsEveryImage) {
    HMODULE module = LoadLibraryExA(VR58G_DLL, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    for (auto [id, file] : kSkin) {
        const auto expected = fileBytes(std::string(VR58_SKIN_DIR) + "/" + file);
        ASSERT_FALSE(expected.empty()) << file;
        EXPECT_EQ(resourceBytes(module, id), expected) << id;
    }
    FreeLibrary(module);
}

TEST(SkinResources, EditorlessBuildHasNone) {
    HMODULE module = LoadLibraryExA(VR58_DLL, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(resourceBytes(module, 101).empty());
    FreeLibrary(module);
}
