#include "base/app_state.h"
#include "catalogue/catalogue.h"
#include "catalogue/sorting.h"
#include "catalogue/tab_names.h"
#include "commands/menus.h"
#include "input/pointer_input.h"
#include "res/command_ids.h"
#include "storage/settings.h"
#include "support/input_state.h"
#include "support/main_window_fixture.h"
#include "support/modal_driver.h"
#include "view/grid.h"
#include "view/grid_view.h"
#include "view/tab_strip.h"
#include "view/window_behaviours.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

class PointerInputTest : public MainWindowTest {
  public:
    void SetUp() override {
        MainWindowTest::SetUp();
        ClearCatalogue();
        for (const char* name : {"A", "B", "C"})
            AppendTab(name);
        AddEntries(0, 40);
        SelectTab(0);
        ShowWindow(window_, SW_SHOW);
        SetForegroundWindow(window_);
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work_, 0);
        PointAway();
    }
    void TearDown() override {
        StopAutoHide();
        FreeCatalogue();
        MainWindowTest::TearDown();
    }
    // Entries whose file is missing: no icon is captured for them. Counts 200, 198, ...
    static void AddEntries(int tab, int count) {
        std::unique_ptr<Entry> record(new Entry());
        record->Attribute = kMissingAttributes;
        for (int i = 0; i < count; ++i) {
            wsprintfA(record->FilePath, "C:\\missing\\app%02d.exe", i);
            record->Count = 200 - 2 * i;
            AddEntry("Cache\\t", *record, 0, tab);
        }
    }
    // The pointer where neither the grid nor the tab strip is.
    void PointAway() { PlacePointer(work_.right - 1, work_.bottom - 1); }
    void Key(int key, std::vector<int> held = {}) {
        HeldKeys keys(held);
        SendMessageA(window_, WM_KEYDOWN, key, 0);
        SendMessageA(window_, WM_KEYUP, key, 0);
        posted_ = PostedCommands();
        PumpMessages();
    }
    void Wheel(int delta, std::vector<int> held = {}) {
        HeldKeys keys(held);
        SendMessageA(window_, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
        PumpMessages();
    }
    // The WM_COMMAND ids posted to the window and not yet handled.
    std::vector<WPARAM> PostedCommands() {
        std::vector<WPARAM> ids;
        MSG msg;
        while (PeekMessageA(&msg, window_, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            ids.push_back(msg.wParam);
        return ids;
    }
    static RECT WindowRect() {
        RECT r;
        GetWindowRect(MainWindow(), &r);
        return r;
    }
    RECT work_;
    std::vector<WPARAM> posted_; // commands the last key posted
};

// The cells (column, row) whose right-click menu was shown.
std::vector<std::pair<int, int>> g_menusShown;
BOOL CountMenu(HMENU, HWND) {
    g_menusShown.push_back({CursorColumn(), CursorRow()});
    return FALSE;
}

struct KeyRow {
    const char* name;
    std::function<void(PointerInputTest*)> arrange;
    int key;
    std::vector<int> held;
    std::function<void(PointerInputTest*)> check;
};

TEST_F(PointerInputTest, EveryKeyOfTheKeyTable) {
    auto onTab = [](int t) { return [t](PointerInputTest*) { SelectTab(t); }; };
    auto cursorAt = [](int column, int row) {
        return [column, row](PointerInputTest*) { SetCursor(column, row); };
    };
    auto nothing = [](PointerInputTest*) {};
    auto tabIs = [](int t) { return [t](PointerInputTest*) { EXPECT_EQ(t, CurrentTab()); }; };
    auto cursorIs = [](int column, int row) {
        return [column, row](PointerInputTest*) {
            EXPECT_EQ(column, CursorColumn());
            EXPECT_EQ(row, CursorRow());
        };
    };
    auto posts = [](std::vector<WPARAM> ids) {
        return [ids](PointerInputTest* test) { EXPECT_EQ(ids, test->posted_); };
    };
    auto menus = [](std::vector<std::pair<int, int>> cells) {
        return [cells](PointerInputTest*) { EXPECT_EQ(cells, g_menusShown); };
    };
    const RECT work = work_;
    const KeyRow rows[] = {
        {"Backspace: previous tab", onTab(1), VK_BACK, {}, tabIs(0)},
        {"Backspace on the first tab", onTab(0), VK_BACK, {}, tabIs(0)},
        {"B: previous tab", onTab(2), 'B', {}, tabIs(1)},
        {"N: next tab", onTab(0), 'N', {}, tabIs(1)},
        {"N on the last tab", onTab(2), 'N', {}, tabIs(2)},
        {"Page Down: one row",
         nothing,
         VK_NEXT,
         {},
         [](PointerInputTest*) { EXPECT_EQ(1, FirstVisibleRow()); }},
        {"Page Up: one row",
         [](PointerInputTest*) { SetScrollRow(2); },
         VK_PRIOR,
         {},
         [](PointerInputTest*) { EXPECT_EQ(1, FirstVisibleRow()); }},
        {"Left", cursorAt(2, 1), VK_LEFT, {}, cursorIs(1, 1)},
        {"Left at the edge", cursorAt(0, 1), VK_LEFT, {}, cursorIs(0, 1)},
        {"Right", cursorAt(2, 1), VK_RIGHT, {}, cursorIs(3, 1)},
        {"Up", cursorAt(2, 1), VK_UP, {}, cursorIs(2, 0)},
        {"Down", cursorAt(2, 1), VK_DOWN, {}, cursorIs(2, 2)},
        {"Down on the bottom row scrolls",
         cursorAt(2, 4),
         VK_DOWN,
         {},
         [](PointerInputTest*) {
             EXPECT_EQ(4, CursorRow());
             EXPECT_EQ(1, FirstVisibleRow());
         }},
        {"Shift+Up in the standard style",
         cursorAt(2, 1),
         VK_UP,
         {VK_SHIFT},
         [](PointerInputTest*) {
             EXPECT_EQ(1, CursorRow());
             EXPECT_EQ(0, GetSize());
         }},
        {"Shift+Down in the tall style: smaller cells",
         [](PointerInputTest*) { SendMessageA(MainWindow(), WM_COMMAND, 17, 0); },
         VK_DOWN,
         {VK_SHIFT},
         [](PointerInputTest*) { EXPECT_EQ(55, CellHeight()); }},
        {"Shift+Up in the tall style at size 0",
         [](PointerInputTest*) { SendMessageA(MainWindow(), WM_COMMAND, 17, 0); },
         VK_UP,
         {VK_SHIFT},
         [](PointerInputTest*) { EXPECT_EQ(0, GetSize()); }},
        {"Delete posts command 4", cursorAt(1, 0), VK_DELETE, {}, posts({4})},
        {"Delete on an empty cell still posts",
         [](PointerInputTest*) { SelectTab(1); },
         VK_DELETE,
         {},
         posts({4})},
        {"Delete without a cursor", cursorAt(-1, -1), VK_DELETE, {}, posts({})},
        {"Shift+D posts command 4", cursorAt(1, 0), 'D', {VK_SHIFT}, posts({4})},
        {"D alone", cursorAt(1, 0), 'D', {}, posts({})},
        {"Context-menu key: the cursor cell's menu", cursorAt(3, 2), VK_APPS, {}, menus({{3, 2}})},
        {"Context-menu key on no cell", cursorAt(-1, -1), VK_APPS, {}, menus({})},
        {"Shift+A turns auto-hide on",
         nothing,
         'A',
         {VK_SHIFT},
         [](PointerInputTest*) { EXPECT_EQ(1, GetAutoHide()); }},
        {"A alone", nothing, 'A', {}, [](PointerInputTest*) { EXPECT_EQ(0, GetAutoHide()); }},
        {"Shift+M",
         nothing,
         'M',
         {VK_SHIFT},
         [](PointerInputTest*) { EXPECT_EQ(1, GetMoveLock()); }},
        {"Shift+T changes only the option",
         nothing,
         'T',
         {VK_SHIFT},
         [](PointerInputTest*) {
             EXPECT_EQ(1, GetTopMost());
             EXPECT_EQ(0, GetWindowLongA(MainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
         }},
        {"Shift+W centres across",
         nothing,
         'W',
         {VK_SHIFT},
         [work](PointerInputTest*) {
             RECT client;
             GetClientRect(MainWindow(), &client);
             EXPECT_EQ(work.right / 2 - client.right / 2, WindowRect().left);
         }},
        {"Shift+Q centres down",
         nothing,
         'Q',
         {VK_SHIFT},
         [work](PointerInputTest*) {
             RECT client;
             GetClientRect(MainWindow(), &client);
             EXPECT_EQ(work.bottom / 2 - client.bottom / 2, WindowRect().top);
         }},
        {"Shift+S: next style at its place",
         [](PointerInputTest*) { SetMainWindowPos(StyleTall, 200, 20); },
         'S',
         {VK_SHIFT},
         [](PointerInputTest*) {
             EXPECT_EQ(StyleTall, GetStyle());
             EXPECT_EQ(200, WindowRect().left);
             EXPECT_EQ(20, WindowRect().top);
         }},
        {"Shift+S from the last style returns to the first",
         [](PointerInputTest*) {
             SendMessageA(MainWindow(), WM_COMMAND, 20, 0);
             SetMainWindowPos(StyleStandard, 40, 50);
         },
         'S',
         {VK_SHIFT},
         [](PointerInputTest*) {
             EXPECT_EQ(StyleStandard, GetStyle());
             EXPECT_EQ(40, WindowRect().left);
         }},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.name);
        SendMessageA(window_, WM_COMMAND, 16, 0); // the standard style
        ApplyDefaultSettings();
        SelectTab(0);
        ResetCursor();
        PostedCommands();
        g_menusShown.clear();
        SetGridMenuTracker(CountMenu);
        row.arrange(this);
        Key(row.key, row.held);
        row.check(this);
        StopAutoHide();
    }
}

TEST_F(PointerInputTest, EnterLaunchesOnceWhileHeldAndNotAfterAnotherKey) {
    CatchingLaunches catching;
    SetCursor(0, 0);
    SendMessageA(window_, WM_KEYDOWN, VK_RETURN, 0);
    SendMessageA(window_, WM_KEYDOWN, VK_RETURN, 0x40000000); // auto-repeat
    SendMessageA(window_, WM_KEYUP, VK_RETURN, 0);
    PumpMessages();
    ASSERT_EQ(1u, CaughtLaunches().size());
    EXPECT_EQ(201, FindEntry(0, 0)->Count);

    // Shift+Enter: the Shift press, still held, set the latch.
    {
        HeldKeys shift({VK_SHIFT});
        SendMessageA(window_, WM_KEYDOWN, VK_SHIFT, 0);
        SendMessageA(window_, WM_KEYDOWN, VK_RETURN, 0);
        SendMessageA(window_, WM_KEYUP, VK_RETURN, 0);
        SendMessageA(window_, WM_KEYUP, VK_SHIFT, 0);
    }
    PumpMessages();
    EXPECT_EQ(1u, CaughtLaunches().size());
    EXPECT_FALSE(KeyDownLatch());
}

// A dialog or box opened from the keyboard takes the key's release; closed with the mouse,
// it leaves nothing behind that swallows the next Enter.
TEST_F(PointerInputTest, EnterAfterADialogOpenedFromTheKeyboardLaunches) {
    CatchingLaunches catching;
    SetDeleteCheck(1);
    const struct {
        int key;
        const char* title;
        int button; // 0: the close box
    } rows[] = {{'H', "検索", 0}, {'R', "再構築", 0}, {VK_DELETE, "確認", IDNO}};
    for (const auto& row : rows) {
        CaughtLaunches().clear();
        SetCursor(0, 0);
        ModalDriver driver;
        if (row.button)
            driver.ExpectMessageBox(row.title, row.button);
        else
            driver.Expect(row.title, [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); });
        driver.Start();
        SendMessageA(window_, WM_KEYDOWN, row.key, 0);
        PumpMessages(); // Delete's question comes with its posted command
        ASSERT_TRUE(driver.Finish()) << row.title;
        Key(VK_RETURN);
        EXPECT_EQ(1u, CaughtLaunches().size()) << row.title;
    }
}

// A point beside the grid, or a cursor a style change left outside it, is no cell: nothing is
// launched or deleted, whatever entry its arithmetic would name.
TEST_F(PointerInputTest, APointOrACursorOutsideTheGridActsOnNoEntry) {
    CatchingLaunches catching;
    AddEntries(1, 12);
    SetDeleteCheck(0); // a wrong entry would go at once
    // Beside row 0 of tab B lies its greyed scroll bar; cell (3, 2) has an entry on tab A.
    const LPARAM beside = MAKELPARAM(398, 62), cell = MAKELPARAM(200, 165);
    const struct {
        int tab;
        LPARAM point;
        UINT press, then, command, key;
    } rows[] = {{1, beside, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, 0, 0},
                {1, beside, WM_LBUTTONDOWN, 0, 4, VK_DELETE},
                {1, beside, WM_RBUTTONDOWN, 0, 2, 0},         // "parent folder" from the menu
                {0, cell, WM_LBUTTONDOWN, 0, 17, VK_RETURN}}; // the tall style keeps column 3
    for (const auto& row : rows) {
        SendMessageA(window_, WM_COMMAND, 16, 0); // the standard style
        SelectTab(row.tab);
        for (UINT message : {row.press, UINT(WM_LBUTTONUP), row.then})
            SendMessageA(window_, message, 0, row.point);
        if (row.command) SendMessageA(window_, WM_COMMAND, row.command, 0);
        if (row.key) Key(row.key);
        EXPECT_TRUE(CaughtLaunches().empty()) << row.command;
        EXPECT_EQ(52, EntryCount(0) + EntryCount(1)) << row.command;
    }
}

TEST_F(PointerInputTest, WheelScrollsSwitchesTabsOrResizes) {
    Wheel(-120);
    EXPECT_EQ(1, FirstVisibleRow());
    Wheel(-240); // one step per message
    EXPECT_EQ(2, FirstVisibleRow());
    Wheel(-120); // at the maximum
    EXPECT_EQ(2, FirstVisibleRow());
    Wheel(240);
    EXPECT_EQ(1, FirstVisibleRow());

    Wheel(-120, {VK_SHIFT}); // resizing does nothing in the standard style
    EXPECT_EQ(1, FirstVisibleRow());
    EXPECT_EQ(0, GetSize());

    // Over the tab strip the wheel goes to it; downward is the next tab.
    RECT strip;
    GetWindowRect(TabControl(), &strip);
    PlacePointer((strip.left + strip.right) / 2, (strip.top + strip.bottom) / 2);
    Wheel(-120);
    EXPECT_EQ(1, CurrentTab());
    PointAway();

    // With the left button down it switches tabs in any style, strip or not.
    SendMessageA(window_, WM_COMMAND, 18, 0); // wide
    Wheel(-120, {VK_LBUTTON});
    EXPECT_EQ(2, CurrentTab());
    Wheel(120, {VK_LBUTTON});
    EXPECT_EQ(1, CurrentTab());

    Wheel(-120, {VK_SHIFT});
    EXPECT_EQ(1, GetSize());
    Wheel(120, {VK_SHIFT});
    EXPECT_EQ(0, GetSize());
    Wheel(120, {VK_SHIFT}); // no size -1
    EXPECT_EQ(0, GetSize());
}

TEST_F(PointerInputTest, ScrollBarCodesNeverLeaveTheRange) {
    const struct {
        int code, thumb, from, to;
    } rows[] = {
        {SB_LINEDOWN, 0, 0, 1},   {SB_LINEUP, 0, 1, 0},        {SB_LINEUP, 0, 0, 0},
        {SB_PAGEDOWN, 0, 2, 2},   {SB_PAGEUP, 0, 0, 0},        {SB_PAGEDOWN, 0, 0, 1},
        {SB_THUMBTRACK, 2, 0, 2}, {SB_THUMBPOSITION, 9, 0, 2}, {SB_TOP, 0, 2, 0},
        {SB_BOTTOM, 0, 0, 2},     {SB_ENDSCROLL, 0, 1, 1},
    };
    for (const auto& row : rows) {
        SetScrollRow(row.from);
        SendMessageA(window_, WM_VSCROLL, MAKEWPARAM(row.code, row.thumb), 0);
        EXPECT_EQ(row.to, FirstVisibleRow()) << "code " << row.code << " from " << row.from;
        EXPECT_EQ(row.to, GetScrollPos(ScrollBar(), SB_CTL));
    }
    // Without scrolling nothing moves.
    SelectTab(1);
    SendMessageA(window_, WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(0, CurrentScrollState().position);
}

TEST_F(PointerInputTest, ButtonsSetTheCursorAndDragUnlessLocked) {
    int x = 2 * CellWidth() + 5, y = GridTop() + CellHeight() + 5;
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    EXPECT_EQ(2, CursorColumn());
    EXPECT_EQ(1, CursorRow());
    EXPECT_TRUE(WindowDragActive());
    EXPECT_EQ(window_, GetCapture());
    SendMessageA(window_, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    EXPECT_FALSE(WindowDragActive());
    EXPECT_EQ(nullptr, GetCapture());

    SetMoveLock(1);
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, GridTop() + 5));
    EXPECT_EQ(0, CursorColumn());
    EXPECT_FALSE(WindowDragActive());

    // A move with the button up ends a drag and is remembered for the tooltip.
    SetMoveLock(0);
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, GridTop() + 5));
    SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(123, 77));
    EXPECT_FALSE(WindowDragActive());
    EXPECT_EQ(123, LastPointerPos().x);
    EXPECT_EQ(77, LastPointerPos().y);
    SendMessageA(window_, WM_LBUTTONUP, 0, 0);

    SendMessageA(window_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4 * CellWidth() + 1, y));
    EXPECT_EQ(4, CursorColumn());
}

TEST_F(PointerInputTest, SortCommandsMarkOneItemAndSortTheCurrentTab) {
    const struct {
        UINT id;
        int sort;
        int first; // the entry number now first
    } rows[] = {
        {IDM_SORT_NAME, 1, 0},
        {IDM_SORT_COUNT, 2, 0},
        {IDM_SORT_NONE, 0, 0},
        {IDM_SORT_COUNT_NAME, 3, 5},
    };
    for (const auto& row : rows) {
        if (row.id == IDM_SORT_COUNT_NAME) FindEntry(0, 5)->Count = 500;
        SendMessageA(window_, WM_COMMAND, row.id, 0);
        EXPECT_EQ(row.sort, GetSort());
        char name[32];
        wsprintfA(name, "app%02d.exe", row.first);
        EXPECT_STREQ(name, FindEntry(0, 0)->FileName) << row.id;
        for (HMENU menu : {MainMenu(), TrayMenu()}) {
            for (UINT id = IDM_SORT_NAME; id <= IDM_SORT_NONE; ++id) {
                EXPECT_EQ(id == row.id, (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0)
                    << row.id << " item " << id;
            }
        }
    }
    // The other tabs keep their order.
    EXPECT_EQ(0, EntryCount(1));
}

// After a counted launch re-sorts the tab, the view shows the launched entry at its new place
// with the scroll bar in range: no jump back to row 0, no scrolling past the maximum.
TEST_F(PointerInputTest, LaunchWithCountSortKeepsTheLaunchedEntryInViewAndInRange) {
    CatchingLaunches catching;
    SetSort(SortByCount);
    const struct {
        int from, to, row; // entry index before and after, scroll row before
    } rows[] = {{20, 19, 2}, {39, 38, 2}};
    for (const auto& row : rows) {
        // Ties with the entry before it until the launch adds one.
        FindEntry(0, row.from)->Count = FindEntry(0, row.from - 1)->Count;
        SetScrollRow(row.row);
        SelectEntryIndex(row.from);
        SendMessageA(window_, WM_LBUTTONDBLCLK, 0, 0);
        EXPECT_EQ(row.to, CursorEntryIndex());
        EXPECT_EQ(row.row, FirstVisibleRow());
        EXPECT_EQ(row.row, GetScrollPos(ScrollBar(), SB_CTL));
        EXPECT_LE(FirstVisibleRow(), CurrentScrollState().maximum);
    }
    EXPECT_EQ(2u, CaughtLaunches().size());
}

} // namespace
