#include "catalogue/catalogue.h"
#include "base/path_utils.h"
#include "catalogue/tab_names.h"
#include "commands/shortcuts.h"
#include "dialogs/data_folder.h"
#include "res/command_ids.h"
#include "res/rebuild_dialog_ids.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "support/modal_driver.h"

#include <string>
#include <vector>

namespace {

const char kRebuildTitle[] = "再構築";

class RebuildDialogTest : public DataFolderTest {
  protected:
    void Register(const std::string& path, int iconType = 0) {
        Entry record{};
        lstrcpynA(record.FilePath, path.c_str(), sizeof record.FilePath);
        lstrcpynA(record.WorkPath, folder_.c_str(), sizeof record.WorkPath);
        record.Count = 3;
        record.Attribute = GetPathAttributes(path.c_str());
        AddEntry(IconFolder(path).c_str(), record, iconType, 0);
    }
    std::string IconFolder(const std::string& path) {
        char tabFolder[kIconFolderSize], folder[kIconFolderSize];
        TabCacheFolder(tabFolder, "Tools");
        IconCacheFolder(folder, tabFolder, path.c_str());
        return folder;
    }
    // Tools: a file, a file that goes missing, a shortcut and an entry with its own icon.
    void MakeCatalogue() {
        AppendTab("Tools");
        CreateDirectoryA(Path("work").c_str(), nullptr);
        WriteText("a.txt", "a");
        WriteText("gone.txt", "g");
        WriteText("b.txt", "b");
        WriteText("c.txt", "c");
        ASSERT_TRUE(CreateStartupShortcut(Path("link.lnk").c_str(), Path("b.txt").c_str(), "", "-q",
                                          Path("work").c_str(), "", 0, SW_SHOWNORMAL));
        Register(Path("a.txt"));
        Register(Path("gone.txt"));
        Register(Path("link.lnk"));
        std::vector<unsigned char> colour(kColourBitsSize, 0x33), mask(kMaskBitsSize, 0x44);
        const std::string own = IconFolder(Path("c.txt"));
        CacheAddFile(CacheArchiveUser(), own.c_str(), "c.txt", kColourBitsSize, colour.data());
        CacheAddFile(CacheArchiveUser(), own.c_str(), "c.txt_Mask", kMaskBitsSize, mask.data());
        Register(Path("c.txt"), 1);
        DeleteFileA(Path("gone.txt").c_str());
    }
    void WithRebuild(std::function<void(HWND)> act) {
        ModalDriver driver;
        driver.Expect(kRebuildTitle, act);
        driver.Start();
        SendMessageA(MainWindow(), WM_COMMAND, IDM_REBUILD, 0);
        ASSERT_TRUE(driver.Finish(30000));
    }
};

void Tick(HWND dialog, int id) {
    SendDlgItemMessageA(dialog, id, BM_SETCHECK, BST_CHECKED, 0);
}

TEST_F(RebuildDialogTest, CacheFileInfoAndShortcutsOverACatalogueKeepIndividualIcons) {
    MakeCatalogue();
    ASSERT_EQ(4, EntryCount(0));
    std::string nothing, done, progress;
    WithRebuild([&](HWND dialog) {
        nothing = PressAndAnswer(dialog, IDC_REBUILD_RUN, "Error");
        for (int id : {IDC_REBUILD_FILE_INFO, IDC_REBUILD_CACHE, IDC_REBUILD_SHORTCUTS})
            Tick(dialog, id);
        done = PressAndAnswer(dialog, IDC_REBUILD_RUN, "お知らせ");
        progress = FieldText(dialog, IDC_REBUILD_PROGRESS);
        PressButton(dialog, IDC_REBUILD_CLOSE);
    });
    EXPECT_EQ("チェックが一つもありません", nothing);
    EXPECT_EQ("再構築しました", done);
    EXPECT_EQ("4 / 4", progress);

    EXPECT_EQ(1, FindEntry(0, 1)->noIcon) << "a missing file is marked missing";
    Entry* link = FindEntry(0, 2);
    EXPECT_EQ(Path("b.txt"), link->FilePath);
    EXPECT_STREQ("b.txt", link->FileName);
    EXPECT_STREQ("-q", link->Arg);
    EXPECT_EQ(Path("work"), link->WorkPath) << "the link's own working folder";
    EXPECT_EQ(3, link->Count);
    Entry* own = FindEntry(0, 3);
    EXPECT_EQ(1, own->IconType);
    ASSERT_NE(nullptr, own->colourBits);
    EXPECT_EQ(0x33, own->colourBits[0]) << "the individual icon still comes from CacheUser.arc";
    EXPECT_EQ(0, CacheHasFile(CacheArchiveAuto(), IconFolder(Path("link.lnk")).c_str(), "link.lnk"))
        << "the emptied cache holds only what was captured anew";

    Restart();
    ASSERT_EQ(4, EntryCount(0));
    EXPECT_EQ(Path("b.txt"), FindEntry(0, 2)->FilePath);
    EXPECT_EQ(1, CacheHasFile(CacheArchiveUser(), IconFolder(Path("c.txt")).c_str(), "c.txt"));
    EXPECT_EQ(1, FindEntry(0, 3)->IconType);
    EXPECT_EQ(0,
              CacheHasFile(CacheArchiveAuto(), IconFolder(Path("link.lnk")).c_str(), "link.lnk"));
}

TEST_F(RebuildDialogTest, AWorkPathRebuildResetsFoldersToTheStartFolder) {
    MakeCatalogue();
    lstrcpynA(FindEntry(0, 0)->WorkPath, "C:\\elsewhere", kEntryPathSize);
    WithRebuild([&](HWND dialog) {
        Tick(dialog, IDC_REBUILD_WORK_PATH);
        PressAndAnswer(dialog, IDC_REBUILD_RUN, "お知らせ");
        PressButton(dialog, IDC_REBUILD_CLOSE);
    });
    EXPECT_EQ(folder_, FindEntry(0, 0)->WorkPath);
    EXPECT_EQ(Path("link.lnk"), FindEntry(0, 2)->FilePath) << "shortcuts stay without their box";
}

// Sends WM_ENDSESSION to the main window as the system does. Posted to after a button, it
// comes in the pass the button starts.
LRESULT CALLBACK SendEndSession(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) SendMessageA(MainWindow(), WM_ENDSESSION, TRUE, 0);
    return DefWindowProcA(window, message, wParam, lParam);
}

// A close of the program during a pass stops it; a tray menu's command that comes meanwhile
// changes nothing under it. The cache on disk stays as it was, and the close is carried out
// after the dialog.
TEST_F(RebuildDialogTest, AProgramCloseDuringAPassLeavesTheCacheOnDiskAsItWas) {
    WNDCLASSA sender = {0,       SendEndSession, 0,       0,       nullptr,
                        nullptr, nullptr,        nullptr, nullptr, "End"};
    RegisterClassA(&sender);
    HWND endSession =
        CreateWindowExA(0, "End", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    MakeCatalogue();
    // An item no entry names: a finished pass over an emptied cache would drop it.
    CacheAddFile(CacheArchiveAuto(), "Cache\\Tools\\stale", "x", 4, "abcd");
    Restart();
    const std::string before = ReadText("Cache.arc");
    ASSERT_NE(std::string::npos, before.find("stale"));
    WithRebuild([&](HWND dialog) {
        Tick(dialog, IDC_REBUILD_CACHE);
        PressButton(dialog, IDC_REBUILD_RUN);
        PostMessageA(MainWindow(), WM_COMMAND, IDM_SORT_NAME, 0);
        PostMessageA(endSession, WM_APP, 0, 0);
    });
    PumpMessages();
    EXPECT_FALSE(IsWindow(window_)) << "the held-back close is carried out after the dialog";
    EXPECT_EQ(before, ReadText("Cache.arc"));
    EXPECT_NE(std::string::npos, ReadText("qdx.ini").find("Tools_FileName_1 = \"gone.txt\""));
    DestroyWindow(endSession);
}

} // namespace
