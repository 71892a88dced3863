#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "res/tab_dialog_ids.h"
#include "storage/cache_archive.h"
#include "support/main_window_fixture.h"
#include "support/modal_driver.h"
#include "dialogs/refusal.h"
#include "view/grid.h"
#include "view/tab_strip.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const char kRenameTitle[] = "新しいタブ名を入力してください";

class TabStripTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ClearCatalogue();
        CacheClear(CacheArchiveAuto());
        CacheClear(CacheArchiveUser());
    }
    void TearDown() override {
        FreeCatalogue();
        MainWindowTest::TearDown();
    }
    // Tabs with 1, 2, 3 ... entries, and an icon of each in both archives.
    static void MakeTabs(const std::vector<std::string>& names) {
        std::unique_ptr<Entry> record(new Entry());
        lstrcpyA(record->FilePath, "C:\\missing\\app.exe");
        record->Attribute = kMissingAttributes;
        for (size_t t = 0; t < names.size(); ++t) {
            AppendTab(names[t].c_str());
            for (size_t k = 0; k <= t; ++k)
                AddEntry("", *record, 0, static_cast<int>(t));
            std::string folder = "Cache\\" + names[t];
            CacheAddFile(CacheArchiveAuto(), folder.c_str(), "icon", 4, "abcd");
            CacheAddFile(CacheArchiveUser(), folder.c_str(), "icon", 4, "abcd");
        }
    }
    static std::string Name(int t) {
        char name[kTabNameSize];
        GetTabName(t, name);
        return name;
    }
    static bool HasIcons(const std::string& tab) {
        std::string folder = "Cache\\" + tab;
        int automatic = CacheHasFile(CacheArchiveAuto(), folder.c_str(), "icon");
        int user = CacheHasFile(CacheArchiveUser(), folder.c_str(), "icon");
        EXPECT_EQ(automatic, user) << "both archives follow the tab " << tab;
        return automatic == 1 && user == 1;
    }
    static void Command(int id) { SendMessageA(TabControl(), WM_COMMAND, id, 0); }
};

TEST_F(TabStripTest, RenameMovesTheIconFolderInBothArchives) {
    MakeTabs({"Work", "Games", "Tools"});
    SendMessageA(TabControl(), TCM_SETCURSEL, 1, 0);
    ModalDriver driver;
    driver.Expect(kRenameTitle, [](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_TAB_RENAME_NAME, "遊び");
        PressButton(dialog, IDC_TAB_RENAME_OK);
    });
    driver.Start();
    Command(TabCommandRename);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ("遊び", Name(1));
    EXPECT_TRUE(HasIcons("遊び"));
    EXPECT_FALSE(HasIcons("Games"));
    EXPECT_EQ(2, EntryCount(1));
}

TEST_F(TabStripTest, RenameRefusedOrLeftEmptyKeepsNameAndFolder) {
    MakeTabs({"Work", "Games"});
    SendMessageA(TabControl(), TCM_SETCURSEL, 1, 0);
    Refusal refusal;
    ModalDriver driver;
    driver.Expect(kRenameTitle, [&refusal](HWND dialog) {
        // Its own name is taken.
        refusal = RefuseName(dialog, IDC_TAB_RENAME_NAME, IDC_TAB_RENAME_OK, "Games");
        SetDlgItemTextA(dialog, IDC_TAB_RENAME_NAME, "");
        PressButton(dialog, IDC_TAB_RENAME_OK);
    });
    driver.Start();
    Command(TabCommandRename);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ("お知らせ", refusal.caption);
    EXPECT_EQ("その名前は既に登録されています", refusal.text);
    EXPECT_EQ("Games", Name(1));
    EXPECT_TRUE(HasIcons("Games"));
}

TEST_F(TabStripTest, DeleteAsksFirstAndNoOrEnterKeepsTheTab) {
    MakeTabs({"Work", "Games", "Tools"});
    SendMessageA(TabControl(), TCM_SETCURSEL, 1, 0);
    ModalDriver driver;
    driver.ExpectMessageBox("確認", IDNO);
    // Enter picks the default button, which is No.
    driver.Expect("確認", [](HWND box) { PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0); });
    driver.Start();
    Command(TabCommandDelete);
    Command(TabCommandDelete);
    ASSERT_TRUE(driver.Finish());
    ASSERT_EQ(2u, driver.Seen().size());
    EXPECT_EQ("\"Games\" を削除してもいいですか?", driver.Seen()[0].text);
    EXPECT_EQ(3, TabNameCount());
    EXPECT_EQ("Games", Name(1));
    EXPECT_TRUE(HasIcons("Games"));
}

TEST_F(TabStripTest, DeleteRemovesTabEntriesAndFolderThenSelectsTheNeighbour) {
    MakeTabs({"Work", "Games", "Tools", "Music"});
    SendMessageA(TabControl(), TCM_SETCURSEL, 2, 0);
    ModalDriver driver;
    driver.ExpectMessageBox("確認", IDYES);
    driver.ExpectMessageBox("確認", IDYES);
    driver.Start();
    Command(TabCommandDelete);
    EXPECT_EQ(3, TabNameCount());
    EXPECT_EQ(1, CurrentTab()) << "deleting tab 2 selects tab 1";
    EXPECT_EQ("Music", Name(2));
    EXPECT_EQ(4, EntryCount(2)) << "later tabs' entries move down with their names";
    EXPECT_EQ(0, EntryCount(3));
    EXPECT_FALSE(HasIcons("Tools"));
    EXPECT_TRUE(HasIcons("Music"));

    SendMessageA(TabControl(), TCM_SETCURSEL, 0, 0);
    Command(TabCommandDelete);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(0, CurrentTab()) << "deleting the first tab selects the new first tab";
    EXPECT_EQ("Games", Name(0));
    EXPECT_EQ(2, EntryCount(0));
    EXPECT_FALSE(HasIcons("Work"));
}

TEST_F(TabStripTest, MovesSwapNamesAndEntriesAndKeepTheMovedTabSelected) {
    MakeTabs({"A", "B", "C"});
    SendMessageA(TabControl(), TCM_SETCURSEL, 1, 0);
    Command(TabCommandMoveLeft);
    EXPECT_EQ("B", Name(0));
    EXPECT_EQ("A", Name(1));
    EXPECT_EQ(2, EntryCount(0));
    EXPECT_EQ(1, EntryCount(1));
    EXPECT_EQ(0, CurrentTab());
    Command(TabCommandMoveLeft); // already first
    EXPECT_EQ("B", Name(0));

    Command(TabCommandMoveRight);
    Command(TabCommandMoveRight);
    EXPECT_EQ(2, CurrentTab());
    EXPECT_EQ("A", Name(0));
    EXPECT_EQ("C", Name(1));
    EXPECT_EQ("B", Name(2));
    EXPECT_EQ(2, EntryCount(2));
    Command(TabCommandMoveRight); // already last
    EXPECT_EQ("B", Name(2));
    EXPECT_TRUE(HasIcons("A") && HasIcons("B") && HasIcons("C"));
}

TEST_F(TabStripTest, CommandsWithoutATabDoNothing) {
    for (int id : {TabCommandRename, TabCommandDelete, TabCommandMoveLeft, TabCommandMoveRight}) {
        Command(id); // no dialog or question may appear: nothing would answer it
    }
    EXPECT_EQ(0, TabNameCount());
}

TEST_F(TabStripTest, WheelSwitchesTabsAndResetsTheScroll) {
    MakeTabs({"A", "B"});
    std::unique_ptr<Entry> record(new Entry());
    record->Attribute = kMissingAttributes;
    for (int k = 0; k < 40; ++k)
        AddEntry("", *record, 0, 1);
    SelectTab(1);
    EXPECT_EQ(1, ScrollDownOneRow());

    SendMessageA(TabControl(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(0, CurrentTab());
    SendMessageA(TabControl(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(0, CurrentTab());
    SendMessageA(TabControl(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(1, CurrentTab());
    EXPECT_TRUE(ScrollingEnabled());
    EXPECT_EQ(0, FirstVisibleRow()) << "a wheel notch shows the next tab from its first row";
    SendMessageA(TabControl(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(1, CurrentTab());
}

TEST_F(TabStripTest, FocusGoesBackToTheMainWindow) {
    ShowWindow(MainWindow(), SW_SHOW);
    SetForegroundWindow(MainWindow());
    SetFocus(TabControl());
    EXPECT_EQ(MainWindow(), GetFocus());
}

// Finds the visible pop-up menu of this thread and returns it.
HWND WaitForPopupMenu() {
    for (int tries = 0; tries < 200; ++tries) {
        if (HWND menu = FindOwnWindow("#32768", nullptr)) return menu;
        Sleep(25);
    }
    return nullptr;
}

struct MenuWatch {
    std::vector<std::string> labels;
    bool found = false;
};

DWORD WINAPI ChooseLastMenuItem(void* param) {
    MenuWatch* watch = static_cast<MenuWatch*>(param);
    HWND window = WaitForPopupMenu();
    if (!window) return 1;
    watch->found = true;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[64] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        watch->labels.push_back(text);
    }
    Sleep(50);
    PostMessageA(window, WM_KEYDOWN, VK_UP, 0);
    PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
    return 0;
}

TEST_F(TabStripTest, RightClickSelectsTheTabAndOffersTheFourCommands) {
    MakeTabs({"A", "B", "C"});
    ShowWindow(MainWindow(), SW_SHOW);
    UpdateWindow(MainWindow());
    SetForegroundWindow(MainWindow());
    RECT item;
    ASSERT_TRUE(SendMessageA(TabControl(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item)));
    POINT pointer = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(TabControl(), &pointer);
    SetCursorPos(pointer.x, pointer.y);

    MenuWatch watch;
    HANDLE thread = CreateThread(nullptr, 0, ChooseLastMenuItem, &watch, 0, nullptr);
    SendMessageA(TabControl(), WM_RBUTTONDOWN, MK_RBUTTON,
                 MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2));
    PumpMessages(); // the chosen command is posted to the strip
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    ASSERT_TRUE(watch.found);
    std::vector<std::string> expected = {"名前の変更", "削除", "", "左へ移動", "右へ移動"};
    EXPECT_EQ(expected, watch.labels);
    // Tab B was selected by the click and then moved right.
    EXPECT_EQ("B", Name(2));
    EXPECT_EQ(2, CurrentTab());
}

// Draws item 0 into a white memory bitmap and returns the bounding box of its dark pixels.
RECT DrawnTextBox(UINT state, const RECT& itemRect) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 30);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, TabFont());
    RECT all = {0, 0, 200, 30};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    DRAWITEMSTRUCT draw;
    ZeroMemory(&draw, sizeof draw);
    draw.CtlType = ODT_TAB;
    draw.CtlID = kTabStripId;
    draw.itemID = 0;
    draw.itemState = state;
    draw.hwndItem = TabControl();
    draw.hDC = dc;
    draw.rcItem = itemRect;
    DrawTabItem(&draw);

    RECT box = {1000, 1000, -1, -1};
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 200; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) >= 200) continue;
            if (x < box.left) box.left = x;
            if (y < box.top) box.top = y;
            if (x > box.right) box.right = x;
            if (y > box.bottom) box.bottom = y;
        }
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return box;
}

TEST_F(TabStripTest, OwnerDrawnItemsPlaceTheirText) {
    AppendTab("WWW");
    const RECT item = {20, 4, 120, 28};
    RECT selected = DrawnTextBox(ODS_SELECTED, item);
    RECT plain = DrawnTextBox(0, item);
    ASSERT_LT(selected.right, 200) << "the selected item's text was drawn";
    ASSERT_LT(plain.right, 200);
    // Left edges: item left + 7 for the selected item, + 5 for the others.
    EXPECT_GE(selected.left, 27);
    EXPECT_LE(selected.left, 30);
    EXPECT_GE(plain.left, 25);
    EXPECT_LE(plain.left, 28);
    // Measured from the control's top, not the item's: the text starts above the item.
    SIZE extent;
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, TabFont());
    GetTextExtentPoint32A(screen, "WWW", 3, &extent);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    EXPECT_GE(selected.top, extent.cy / 2 - 3);
    EXPECT_LT(selected.top, item.top + 8);
    // The selected item's bold font makes wider strokes.
    EXPECT_GT(selected.right - selected.left, plain.right - plain.left);
}

// A renamed tab is sized for its new name in the bold font of the selected label: the label
// ends inside its own item instead of running into the next tab's.
TEST_F(TabStripTest, ARenamedSelectedLabelEndsInsideItsItem) {
    AppendTab("Alpha");
    AppendTab("Beta");
    SelectTab(0);
    for (const char* name : {"Gamma", "GammaGamma"}) {
        SetTabName(0, name);
        RECT item;
        SendMessageA(TabControl(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_LT(DrawnTextBox(ODS_SELECTED, item).right, item.right) << name;
    }
}

} // namespace
