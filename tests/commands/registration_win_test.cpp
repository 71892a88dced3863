#include "catalogue/catalogue.h"
#include "app/catalogue_services.h"
#include "catalogue/tab_names.h"
#include "commands/registration.h"
#include "commands/scratch_folder.h"
#include "commands/shortcuts.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "storage/settings.h"
#include "support/input_state.h"
#include "support/main_window_fixture.h"
#include "support/modal_driver.h"
#include "view/grid.h"
#include "view/tab_strip.h"

#include <objbase.h>

#include <string>
#include <vector>

namespace {

std::string Upper(std::string s) {
    CharUpperBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

class RegistrationTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ClearCatalogue();
        InstallCatalogueServices();
        CacheClear(0);
        CoInitialize(nullptr);
        SetSort(0);
        recorder_ = scratch_.InstallRecorder("tool.exe");
        text_ = scratch_.Write("b.txt", "b");
        folder_ = scratch_.File("dir");
        CreateDirectoryA(folder_.c_str(), nullptr);
        work_ = scratch_.File("work");
        CreateDirectoryA(work_.c_str(), nullptr);
        link_ = scratch_.File("tool.lnk");
        CreateStartupShortcut(link_.c_str(), recorder_.c_str(), "", "-x \"y z\"", work_.c_str(),
                              recorder_.c_str(), 0, SW_SHOWNORMAL);
    }
    void TearDown() override {
        FreeCatalogue();
        CoUninitialize();
        MainWindowTest::TearDown();
    }
    void MakeTab() {
        AppendTab("Drop");
        SelectTab(0);
    }
    void Drop(const std::vector<std::string>& paths) {
        SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
    }
    static bool Cached(const std::string& path, const char* name) {
        char tabFolder[kIconFolderSize], folder[kIconFolderSize];
        TabCacheFolder(tabFolder, "Drop");
        IconCacheFolder(folder, tabFolder, path.c_str());
        return CacheHasFile(0, folder, name) == 1 &&
               CacheHasFile(0, folder, (std::string(name) + "_Mask").c_str()) == 1;
    }
    // Puts the pointer over cell `index` of the first row.
    void PointAtCell(int index) {
        POINT p = {index * CellWidth() + CellWidth() / 2, GridTop() + CellHeight() / 2};
        ClientToScreen(window_, &p);
        PlacePointer(p.x, p.y);
    }
    void AddEntryFor(const std::string& path, const char* arg) {
        Entry record{};
        lstrcpynA(record.FilePath, path.c_str(), sizeof record.FilePath);
        lstrcpynA(record.Arg, arg, sizeof record.Arg);
        record.Attribute = GetFileAttributesA(path.c_str());
        AddEntry("Cache\\Drop", record, 0, 0);
    }

    ScratchFolder scratch_;
    std::string recorder_, text_, folder_, work_, link_;
};

TEST_F(RegistrationTest, DroppedFilesBecomeEntriesInDropOrderWithTheirIcons) {
    MakeTab();
    std::string missing = scratch_.File("gone.txt");
    Drop({text_, folder_, link_, missing, text_});

    const struct {
        std::string path, workPath;
        uint32_t attribute;
        bool icon;
    } expected[] = {
        {text_, scratch_.Path(), FILE_ATTRIBUTE_ARCHIVE, true},
        {folder_, scratch_.Path(), FILE_ATTRIBUTE_DIRECTORY, true},
        {link_, work_, FILE_ATTRIBUTE_ARCHIVE, true}, // the shortcut itself, its own folder
        {missing, scratch_.Path(), kMissingAttributes, false},
        {text_, scratch_.Path(), FILE_ATTRIBUTE_ARCHIVE, true}, // the same file twice
    };
    ASSERT_EQ(5, EntryCount(0));
    for (int k = 0; k < 5; ++k) {
        const Entry* e = FindEntry(0, k);
        EXPECT_EQ(Upper(expected[k].path), Upper(e->FilePath)) << k;
        EXPECT_EQ(Upper(expected[k].workPath), Upper(e->WorkPath)) << k;
        EXPECT_EQ(expected[k].attribute, e->Attribute & (expected[k].attribute)) << k;
        EXPECT_STREQ("", e->Arg);
        EXPECT_EQ(0, e->Count);
        EXPECT_EQ(0, e->IconType);
        EXPECT_EQ(expected[k].icon ? 0 : 1, e->noIcon) << k;
        EXPECT_EQ(expected[k].icon, Cached(e->FilePath, e->FileName)) << k;
    }
    EXPECT_EQ(kMissingAttributes, FindEntry(0, 3)->Attribute);
}

TEST_F(RegistrationTest, WithShortcutFullTheTargetIsRegistered) {
    MakeTab();
    SetShortcutFull(1);
    Drop({link_});
    ASSERT_EQ(1, EntryCount(0));
    const Entry* e = FindEntry(0, 0);
    EXPECT_EQ(Upper(recorder_), Upper(e->FilePath));
    EXPECT_STREQ("-x \"y z\"", e->Arg);
    EXPECT_EQ(Upper(work_), Upper(e->WorkPath));
    EXPECT_EQ(GetFileAttributesA(recorder_.c_str()), e->Attribute);
    EXPECT_TRUE(Cached(recorder_, "tool.exe"));
}

TEST_F(RegistrationTest, SortOneOrThreeSortsAfterTheDropOthersAppend) {
    std::string c = scratch_.Write("c.txt", "c"), a = scratch_.Write("A.txt", "a");
    const struct {
        int sort;
        std::vector<std::string> names;
    } rows[] = {
        {1, {"dir", "A.txt", "b.txt", "c.txt"}},
        {3, {"dir", "A.txt", "b.txt", "c.txt"}},
        {2, {"b.txt", "c.txt", "A.txt", "dir"}},
        {0, {"b.txt", "c.txt", "A.txt", "dir"}},
    };
    MakeTab();
    for (const auto& row : rows) {
        FreeCatalogue();
        ClearCatalogue();
        SetSort(row.sort);
        Drop({text_});
        Drop({c, a, folder_});
        std::vector<std::string> names;
        for (int k = 0; k < EntryCount(0); ++k)
            names.push_back(FindEntry(0, k)->FileName);
        EXPECT_EQ(row.names, names) << "Sort " << row.sort;
    }
}

TEST_F(RegistrationTest, WithoutATabTheDropIsRefusedWithAMessage) {
    ModalDriver driver;
    driver.ExpectMessageBox("Error", IDOK);
    driver.Start();
    Drop({text_});
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(
        "タブが選択されていません\r\nタブをアクティブにするか、[ファイル]->[新規作成]からタブを作"
        "成してください",
        driver.Seen().at(0).text);
    for (int t = 0; t < kTabSlots; ++t)
        EXPECT_EQ(0, EntryCount(t));
}

TEST_F(RegistrationTest, ShiftDropLaunchesTheEntryUnderThePointerWithQuotedPaths) {
    MakeTab();
    AddEntryFor(recorder_, "-v");
    ShowWindow(window_, SW_SHOW);
    PointAtCell(0);
    {
        HeldKeys shift({VK_SHIFT});
        Drop({"C:\\a b\\x.txt"});
    }
    std::string log = recorder_ + ".log";
    for (int waited = 0; waited < 600 && !PathExists(log); ++waited) {
        PumpMessages();
        Sleep(50);
    }
    ASSERT_TRUE(PathExists(log)) << "nothing was launched; entries: " << EntryCount(0);
    std::string line = ReadFileText(log);
    line = line.substr(0, line.find("\r\n"));
    ASSERT_NE(std::string::npos, line.find(" -v")) << line;
    EXPECT_EQ(" -v \"C:\\a b\\x.txt\" ", line.substr(line.find(" -v"))) << line;
    EXPECT_EQ(0, FindEntry(0, 0)->Count);
    EXPECT_EQ(1, EntryCount(0));
}

TEST_F(RegistrationTest, ShiftDropOverAnEmptyCellOrBesideTheGridLaunchesNothing) {
    MakeTab();
    AddEntryFor(recorder_, "");
    ShowWindow(window_, SW_SHOW);
    CatchingLaunches catching;
    HeldKeys shift({VK_SHIFT});
    PointAtCell(1);
    Drop({text_});
    // Right of the last column: the cell a division would give is the next row's first.
    for (int i = 0; i < 6; ++i)
        AddEntryFor(recorder_, "");
    POINT beside = {ColumnCount() * CellWidth() + 5, GridTop() + 5};
    ClientToScreen(window_, &beside);
    PlacePointer(beside.x, beside.y);
    Drop({text_});
    EXPECT_TRUE(CaughtLaunches().empty());
    EXPECT_EQ(7, EntryCount(0));
}

TEST_F(RegistrationTest, AFullArgumentLineAsksAndLaunchesWhatFitsOrNothing) {
    MakeTab();
    AddEntryFor(recorder_, "");
    ShowWindow(window_, SW_SHOW);
    PointAtCell(0);
    // Paths of 300 bytes: six quoted with their blanks take 1818 bytes, a seventh passes 2048.
    std::vector<std::string> paths;
    for (int i = 0; i < 8; ++i)
        paths.push_back("C:\\" + std::string(293, static_cast<char>('a' + i)) + ".txt");
    std::string six;
    for (int i = 0; i < 6; ++i)
        six += "\"" + paths[i] + "\" ";

    for (int answer : {IDYES, IDNO}) {
        CatchingLaunches catching;
        ModalDriver driver;
        driver.ExpectMessageBox("Error", answer);
        driver.Start();
        // Held only now: the key state can be reset by input in the meantime.
        HeldKeys shift({VK_SHIFT});
        Drop(paths);
        ASSERT_TRUE(driver.Finish());
        EXPECT_EQ("引数に割り当てているバッファをオーバーしました\r\n先頭から6個迄なら処理出来"
                  "ますが、実行しますか?",
                  driver.Seen().at(0).text);
        if (answer == IDYES) {
            ASSERT_EQ(1u, CaughtLaunches().size());
            EXPECT_EQ(six, CaughtLaunches()[0].arguments); // whole, not cut at 1023 bytes
        } else {
            EXPECT_TRUE(CaughtLaunches().empty());
        }
    }
}

} // namespace
