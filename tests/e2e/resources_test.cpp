#include "e2e/process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<char> VersionInfo(const std::string& exe) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(exe.c_str(), 0, size, data.data())) data.clear();
    return data;
}

std::string VersionString(std::vector<char>& info, const char* name) {
    std::string key = std::string("\\StringFileInfo\\041104b0\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
        return "<missing>";
    }
    return std::string(value);
}

TEST(ProgramResources, JapaneseVersionBlock) {
    std::vector<char> info = VersionInfo(BuiltProgramPath());
    ASSERT_FALSE(info.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(DWORD(MAKELONG(2, 1)), fixed->dwFileVersionMS); // 1.2.0.0
    EXPECT_EQ(0u, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    EXPECT_EQ(0x0411, translation[0]);
    EXPECT_EQ(1200, translation[1]);

    // Read back under code page 932 as Shift-JIS.
    EXPECT_EQ("タブ型ランチャーソフト", VersionString(info, "FileDescription"));
    EXPECT_EQ("タブ型ランチャーソフト", VersionString(info, "Comments"));
    EXPECT_EQ("QDX.exe", VersionString(info, "OriginalFilename"));
    EXPECT_NE("<missing>", VersionString(info, "LegalCopyright"));
}

TEST(ProgramResources, IconsManifestAndMenu) {
    HMODULE image = LoadLibraryExA(BuiltProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, image);
    for (int id : {1, 2}) {
        HICON large =
            static_cast<HICON>(LoadImageA(image, MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, 0));
        HICON small =
            static_cast<HICON>(LoadImageA(image, MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0));
        EXPECT_NE(nullptr, large) << "icon " << id;
        EXPECT_NE(nullptr, small) << "icon " << id;
        if (large) DestroyIcon(large);
        if (small) DestroyIcon(small);
    }
    HRSRC manifest = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, manifest);
    std::string text(static_cast<const char*>(LockResource(LoadResource(image, manifest))),
                     SizeofResource(image, manifest));
    EXPECT_NE(std::string::npos, text.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, text.find("version=\"6.0.0.0\""));
    EXPECT_NE(std::string::npos, text.find("processorArchitecture=\"x86\""));
    EXPECT_NE(nullptr, FindResourceA(image, "VARROW_MENU", MAKEINTRESOURCEA(4)));
    FreeLibrary(image);
}

} // namespace
