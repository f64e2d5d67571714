// Reads the DLLs' version resources back through the Win32 version API, as Explorer and hosts do.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {
std::vector<char> versionInfo(const char* path) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(path, 0, size, data.data())) data.clear();
    return data;
}

std::string stringValue(std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string key = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "<none>";
    return std::string(value);
}
} // namespace

TEST(VersionBlock, EditorBuildCarriesItsStringsAndNumbers) {
    auto info = versionInfo(VR58G_DLL);
    ASSERT_FALSE(info.empty());
    EXPECT_EQ(stringValue(info, "FileDescription"), "Tape Recorder Emulation VST");
    EXPECT_EQ(stringValue(info, "ProductName"), "Quorvane VR58-G");
    EXPECT_EQ(stringValue(info, "FileVersion"), "1.10");
    EXPECT_EQ(stringValue(info, "ProductVersion"), "1.10");
    EXPECT_EQ(stringValue(info, "InternalName"), "VR58G");

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST(VersionBlock, EditorlessBuildHasNone) {
    EXPECT_TRUE(versionInfo(VR58_DLL).empty());
}

TEST(LoadNotification, LibrariesLoadAndExposeOneEntryUnderTwoNames) {
    for (const char* path : {VR58G_DLL, VR58_DLL}) {
        HMODULE module = LoadLibraryA(path);
        ASSERT_NE(module, nullptr) << path;
        FARPROC entry = GetProcAddress(module, "VSTPluginMain");
        EXPECT_NE(entry, nullptr);
        EXPECT_EQ(entry, GetProcAddress(module, "main"));
        EXPECT_TRUE(FreeLibrary(module));
    }
}
