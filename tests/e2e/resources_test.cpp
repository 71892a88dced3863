#include "e2e/process.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstring>
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
    // The product asks for the x86 controls; the 64-bit test build for its own architecture.
    const char* architecture =
        sizeof(void*) == 4 ? "processorArchitecture=\"x86\"" : "processorArchitecture=\"amd64\"";
    EXPECT_NE(std::string::npos, text.find(architecture));
    EXPECT_NE(nullptr, FindResourceA(image, "VARROW_MENU", MAKEINTRESOURCEA(4)));
    FreeLibrary(image);
}

// What only the 32-bit product has: a PE32 image for i386 and the 88-byte first form of the
// notification-area record.
TEST(ProgramResources, ThirtyTwoBitImageAndTrayRecord) {
    if (sizeof(void*) != 4) {
        GTEST_SKIP() << "expects the 32-bit build; this is the 64-bit build of the same sources";
    }
    EXPECT_EQ(88u, NOTIFYICONDATAA_V1_SIZE);
    std::string image = ReadWholeFile(BuiltProgramPath());
    ASSERT_GT(image.size(), 0x200u);
    LONG headerAt = 0;
    std::memcpy(&headerAt, image.data() + 0x3C, sizeof headerAt);
    ASSERT_GT(image.size(), size_t(headerAt) + 0x60);
    IMAGE_NT_HEADERS32 headers;
    std::memcpy(&headers, image.data() + headerAt, sizeof headers);
    EXPECT_EQ(DWORD(IMAGE_NT_SIGNATURE), headers.Signature);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, headers.FileHeader.Machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR32_MAGIC, headers.OptionalHeader.Magic);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, headers.OptionalHeader.Subsystem);
}

} // namespace
