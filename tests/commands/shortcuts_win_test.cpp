#include "catalogue/catalogue.h"
#include "app/catalogue_services.h"
#include "base/path_utils.h"
#include "commands/scratch_folder.h"
#include "commands/shortcuts.h"

#include <gtest/gtest.h>

#include <objbase.h>

#include <string>

namespace {

std::string Upper(std::string s) {
    CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

class ShortcutTest : public ::testing::Test {
  protected:
    void SetUp() override { target_ = scratch_.InstallRecorder("tool.exe"); }
    std::string MakeLink(const std::string& name, const char* workingFolder,
                         const char* arguments = "-a \"b c\"") {
        std::string link = scratch_.File(name);
        EXPECT_TRUE(CreateStartupShortcut(link.c_str(), target_.c_str(), "a description", arguments,
                                          workingFolder, target_.c_str(), 0, showCommand_));
        return link;
    }
    ScratchFolder scratch_;
    std::string target_;
    // Wine keeps the normal show command only.
    int showCommand_ = SW_SHOWNORMAL;
};

TEST_F(ShortcutTest, CreatedLinksResolveToWhatWasWritten) {
    std::string link = MakeLink("tool.lnk", "C:\\windows");
    ShortcutInfo info;
    WIN32_FIND_DATAA findData;
    ZeroMemory(&info, sizeof info);
    ASSERT_TRUE(ResolveShortcut(link.c_str(), &info, &findData));
    EXPECT_EQ(Upper(target_), Upper(info.target));
    EXPECT_STREQ("-a \"b c\"", info.arguments);
    EXPECT_EQ(showCommand_, info.showCommand);
    EXPECT_EQ("C:\\WINDOWS", Upper(info.workingFolder));

    char folder[MAX_PATH] = "untouched";
    ASSERT_TRUE(StartFolderOf(folder, sizeof folder, link.c_str()));
    EXPECT_EQ("C:\\WINDOWS", Upper(folder));
}

TEST_F(ShortcutTest, ALinkWithoutWorkingFolderStartsInItsTargetsFolder) {
    std::string link = MakeLink("NoFolder.LNK", "");
    char folder[MAX_PATH] = "";
    ASSERT_TRUE(StartFolderOf(folder, sizeof folder, link.c_str()));
    EXPECT_EQ(Upper(scratch_.Path()), Upper(folder));
}

TEST_F(ShortcutTest, PlainFilesAndBrokenLinks) {
    ShortcutInfo info;
    WIN32_FIND_DATAA findData;
    ZeroMemory(&info, sizeof info);
    EXPECT_FALSE(ResolveShortcut(target_.c_str(), &info, &findData));
    std::string fake = scratch_.Write("fake.lnk", "not a link at all");
    EXPECT_FALSE(ResolveShortcut(fake.c_str(), &info, &findData));

    char folder[MAX_PATH] = "untouched";
    EXPECT_FALSE(StartFolderOf(folder, sizeof folder, fake.c_str()));
    EXPECT_FALSE(StartFolderOf(folder, sizeof folder, scratch_.File("missing.lnk").c_str()));
    EXPECT_FALSE(StartFolderOf(folder, sizeof folder, nullptr));
    EXPECT_STREQ("untouched", folder);

    ASSERT_TRUE(StartFolderOf(folder, sizeof folder, "C:\\dir\\sub\\file.txt"));
    EXPECT_STREQ("C:\\dir\\sub", folder);
    ASSERT_TRUE(StartFolderOf(folder, 5, "C:\\dir\\sub\\file.txt"));
    EXPECT_STREQ("C:\\d", folder);
}

TEST_F(ShortcutTest, TheInstallerRouteFallsBackToTheShellLink) {
    EXPECT_TRUE(LoadMsiFunctions());
    EXPECT_TRUE(LoadMsiFunctions()); // loading again frees the first module
    std::string link = MakeLink("plain.lnk", "");
    ShortcutInfo info;
    WIN32_FIND_DATAA findData;
    ZeroMemory(&info, sizeof info);
    ASSERT_TRUE(ResolveShortcut(link.c_str(), &info, &findData));
    EXPECT_EQ(Upper(target_), Upper(info.target));
    FreeMsiFunctions();
    FreeMsiFunctions();
}

TEST_F(ShortcutTest, ResolvesWhenComIsAlreadyStartedAndStaysBalanced) {
    std::string link = MakeLink("com.lnk", "");
    ASSERT_EQ(S_OK, CoInitialize(nullptr));
    ShortcutInfo info;
    WIN32_FIND_DATAA findData;
    ZeroMemory(&info, sizeof info);
    EXPECT_TRUE(ResolveShortcut(link.c_str(), &info, &findData));
    EXPECT_TRUE(CreateStartupShortcut(scratch_.File("again.lnk").c_str(), target_.c_str(), "", "",
                                      "", target_.c_str(), 0, SW_SHOWNORMAL));
    CoUninitialize();
    // Had either call left an extra initialisation behind, this would answer S_FALSE.
    HRESULT fresh = CoInitialize(nullptr);
    EXPECT_EQ(S_OK, fresh);
    CoUninitialize();
}

TEST_F(ShortcutTest, CatalogueFillsEntriesFromShortcuts) {
    InstallCatalogueServices();
    std::string link = MakeLink("entry.lnk", "", "--go");
    Entry entry;
    ZeroMemory(&entry, sizeof entry);
    ASSERT_EQ(1, FillEntryFromShortcut(&entry, link.c_str(), "note", 4));
    EXPECT_EQ(Upper(target_), Upper(entry.FilePath));
    EXPECT_STREQ("--go", entry.Arg);
    EXPECT_EQ(Upper(scratch_.Path()), Upper(entry.WorkPath));
    EXPECT_EQ(GetFileAttributesA(target_.c_str()), entry.Attribute);
    EXPECT_EQ(0, FillEntryFromShortcut(&entry, target_.c_str(), "note", 4));
}

TEST(StartupShortcut, LivesInTheUsersStartupFolder) {
    char folder[MAX_PATH] = "";
    ASSERT_TRUE(GetStartupFolder(folder));
    EXPECT_NE('\0', folder[0]);
    char link[1024];
    StartupShortcutPath(link);
    EXPECT_EQ(std::string(folder) + "\\qdx.lnk", link);
}

// Launch workers resolve links on threads of their own while the program closes; nothing the
// close does may pull msi.dll away from under them.
struct ResolveLoop {
    std::string link;
    volatile LONG stop;
    volatile LONG wrong;
};

DWORD WINAPI ResolveUntilStopped(void* param) {
    ResolveLoop* loop = static_cast<ResolveLoop*>(param);
    while (!InterlockedCompareExchange(&loop->stop, 0, 0)) {
        char folder[MAX_PATH] = "";
        if (!StartFolderOf(folder, sizeof folder, loop->link.c_str()) ||
            Upper(folder) != "C:\\WINDOWS")
            InterlockedIncrement(&loop->wrong);
    }
    return 0;
}

TEST_F(ShortcutTest, FreeingTheInstallerFunctionsWhileWorkersResolveIsSafe) {
    ResolveLoop loop{MakeLink("busy.lnk", "C:\\windows"), 0, 0};
    HMODULE before = GetModuleHandleA("msi.dll");
    HANDLE workers[4];
    for (HANDLE& worker : workers)
        worker = CreateThread(nullptr, 0, ResolveUntilStopped, &loop, 0, nullptr);
    for (int round = 0; round < 200; ++round) {
        LoadMsiFunctions();
        FreeMsiFunctions();
    }
    InterlockedExchange(&loop.stop, 1);
    WaitForMultipleObjects(4, workers, TRUE, INFINITE);
    for (HANDLE worker : workers)
        CloseHandle(worker);
    EXPECT_EQ(0, loop.wrong);
    // Once loaded, the module stays: a worker may still be inside it.
    if (before == nullptr) {
        EXPECT_NE(nullptr, GetModuleHandleA("msi.dll"));
    }
}

} // namespace
