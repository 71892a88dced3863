#include "e2e/process.h"

#include <gtest/gtest.h>

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

} // namespace
