#include "e2e/process.h"

#include "storage/cache_archive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Starts QDX.exe from a fresh folder and waits for its window.
class ProgramTest : public ::testing::Test {
  protected:
    void Start(const std::string& leaf, const std::string& exeName = "QDX.exe") {
        folder_ = MakeFreshFolder(leaf);
        exe_ = InstallProgram(folder_, exeName);
        ASSERT_TRUE(FileExists(exe_)) << exe_;
        ASSERT_TRUE(StartProgram(exe_, &first_));
        first_.window = WaitForMainWindow(first_.process.dwProcessId);
        ASSERT_NE(nullptr, first_.window) << "no window from " << exe_;
    }
    void TearDown() override {
        if (first_.process.hProcess && WaitForExit(first_, 0) == -1000) {
            TerminateProcess(first_.process.hProcess, 99);
        }
        CloseHandles(&first_);
    }
    std::string folder_;
    std::string exe_;
    RunningProgram first_;
};

TEST_F(ProgramTest, SecondCopyEndsAtOnceWithZeroAndFirstKeepsRunning) {
    Start("single");
    RunningProgram second;
    ASSERT_TRUE(StartProgram(exe_, &second));
    EXPECT_EQ(0, WaitForExit(second, 15000));
    CloseHandles(&second);
    EXPECT_EQ(-1000, WaitForExit(first_, 0));
    EXPECT_TRUE(IsWindow(first_.window));
    EXPECT_TRUE(IsWindowVisible(first_.window));

    PostMessageA(first_.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, WaitForExit(first_));
}

TEST_F(ProgramTest, EndSessionClosesWithZero) {
    Start("endsession");
    PostMessageA(first_.window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(0, WaitForExit(first_));
}

TEST_F(ProgramTest, RunsFromAFolderWhoseNameEndsInByte5C) {
    // "表" is 95 5C in Shift-JIS: the folder must not be cut after its first byte.
    Start("表");
    char title[64] = "";
    GetWindowTextA(first_.window, title, sizeof title);
    EXPECT_STREQ("Varrowin", title);
    PostMessageA(first_.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, WaitForExit(first_));
    // The settings file lands beside the program, inside the folder.
    EXPECT_TRUE(FileExists(folder_ + "\\qdx.ini"));
}

TEST_F(ProgramTest, VisibleOnBothSidesOfTheVersionThreshold) {
    // Under this name Wine reports Windows XP (code 9): the window is layered and opaque.
    Start("xp", "QDX_xp.exe");
    LONG ex = GetWindowLongA(first_.window, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(first_.window, nullptr, &alpha, &flags));
    EXPECT_EQ(255, alpha);
    EXPECT_TRUE(flags & LWA_ALPHA);
    EXPECT_TRUE(IsWindowVisible(first_.window));
    PostMessageA(first_.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, WaitForExit(first_));

    // Windows 7 (code 0): no layered style at all.
    Start("win7");
    EXPECT_FALSE(GetWindowLongA(first_.window, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(IsWindowVisible(first_.window));
    PostMessageA(first_.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, WaitForExit(first_));
}

// A first start without an icon cache shows the window before the icons are captured, and a
// close in the middle keeps every entry and leaves an archive that validates.
TEST_F(ProgramTest, FirstStartWithoutCacheShowsTheWindowFirstAndACloseKeepsEverything) {
    const int kFolders = 1500; // folders capture icons of their own, each one a shell call
    folder_ = MakeFreshFolder("icons-later");
    std::string ini =
        "[Info]\r\nTabCount = 1\r\nTab_0 = \"Many\"\r\nTab_0_Count = " + std::to_string(kFolders) +
        "\r\n[Tab_Many]\r\n";
    std::string escaped;
    for (char c : folder_)
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    for (int i = 0; i < kFolders; ++i) {
        std::string leaf = "f" + std::to_string(i);
        CreateDirectoryA((folder_ + "\\" + leaf).c_str(), nullptr);
        ini += "Many_FilePath_" + std::to_string(i) + " = \"" + escaped + "\\\\" + leaf + "\"\r\n";
    }
    FILE* f = std::fopen((folder_ + "\\qdx.ini").c_str(), "wb");
    ASSERT_NE(nullptr, f);
    std::fwrite(ini.data(), 1, ini.size(), f);
    std::fclose(f);
    exe_ = InstallProgram(folder_);
    ASSERT_TRUE(StartProgram(exe_, &first_));
    first_.window = WaitForMainWindow(first_.process.dwProcessId);
    ASSERT_NE(nullptr, first_.window);
    PostMessageA(first_.window, WM_CLOSE, 0, 0);
    ASSERT_EQ(0, WaitForExit(first_, 60000));

    std::string saved = ReadWholeFile(folder_ + "\\qdx.ini");
    EXPECT_NE(std::string::npos, saved.find("Tab_0_Count = " + std::to_string(kFolders)));
    EXPECT_NE(std::string::npos,
              saved.find("Many_FilePath_" + std::to_string(kFolders - 1) + " = "));
    // The archive is written only when something was captured; what is there must validate.
    std::string cache = folder_ + "\\Cache.arc";
    int files = 0;
    if (FileExists(cache)) {
        ASSERT_EQ(1, CacheValidate(CacheArchiveAuto(), cache.c_str()));
        ASSERT_EQ(1, CacheLoad(CacheArchiveAuto(), cache.c_str(), kCacheMagic));
        std::vector<CacheFolderRecord> folders;
        CacheFlatten(*CacheArchiveAt(CacheArchiveAuto()), &folders);
        for (const CacheFolderRecord& r : folders)
            if (const CacheFileList* list = CacheFolderFiles(*r.folder)) files += list->count;
    }
    // Each captured folder stores its icon and its mask: the close came before all of them.
    EXPECT_EQ(0, files % 2);
    EXPECT_LT(files, 2 * kFolders);
}

} // namespace
