#include "catalogue/catalogue.h"
#include "app/catalogue_services.h"
#include "base/path_utils.h"
#include "catalogue/tab_names.h"
#include "commands/launch.h"
#include "commands/scratch_folder.h"
#include "storage/entry_icons.h"
#include "storage/settings.h"
#include "support/main_window_fixture.h"
#include "view/grid.h"

#include <cstring>
#include <string>

namespace {

struct Recorded {
    bool started = false;
    std::string commandLine;
    std::string folder;
};

class LaunchTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ClearCatalogue();
        InstallCatalogueServices();
        AppendTab("Launch");
        recorder_ = scratch_.InstallRecorder();
    }
    void TearDown() override {
        SetLaunchThreadStarter(nullptr);
        MainWindowTest::TearDown();
    }

    int AddToTab(const std::string& path, const char* arg, const char* workPath) {
        Entry record;
        ZeroMemory(&record, sizeof record);
        lstrcpynA(record.FilePath, path.c_str(), sizeof record.FilePath);
        lstrcpynA(record.Arg, arg, sizeof record.Arg);
        lstrcpynA(record.WorkPath, workPath, sizeof record.WorkPath);
        record.Attribute = GetPathAttributes(path.c_str());
        char tabFolder[kIconFolderSize], folder[kIconFolderSize];
        TabCacheFolder(tabFolder, "Launch");
        IconCacheFolder(folder, tabFolder, path.c_str());
        return AddEntry(folder, record, 0, 0);
    }

    // Puts the grid cursor on cell `index` of the first row and double-clicks.
    void DoubleClickCell(int index) {
        int x = index * CellWidth() + 10;
        int y = GridTop() + 10;
        SetCursorFromPoint(x, y);
        SendMessageA(window_, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    }

    // The helper writes its record and ends; the wait only bounds a launch that never comes.
    Recorded WaitForRecord(const std::string& program, DWORD limitMs = 30000) {
        Recorded r;
        std::string log = program + ".log";
        for (DWORD waited = 0; waited < limitMs && !PathExists(log); waited += 50) {
            PumpMessages();
            Sleep(50);
        }
        std::string text = ReadFileText(log);
        if (text.empty()) return r;
        r.started = true;
        size_t end = text.find("\r\n");
        r.commandLine = text.substr(0, end);
        size_t second = end + 2;
        r.folder = text.substr(second, text.find("\r\n", second) - second);
        return r;
    }

    static std::string Upper(std::string s) {
        CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
        return s;
    }
    static bool EndsWith(const std::string& s, const std::string& tail) {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    }

    ScratchFolder scratch_;
    std::string recorder_;
};

TEST_F(LaunchTest, DoubleClickStartsTheEntryWithItsArgumentsAndFolder) {
    std::string work = scratch_.File("work");
    CreateDirectoryA(work.c_str(), nullptr);
    ASSERT_EQ(0, AddToTab(recorder_, "one \"two words\"", (work + "\\").c_str()));

    DoubleClickCell(0);
    Recorded r = WaitForRecord(recorder_);
    ASSERT_TRUE(r.started);
    EXPECT_TRUE(EndsWith(r.commandLine, " one \"two words\"")) << r.commandLine;
    EXPECT_EQ(Upper(work), Upper(r.folder)); // the final separator was removed
    EXPECT_EQ(1, FindEntry(0, 0)->Count);    // counted before the launch
}

TEST_F(LaunchTest, AFolderWhoseLastCharacterEndsIn5CIsKeptWhole) {
    // "表" is 95 5C: its second byte is no separator to remove.
    std::string work = scratch_.File("表");
    ASSERT_TRUE(CreateDirectoryA(work.c_str(), nullptr));
    ASSERT_EQ(0, AddToTab(recorder_, "", work.c_str()));
    DoubleClickCell(0);
    Recorded r = WaitForRecord(recorder_);
    ASSERT_TRUE(r.started);
    EXPECT_EQ(Upper(work), Upper(r.folder));
}

TEST_F(LaunchTest, ADriveRootStartsTheProgramInTheRoot) {
    // "C:" alone would be the drive's current folder, here the scratch folder.
    char previous[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(scratch_.Path().c_str());
    ASSERT_EQ(0, AddToTab(recorder_, "", "C:\\"));
    DoubleClickCell(0);
    Recorded r = WaitForRecord(recorder_);
    SetCurrentDirectoryA(previous);
    ASSERT_TRUE(r.started);
    EXPECT_EQ("C:\\", Upper(r.folder));
}

TEST_F(LaunchTest, PendingOpenWithIsAddedOnceThenCleared) {
    ASSERT_EQ(0, AddToTab(recorder_, "-view", ""));
    SetOpenWithPath("C:\\some folder\\file.txt");
    SetOpenWithPending(true);

    DoubleClickCell(0);
    Recorded r = WaitForRecord(recorder_);
    ASSERT_TRUE(r.started);
    EXPECT_TRUE(EndsWith(r.commandLine, " -view C:\\some folder\\file.txt")) << r.commandLine;
    EXPECT_FALSE(OpenWithPending());
    EXPECT_STREQ("", OpenWithPath());

    // With an empty argument line the added path follows a single space.
    std::string second = scratch_.InstallRecorder("second.exe");
    ASSERT_EQ(1, AddToTab(second, "", ""));
    SetOpenWithPath("x.txt");
    SetOpenWithPending(true);
    DoubleClickCell(1);
    Recorded r2 = WaitForRecord(second);
    ASSERT_TRUE(r2.started);
    EXPECT_TRUE(EndsWith(r2.commandLine, " x.txt")) << r2.commandLine;
}

TEST_F(LaunchTest, ReferencesInTargetAndWorkingFolderAreExpanded) {
    SetEnvironmentVariableA("QDX_LAUNCH_HOME", scratch_.Path().c_str());
    ASSERT_EQ(0, AddToTab("%qdx_launch_home%\\record_launch.exe", "", "%WINDIR%"));

    DoubleClickCell(0);
    Recorded r = WaitForRecord(recorder_);
    ASSERT_TRUE(r.started);
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    EXPECT_EQ(Upper(windows), Upper(r.folder));
}

TEST_F(LaunchTest, WithoutWorkingFolderTheTargetIsExpandedAndItsFolderPassedAsWritten) {
    SetEnvironmentVariableA("QDX_LAUNCH_HOME", scratch_.Path().c_str());
    ASSERT_EQ(0, AddToTab("%QDX_LAUNCH_HOME%\\record_launch.exe", "x", ""));
    DoubleClickCell(0);
    Recorded r = WaitForRecord(recorder_);
    ASSERT_TRUE(r.started);
    EXPECT_EQ(Upper(scratch_.Path()), Upper(r.folder));
}

TEST_F(LaunchTest, ATargetWithoutFolderIsFoundByTheShell) {
    // A name of its own, so that no program beside the test binary is found instead.
    std::string bare = scratch_.InstallRecorder("bare_recorder.exe");
    SetCurrentDirectoryA(scratch_.Path().c_str());
    ASSERT_TRUE(StartLaunchThread(window_, "bare_recorder.exe", "bare", nullptr, Normal));
    Recorded r = WaitForRecord(bare);
    ASSERT_TRUE(r.started);
    EXPECT_TRUE(EndsWith(r.commandLine, " bare")) << r.commandLine;
}

TEST_F(LaunchTest, MissingWorkingFolderFallsBackToTheTargetsFolder) {
    ASSERT_EQ(0, AddToTab(recorder_, "", "C:\\no\\such\\folder\\"));
    DoubleClickCell(0);
    Recorded r = WaitForRecord(recorder_);
    ASSERT_TRUE(r.started);
    EXPECT_EQ(Upper(scratch_.Path()), Upper(r.folder));
}

TEST_F(LaunchTest, EmptyCellLaunchesNothing) {
    ASSERT_EQ(0, AddToTab(recorder_, "", ""));
    DoubleClickCell(3);
    EXPECT_EQ(0, FindEntry(0, 0)->Count);
    EXPECT_EQ(0, LiveLaunchRequests());
    Sleep(300);
    PumpMessages();
    EXPECT_FALSE(PathExists(recorder_ + ".log"));
}

HANDLE RefuseToStart(LPTHREAD_START_ROUTINE, void*) {
    return nullptr;
}

TEST_F(LaunchTest, AWorkerThatCannotStartLeavesNoRequestBehind) {
    SetLaunchThreadStarter(RefuseToStart);
    EXPECT_FALSE(StartLaunchThread(window_, recorder_.c_str(), "a", "b", Normal));
    EXPECT_EQ(0, LiveLaunchRequests());
    EXPECT_EQ(1, Launch(recorder_.c_str(), nullptr, nullptr, Normal));
    EXPECT_EQ(0, LiveLaunchRequests());
    SetLaunchThreadStarter(nullptr);

    // A started worker frees its request as soon as it has copied it.
    ASSERT_TRUE(StartLaunchThread(window_, recorder_.c_str(), nullptr, nullptr, Normal));
    ASSERT_TRUE(WaitForRecord(recorder_).started);
    EXPECT_EQ(0, LiveLaunchRequests());
}

TEST_F(LaunchTest, LongTextsAreCutToTheirFields) {
    std::string arguments(3000, 'a');
    // The request copies at most 2047 bytes of the arguments and 1023 of the other texts; a
    // launch of it runs normally.
    ASSERT_TRUE(StartLaunchThread(window_, recorder_.c_str(), arguments.c_str(),
                                  std::string(2000, 'w').c_str(), Normal));
    Recorded r = WaitForRecord(recorder_);
    ASSERT_TRUE(r.started);
    EXPECT_TRUE(EndsWith(r.commandLine, " " + std::string(2047, 'a'))) << r.commandLine.size();
}

} // namespace
