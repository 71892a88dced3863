#include "base/app_state.h"
#include "app/settings_contents.h"
#include "app/startup_reading.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "commands/menus.h"
#include "res/command_ids.h"
#include "storage/cache_archive.h"
#include "storage/icon_loading.h"
#include "storage/menu_commands.h"
#include "storage/settings.h"
#include "storage/settings_file.h"
#include "support/main_window_fixture.h"
#include "support/modal_driver.h"
#include "view/tab_strip.h"

#include <commctrl.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string ReadFileBytes(const std::string& path) {
    std::string data;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return data;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.append(buffer, n);
    std::fclose(f);
    return data;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// An archive file holding one icon file, whose checksum is made wrong when asked.
std::string ArchiveBytes(const char* folder, const char* name, bool breakChecksum) {
    CacheArchive archive;
    archive.magic = kCacheMagic;
    CacheAddFile(archive, folder, name, 3, "abc");
    std::string bytes;
    CacheSaveBytes(archive, &bytes);
    if (breakChecksum) bytes[4] = static_cast<char>(bytes[4] ^ 0x55);
    return bytes;
}

// The main window with its data files in a folder of the test's own.
class SettingsContentsWin : public MainWindowTest {
  protected:
    void SetUp() override {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::string(temp) + "qdx-contents-" + std::to_string(GetCurrentProcessId()) +
                  "-" + info->name();
        CreateDirectoryA(folder_.c_str(), nullptr);
        DeleteFileA(Path("qdx.ini").c_str());
        DeleteFileA(Path("Cache.arc").c_str());
        DeleteFileA(Path("CacheUser.arc").c_str());
        SetDataPathsFromModule(Path("QDX.exe").c_str());
        MainWindowTest::SetUp();
        ClearMenuCommands();
        ClearCatalogue();
        // The archives live as long as the process: each test starts with them as a start
        // does, empty and unchanged, whatever the tests before it left.
        for (int archive : {0, 1}) {
            CacheClear(archive);
            CacheArchiveAt(archive)->modified = false;
        }
    }
    std::string Path(const char* name) const { return folder_ + "\\" + name; }
    // Reads a settings file as start-up does, after the defaults.
    void LoadSettingsText(const std::string& text) {
        WriteFileBytes(Path("qdx.ini"), text);
        SettingsPrepare();
        SettingsRead(SettingsPath());
        LoadOptions();
        LoadMenuAndCatalogue();
        SettingsRelease();
        SettingsPrepare();
    }
    std::string TabName(int t) {
        char name[kTabNameSize];
        GetTabName(t, name);
        return name;
    }
    std::string folder_;
};

struct Answer {
    int button;
    int defaultButton = 0;
    bool hasYes = false, hasNo = false, hasOk = false;
};

void AnswerQuestion(ModalDriver* driver, Answer* answer) {
    driver->Expect("Error", [answer](HWND box) {
        for (int id : {IDYES, IDNO}) {
            LONG style = GetWindowLongA(GetDlgItem(box, id), GWL_STYLE);
            if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) answer->defaultButton = id;
        }
        answer->hasYes = GetDlgItem(box, IDYES) != nullptr;
        answer->hasNo = GetDlgItem(box, IDNO) != nullptr;
        answer->hasOk = GetDlgItem(box, IDOK) != nullptr;
        PressButton(box, answer->button);
    });
}

TEST_F(SettingsContentsWin, ChangedArchivesAreAskedForEachAndLoadedOnYes) {
    WriteFileBytes(Path("Cache.arc"), ArchiveBytes("Cache\\T", "auto", true));
    WriteFileBytes(Path("CacheUser.arc"), ArchiveBytes("Cache\\T", "user", true));
    for (bool yesFirst : {true, false}) {
        SCOPED_TRACE(yesFirst ? "Yes, then No" : "No, then Yes");
        CacheClear(0);
        CacheClear(1);
        Answer first{yesFirst ? IDYES : IDNO};
        Answer second{yesFirst ? IDNO : IDYES};
        ModalDriver driver;
        AnswerQuestion(&driver, &first);
        AnswerQuestion(&driver, &second);
        driver.Start();
        LoadArchives(window_);
        ASSERT_TRUE(driver.Finish());
        ASSERT_EQ(2u, driver.Seen().size());
        for (const SeenDialog& seen : driver.Seen())
            EXPECT_EQ(kCacheChangedQuestion, seen.text);
        for (const Answer* a : {&first, &second}) {
            EXPECT_EQ(IDNO, a->defaultButton);
            EXPECT_TRUE(a->hasYes);
            EXPECT_TRUE(a->hasNo);
            EXPECT_FALSE(a->hasOk);
        }
        EXPECT_EQ(yesFirst ? 1 : 0, CacheHasFile(0, "Cache\\T", "auto"));
        EXPECT_EQ(yesFirst ? 0 : 1, CacheHasFile(1, "Cache\\T", "user"));
    }
}

// Answers any "Error" box with No while it runs, and counts them: a safety net for calls that
// should ask nothing.
class UnexpectedBoxGuard {
  public:
    UnexpectedBoxGuard() { thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr); }
    ~UnexpectedBoxGuard() { Stop(); }
    int Stop() {
        if (thread_) {
            InterlockedExchange(&stop_, 1);
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
            thread_ = nullptr;
        }
        return seen_;
    }

  private:
    static BOOL CALLBACK Match(HWND window, LPARAM param) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == GetCurrentProcessId() && IsWindowVisible(window) &&
            WindowText(window) == "Error") {
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        }
        return TRUE;
    }
    static DWORD WINAPI Run(void* self) {
        UnexpectedBoxGuard* guard = static_cast<UnexpectedBoxGuard*>(self);
        while (!InterlockedCompareExchange(&guard->stop_, 0, 0)) {
            HWND box = nullptr;
            EnumWindows(Match, reinterpret_cast<LPARAM>(&box));
            if (box) {
                ++guard->seen_;
                PressButton(box, IDNO);
                while (IsWindow(box) && IsWindowVisible(box))
                    Sleep(10);
            }
            Sleep(10);
        }
        return 0;
    }
    HANDLE thread_ = nullptr;
    volatile LONG stop_ = 0;
    int seen_ = 0;
};

TEST_F(SettingsContentsWin, SoundOrMissingArchivesLoadWithoutAQuestion) {
    WriteFileBytes(Path("Cache.arc"), ArchiveBytes("Cache\\T", "auto", false));
    UnexpectedBoxGuard guard;
    LoadArchives(window_);
    EXPECT_EQ(0, guard.Stop());
    EXPECT_EQ(1, CacheHasFile(0, "Cache\\T", "auto"));
    EXPECT_EQ(0, CacheIsModified(0));
    EXPECT_EQ(0, CacheIsModified(1));
}

// Read on a worker while the window is made, the files give what reading them in turn gives:
// the sound archive loaded, the question asked on this thread for the changed one only, the
// settings document filled; a second load reads the files itself.
TEST_F(SettingsContentsWin, FilesReadEarlyOnAWorkerLoadAsReadInTurn) {
    EXPECT_FALSE(FinishStartUpReading()); // nothing begun
    WriteFileBytes(Path("Cache.arc"), ArchiveBytes("Cache\\T", "auto", false));
    WriteFileBytes(Path("CacheUser.arc"), ArchiveBytes("Cache\\T", "user", true));
    WriteFileBytes(Path("qdx.ini"), "[Info]\r\nTabCount = 0\r\n");
    BeginStartUpReading();
    ASSERT_TRUE(FinishStartUpReading());
    EXPECT_EQ(1, CacheHasFile(0, "Cache\\T", "auto"));
    EXPECT_EQ(0, CacheHasFile(1, "Cache\\T", "user"));
    EXPECT_EQ(FileReadResult::Read, SettingsReadState());
    EXPECT_EQ(1, SettingsHasSection("[Info]"));

    Answer yes{IDYES};
    ModalDriver driver;
    AnswerQuestion(&driver, &yes);
    driver.Start();
    LoadArchives(window_);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(1u, driver.Seen().size());
    EXPECT_EQ(1, CacheHasFile(1, "Cache\\T", "user"));
    EXPECT_EQ(nullptr, TakeEarlyArchiveRead(0));

    CacheClear(0);
    UnexpectedBoxGuard guard;
    DeleteFileA(Path("CacheUser.arc").c_str());
    LoadArchives(window_);
    EXPECT_EQ(0, guard.Stop());
    EXPECT_EQ(1, CacheHasFile(0, "Cache\\T", "auto"));
    SettingsRelease();
    SettingsPrepare();
}

TEST_F(SettingsContentsWin, SaveAllWritesTheFileAndOnlyChangedArchives) {
    std::string untouched = ArchiveBytes("Cache\\T", "user", false);
    WriteFileBytes(Path("CacheUser.arc"), untouched);
    LoadArchives(window_);
    CacheAddFile(0, "Cache\\T", "icon", 3, "xyz");
    AppendTab("道具");
    AppendTab("empty");
    Entry record = {};
    lstrcpyA(record.FilePath, "C:\\windows\\notepad.exe");
    record.Attribute = 0x20;
    record.Count = 3;
    AddEntry("", record, 0, 0);
    SaveAll();

    std::string cache = ReadFileBytes(Path("Cache.arc"));
    ASSERT_GE(cache.size(), 24u);
    EXPECT_EQ(
        1, CacheValidateBytes(reinterpret_cast<const unsigned char*>(cache.data()), cache.size()));
    EXPECT_EQ(untouched, ReadFileBytes(Path("CacheUser.arc")));

    std::string ini = ReadFileBytes(Path("qdx.ini"));
    EXPECT_EQ(
        0u,
        ini.find("; 設定ファイルを手動で編集した場合、正確なロードは保証されません\r\n[Info]\r\n"));
    EXPECT_NE(
        std::string::npos,
        ini.find("VersionMiner = 20\r\nTabCount = 2\r\nTab_0 = \"道具\"\r\nTab_0_Count = 1\r\n"
                 "Tab_1 = \"empty\"\r\nTab_1_Count = 0\r\nMenuTotal = 0\r\n\r\n[Tab_道具]\r\n"
                 "道具_FilePath_0 = \"C:\\\\windows\\\\notepad.exe\"\r\n"))
        << ini;
    EXPECT_EQ(std::string::npos, ini.find("[Tab_empty]"));
    // The last line is the last key: no empty line after the last section.
    const std::string last = "道具_Comment_0 = \"\"\r\n";
    ASSERT_GE(ini.size(), last.size());
    EXPECT_EQ(last, ini.substr(ini.size() - last.size()));
}

TEST_F(SettingsContentsWin, NoSettingsFileGivesDefaultsAndTheDefaultCommands) {
    LoadSettingsText("");
    EXPECT_EQ(10, MenuCommandCount());
    EXPECT_EQ(0, TabNameCount());
    EXPECT_EQ(3, GetSort());
    EXPECT_EQ(GetOsVersionCode() >= 8 ? 1 : 2, GetIconDraw());
    EXPECT_EQ(MF_CHECKED, GetMenuState(MainMenu(), IDM_SORT_COUNT_NAME, MF_BYCOMMAND) & MF_CHECKED);
}

TEST_F(SettingsContentsWin, OptionsAreAppliedByTheirRules) {
    struct Case {
        const char* name;
        const char* text;
        int style;
        int x, y;
        int iconDraw; // 0: the default of this system
        UINT checked;
    } cases[] = {
        {"style 7 becomes 0; a position off the screen is ignored",
         "[Info]\r\nStyle = 7\r\nMainWindowPosX_0 = 5000\r\nMainWindowPosY_0 = 40\r\n"
         "IconDraw = 0\r\nSort = 0\r\n",
         0, 30, 30, 0, IDM_SORT_NONE},
        {"a position on the screen is taken; IconDraw above 3 is replaced",
         "[Info]\r\nMainWindowPosX_0 = 200\r\nMainWindowPosY_0 = 150\r\nIconDraw = 4\r\nSort = "
         "1\r\n",
         0, 200, 150, 0, IDM_SORT_NAME},
        {"a negative position is ignored; IconDraw 3 kept",
         "[Info]\r\nMainWindowPosX_0 = -1\r\nMainWindowPosY_0 = 10\r\nIconDraw = 3\r\nSort = 2\r\n",
         0, 30, 30, 3, IDM_SORT_COUNT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetWindowPos(window_, nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        for (UINT id = IDM_SORT_NAME; id <= IDM_SORT_NONE; ++id) {
            CheckMenuItem(MainMenu(), id, MF_BYCOMMAND | MF_UNCHECKED);
        }
        ResetSettings();
        ApplyDefaultSettings();
        ClearMenuCommands();
        LoadSettingsText(c.text);
        EXPECT_EQ(c.style, GetStyle());
        RECT r;
        GetWindowRect(window_, &r);
        EXPECT_EQ(c.x, r.left);
        EXPECT_EQ(c.y, r.top);
        int defaultIconDraw = GetOsVersionCode() >= 8 ? 1 : 2;
        EXPECT_EQ(c.iconDraw ? c.iconDraw : defaultIconDraw, GetIconDraw());
        for (UINT id = IDM_SORT_NAME; id <= IDM_SORT_NONE; ++id) {
            EXPECT_EQ(id == c.checked,
                      (GetMenuState(MainMenu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0)
                << id;
        }
        // An [Info] section without MenuTotal still gets the default commands.
        EXPECT_EQ(10, MenuCommandCount());
    }
}

TEST_F(SettingsContentsWin, AlphaBelowTwentyIsKeptButNotApplied) {
    LoadSettingsText("[Info]\r\nAlpha = 10\r\n");
    EXPECT_EQ(10, GetAlpha());
    if (GetOsVersionCode() < 8) {
        // Not layered at all here: the window stays visible at every alpha.
        EXPECT_FALSE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_LAYERED);
        return;
    }
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window_, nullptr, &alpha, &flags));
    EXPECT_EQ(255, alpha); // as the window was made
}

TEST_F(SettingsContentsWin, TabsStayAlignedWithTheirSlotsWhenANameIsMissing) {
    LoadSettingsText(
        "[Info]\r\nMenuTotal = 0\r\nTabCount = 3\r\n"
        "Tab_0 = \"A\"\r\nTab_0_Count = 1\r\n"
        "Tab_1_Count = 1\r\n"
        "Tab_2 = \"C\"\r\nTab_2_Count = 2\r\n\r\n"
        "[Tab_A]\r\nA_FilePath_0 = \"C:\\\\a.exe\"\r\n\r\n"
        "[Tab_C]\r\nC_FilePath_0 = \"C:\\\\c0.exe\"\r\nC_FilePath_1 = \"C:\\\\c1.exe\"\r\n");
    EXPECT_EQ(0, MenuCommandCount());
    ASSERT_EQ(2, TabNameCount());
    EXPECT_EQ("A", TabName(0));
    EXPECT_EQ("C", TabName(1));
    EXPECT_EQ(1, EntryCount(0));
    ASSERT_EQ(2, EntryCount(1));
    EXPECT_STREQ("C:\\c1.exe", FindEntry(1, 1)->FilePath);
    EXPECT_EQ(0, EntryCount(2));
}

// At start-up the tabs not shown first are kept for later. A paint waits for none of them;
// whatever acts on tabs loads them first, so every tab, moved or switched to, holds its own
// entries (a tab moved before its entries came would be given another tab's).
TEST_F(SettingsContentsWin, TabsKeptForLaterAreLoadedBeforeAnythingActsOnTabs) {
    const std::string text =
        "[Info]\r\nTabCount = 3\r\nTab_0 = \"A\"\r\nTab_0_Count = 1\r\n"
        "Tab_1 = \"B\"\r\nTab_1_Count = 2\r\nTab_2 = \"C\"\r\nTab_2_Count = 1\r\n\r\n"
        "[Tab_A]\r\nA_FilePath_0 = \"C:\\\\a.exe\"\r\n\r\n"
        "[Tab_B]\r\nB_FilePath_0 = \"C:\\\\b0.exe\"\r\nB_FilePath_1 = \"C:\\\\b1.exe\"\r\n\r\n"
        "[Tab_C]\r\nC_FilePath_0 = \"C:\\\\c.exe\"\r\n";
    const struct {
        bool toStrip;
        UINT message;
        WPARAM wParam;
        bool loadsAll;
    } cases[] = {
        {false, WM_PAINT, 0, false},
        {false, WM_KEYDOWN, 'N', true},                // the next tab
        {true, WM_COMMAND, TabCommandMoveRight, true}, // the tab menu's move
    };
    WriteFileBytes(Path("qdx.ini"), text);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        SendMessageA(TabControl(), TCM_DELETEALLITEMS, 0, 0);
        FreeCatalogue();
        ClearCatalogue();
        SettingsPrepare();
        SettingsRead(SettingsPath());
        LoadOptions();
        LoadOtherTabsLater(true);
        LoadMenuAndCatalogue();
        LoadOtherTabsLater(false);
        SetCatalogueCompletion([] {
            while (LoadNextKeptTab()) {
            }
        });
        ASSERT_EQ(3, TabNameCount());
        SendMessageA(c.toStrip ? TabControl() : window_, c.message, c.wParam, 0);
        EXPECT_EQ(c.loadsAll, IsCatalogueComplete());
        EXPECT_EQ(c.loadsAll ? 2 : 0, EntryCount(FindTab("B")));
        CompleteCatalogue();
        for (int t = 0; t < TabNameCount(); ++t) {
            std::string name = TabName(t);
            EXPECT_EQ(name == "B" ? 2 : 1, EntryCount(t)) << name;
            for (int k = 0; k < EntryCount(t); ++k)
                EXPECT_EQ(char(name[0] | 0x20), FindEntry(t, k)->FilePath[3]) << name << k;
        }
        SettingsRelease();
        SettingsPrepare();
    }
}

// The strip as it paints itself, in 32-bit pixels.
std::string StripPicture() {
    RECT r;
    GetClientRect(TabControl(), &r);
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(r.right, r.bottom, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(TabControl(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                 PRF_CLIENT | PRF_ERASEBKGND);
    std::string picture(size_t(r.right) * r.bottom * 4, '\0');
    GetBitmapBits(bitmap, static_cast<LONG>(picture.size()), &picture[0]);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return picture;
}

// At start-up the strip gets only the items that show in the first paint; the others come
// before anything acts on tabs, named as a whole load names them (a repeated name included).
TEST_F(SettingsContentsWin, StripItemsThatCannotShowAreAppendedLater) {
    std::string text = "[Info]\r\nTabCount = 12\r\n";
    for (int i = 0; i < 12; ++i)
        text += "Tab_" + std::to_string(i) + " = \"Tab number " + std::to_string(i % 11) + "\"\r\n";
    std::vector<std::string> names[2];
    std::string pictures[2];
    for (bool later : {false, true}) {
        SendMessageA(TabControl(), TCM_DELETEALLITEMS, 0, 0);
        ClearCatalogue();
        SetCatalogueCompletion([] {
            while (LoadNextKeptTab()) {
            }
        });
        DeferIconBinding(true); // as at start-up: entries are read on a worker
        LoadOtherTabsLater(later);
        LoadSettingsText(text);
        LoadOtherTabsLater(false);
        DeferIconBinding(false);
        pictures[later] = StripPicture();
        EXPECT_EQ(later, TabNameCount() < 12);
        // The scroll arrows act on the items: every one is there first.
        SendMessageA(TabControl(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
        for (int t = 0; t < TabNameCount(); ++t)
            names[later].push_back(TabName(t));
    }
    EXPECT_TRUE(pictures[0] == pictures[1]) << "the first paint shows the same strip";
    EXPECT_EQ(names[0], names[1]);
}

TEST_F(SettingsContentsWin, TabCountsOverThirtyAreCutAndMissingCountsLeaveTabsEmpty) {
    std::string text = "[Info]\r\nTabCount = 31\r\n";
    for (int i = 0; i < 31; ++i)
        text += "Tab_" + std::to_string(i) + " = \"t" + std::to_string(i) + "\"\r\n";
    text += "\r\n[Tab_t0]\r\nt0_FilePath_0 = \"C:\\\\x.exe\"\r\n";
    LoadSettingsText(text);
    EXPECT_EQ(30, TabNameCount());
    EXPECT_EQ("t29", TabName(29));
    EXPECT_EQ(0, EntryCount(0)); // no Tab_0_Count: the tab stays empty
}

TEST_F(SettingsContentsWin, TrayMenuSharesTheMenuBarsSubMenus) {
    HMENU tray = TrayMenu();
    ASSERT_NE(nullptr, tray);
    HMENU bar = MainMenu();
    ASSERT_EQ(8, GetMenuItemCount(tray));
    const struct {
        int barPosition; // -1: no sub-menu
        UINT id;
        const char* text;
    } items[] = {
        {0, 0, "ファイル"}, {-1, IDM_MENU_EDIT, "メニュー編集"},
        {2, 0, "ソート"},   {3, 0, "設定"},
        {4, 0, "その他"},   {5, 0, "ヘルプ"},
        {-1, 0, ""},        {-1, IDM_EXIT, "終了"},
    };
    int position = 0;
    for (const auto& item : items) {
        if (position == 6) {
            EXPECT_EQ(UINT(MF_SEPARATOR),
                      GetMenuState(tray, position, MF_BYPOSITION) & MF_SEPARATOR);
            ++position;
            continue;
        }
        char text[64] = "";
        GetMenuStringA(tray, position, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(item.text, text) << position;
        if (item.barPosition >= 0) {
            EXPECT_EQ(GetSubMenu(bar, item.barPosition), GetSubMenu(tray, position)) << position;
        } else {
            EXPECT_EQ(item.id, GetMenuItemID(tray, position)) << position;
        }
        ++position;
    }
    // A check mark on the menu bar shows in the tray menu: the sub-menu is the same.
    MarkStartupSortItem(bar, 2);
    EXPECT_TRUE(GetMenuState(GetSubMenu(tray, 2), IDM_SORT_COUNT, MF_BYCOMMAND) & MF_CHECKED);

    // Destroying the tray menu leaves the menu bar's sub-menus alive.
    HMENU sort = GetSubMenu(bar, 2);
    DestroyTrayMenu(tray);
    SetTrayMenu(nullptr);
    EXPECT_FALSE(IsMenu(tray));
    EXPECT_TRUE(IsMenu(sort));
    EXPECT_TRUE(IsMenu(GetSubMenu(bar, 0)));
    EXPECT_EQ(6, GetMenuItemCount(sort));
}

std::string StatusText() {
    char text[512] = "";
    // MenuHelp puts the status bar into simple mode and writes its one part.
    SendMessageA(StatusBar(), SB_GETTEXTA, 255, reinterpret_cast<LPARAM>(text));
    if (text[0] == '\0') SendMessageA(StatusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(SettingsContentsWin, HighlightedMenuCommandShowsItsHelpInTheStatusBar) {
    const struct {
        UINT id;
        const char* help;
    } cases[] = {
        {IDM_TAB_NEW, "新しいタブを作成します。最大30個まで作成可能です"},
        {IDM_SORT_COUNT,
         "実行した回数順にソートします。フォルダは関係なく単純に回数順でソートされます"},
        {IDM_VERSION, "バージョン情報を表示します"},
    };
    for (const auto& c : cases) {
        SendMessageA(window_, WM_MENUSELECT, MAKEWPARAM(c.id, MF_HILITE),
                     reinterpret_cast<LPARAM>(MainMenu()));
        EXPECT_EQ(c.help, StatusText()) << c.id;
    }
}

TEST_F(SettingsContentsWin, StringTableHoldsTheTextsInShiftJis) {
    const struct {
        UINT id;
        const char* text;
    } cases[] = {
        {IDM_FIND_DUPLICATES, "登録した情報に同じものがないかを探します"},
        {IDM_HELP, "ヘルプを表示します"},
        {352, "現在のポップアップメニューリストの内容"},
        {391, "Ver1.10以前の起動方法で実行します"},
        {396, "設定したキーを押すとマウスカーソルの元へウィンドウが移動します。必ず "
              "CTRLキーを含んで下さい。"},
        {580, "一言どうぞ～"},
        {584, "作業領域。＊必ず理解した上で設定して下さい ＊"},
        {596, "登録されたショートカットファイルを全てフルパス用に再構築します"},
    };
    for (const auto& c : cases) {
        char text[512] = "";
        LoadStringA(GetModuleHandleA(nullptr), c.id, text, sizeof text);
        EXPECT_STREQ(c.text, text) << c.id;
    }
    char none[64] = "";
    EXPECT_EQ(0, LoadStringA(GetModuleHandleA(nullptr), IDM_OTHER_COLOURS, none, sizeof none));
}

// Starts and closes as the program does: the file on disk is read into the window, and
// closing the window writes it; a new window then reads what was written.
class CatalogueCycles : public SettingsContentsWin {
  protected:
    // aside_: as at start-up, icons only marked and the entries read on a worker.
    void Start() {
        SettingsPrepare();
        SettingsRead(SettingsPath());
        LoadOptions();
        DeferIconBinding(aside_);
        LoadMenuAndCatalogue();
        DeferIconBinding(false);
        SettingsRelease();
        SettingsPrepare();
    }
    // Closes the window, which saves, and makes a new empty one.
    void NewWindow() {
        CloseApplication(window_);
        PumpMessages();
        window_ = CreateMainWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(nullptr, window_);
        ApplyDefaultSettings();
        ClearMenuCommands();
        ClearCatalogue();
    }
    void Restart() {
        NewWindow();
        Start();
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int t = 0; t < TabNameCount(); ++t)
            names.push_back(TabName(t));
        return names;
    }
    std::vector<int> Counts() {
        std::vector<int> counts;
        for (int t = 0; t < TabNameCount(); ++t)
            counts.push_back(EntryCount(t));
        return counts;
    }
    bool aside_ = false;
};

std::string EntryLines(const std::string& tab, int first, int n) {
    std::string lines;
    for (int i = 0; i < n; ++i)
        lines += tab + "_FilePath_" + std::to_string(i) + " = \"C:\\\\" + tab + "\\\\" +
                 std::to_string(first + i) + ".exe\"\r\n";
    return lines;
}

std::string TabLines(const std::vector<std::pair<std::string, int>>& tabs) {
    std::string text =
        "[Info]\r\nMenuTotal = 0\r\nTabCount = " + std::to_string(tabs.size()) + "\r\n";
    for (size_t i = 0; i < tabs.size(); ++i) {
        text += "Tab_" + std::to_string(i) + " = \"" + tabs[i].first + "\"\r\n";
        text += "Tab_" + std::to_string(i) + "_Count = " + std::to_string(tabs[i].second) + "\r\n";
    }
    return text;
}

TEST_F(CatalogueCycles, EveryTabKeepsItsOwnNameAndEntriesOverRepeatedStarts) {
    // "ツール", "転送" and "評価" as a file saved in UTF-8 holds them: no Shift-JIS.
    const std::string utf8[] = {"\xE3\x83\x84\xE3\x83\xBC\xE3\x83\xAB", "\xE8\xBB\xA2\xE9\x80\x81",
                                "\xE8\xA9\x95\xE4\xBE\xA1"};
    std::string fromUtf8 = TabLines({{utf8[0], 5}, {utf8[1], 5}, {utf8[2], 5}});
    for (int t = 0; t < 3; ++t)
        fromUtf8 += "\r\n[Tab_" + utf8[t] + "]\r\n" + EntryLines(utf8[t], 0, 5);
    const std::string twice = TabLines({{"X", 2}, {"Y", 1}, {"X", 3}}) + "\r\n[Tab_X]\r\n" +
                              EntryLines("X", 0, 2) + "\r\n[Tab_Y]\r\n" + EntryLines("Y", 0, 1) +
                              "\r\n[Tab_X]\r\n" + EntryLines("X", 10, 3);
    std::string katakana = TabLines({{"ゾーン", 2}, {"‐", 1}, {"a]b", 1}});
    katakana += "\r\n[Tab_ゾーン]\r\n" + EntryLines("ゾーン", 0, 2) + "\r\n[Tab_‐]\r\n" +
                EntryLines("‐", 0, 1) + "\r\n[Tab_a]b]\r\n" + EntryLines("a]b", 0, 1);
    // Names its own dialogs refuse: their keys never read back, but the names are mended so
    // that whatever the tabs hold from now on does.
    std::string refused = TabLines({{"a=b", 1}, {"[c", 1}, {" x", 1}, {"ok", 1}});
    for (const char* name : {"a=b", "[c", " x", "ok"})
        refused += "\r\n[Tab_" + std::string(name) + "]\r\n" + EntryLines(name, 0, 1);
    const struct {
        const char* what;
        std::string text;
        std::vector<int> counts;
        std::vector<std::string> names; // empty: only that they differ
        std::string lastPath;           // the first entry of the last tab: its own
    } cases[] = {
        {"names with a second byte 5D and a bracket",
         katakana,
         {2, 1, 1},
         {"ゾーン", "‐", "a]b"},
         "C:\\a]b\\0.exe"},
        {"one name twice", twice, {2, 1, 3}, {"X", "Y", "X(2)"}, "C:\\X\\10.exe"},
        {"names the dialogs refuse",
         refused,
         {0, 0, 0, 1},
         {"a_b", "_c", "_x", "ok"},
         "C:\\ok\\0.exe"},
        {"names that are no Shift-JIS", fromUtf8, {5, 5, 5}, {}, "C:\\" + utf8[2] + "\\0.exe"},
    };
    for (bool aside : {false, true})
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (aside ? ", entries read aside" : ""));
            aside_ = aside;
            NewWindow();
            WriteFileBytes(Path("qdx.ini"), c.text);
            Start();
            std::vector<std::string> names = Names();
            EXPECT_EQ(c.counts, Counts());
            if (!c.names.empty()) {
                EXPECT_EQ(c.names, names);
            }
            std::set<std::string> distinct(names.begin(), names.end());
            EXPECT_EQ(names.size(), distinct.size());
            Entry* e = FindEntry(TabNameCount() - 1, 0);
            ASSERT_NE(nullptr, e);
            EXPECT_EQ(c.lastPath, e->FilePath);
            // Nothing changes at the next start, nor at the one after.
            Restart();
            EXPECT_EQ(names, Names());
            EXPECT_EQ(c.counts, Counts());
            std::string settled = ReadFileBytes(Path("qdx.ini"));
            Restart();
            EXPECT_EQ(names, Names());
            EXPECT_EQ(settled, ReadFileBytes(Path("qdx.ini")));
        }
}

} // namespace
