#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "res/window_command_ids.h"
#include "storage/settings.h"
#include "support/main_window_fixture.h"
#include "view/grid_view.h"
#include "view/tab_strip.h"

#include <commctrl.h>

#include <memory>

namespace {

class GridViewTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ClearCatalogue();
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work_, 0);
        standardHeight_ = WindowSize().cy;
    }
    void TearDown() override {
        FreeCatalogue();
        MainWindowTest::TearDown();
    }
    // Entries whose file is missing: no icon is captured for them.
    static void AddEntries(int tab, int count) {
        std::unique_ptr<Entry> record(new Entry());
        lstrcpyA(record->FilePath, "C:\\missing\\app.exe");
        record->Attribute = kMissingAttributes;
        for (int i = 0; i < count; ++i)
            AddEntry("Cache\\t", *record, 0, tab);
    }
    static SIZE WindowSize() {
        RECT r;
        GetWindowRect(MainWindow(), &r);
        SIZE size = {r.right - r.left, r.bottom - r.top};
        return size;
    }
    static bool Shown(HWND child) { return (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0; }
    static RECT ToolRect(int id) {
        TOOLINFOA tool;
        ZeroMemory(&tool, sizeof tool);
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = MainWindow();
        tool.uId = id;
        SendMessageA(ToolTip(), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
        return tool.rect;
    }
    static SCROLLINFO ControlScrollInfo() {
        SCROLLINFO info;
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(ScrollBar(), SB_CTL, &info);
        return info;
    }
    RECT work_;
    int standardHeight_ = 0; // the height the window was made with
};

int ExpectedCells(int style, int cell, const RECT& work) {
    int n = (style == StyleTall || style == StyleHalfTall) ? work.bottom / cell : work.right / cell;
    if (style == StyleHalfTall || style == StyleHalfWide) n /= 2;
    return n > 30 ? 30 : n;
}

TEST_F(GridViewTest, EachStyleShapesTheWindowAndItsChildren) {
    struct Case {
        int style, size, cell;
    } cases[] = {{StyleTall, SizeStandard, 65},     {StyleWide, SizeSmall, 55},
                 {StyleHalfTall, SizeSmallest, 40}, {StyleHalfWide, SizeStandard, 65},
                 {StyleTall, SizeSmallest, 40},     {StyleWide, SizeSmallest, 40}};
    SetCursor(3, 2);
    for (const Case& c : cases) {
        SetStyle(c.style);
        ASSERT_TRUE(SelectCellSize(c.size));
        ApplyDisplayStyle(c.style);
        int n = ExpectedCells(c.style, c.cell, work_);
        bool tall = c.style == StyleTall || c.style == StyleHalfTall;
        SIZE size = WindowSize();
        EXPECT_EQ(tall ? c.cell : n * c.cell, size.cx) << "style " << c.style;
        EXPECT_EQ(tall ? n * c.cell : c.cell, size.cy) << "style " << c.style;
        RECT client;
        GetClientRect(MainWindow(), &client);
        EXPECT_EQ(size.cx, client.right) << "a bare window has no frame";
        EXPECT_EQ(size.cy, client.bottom);
        EXPECT_EQ(tall ? 1 : n, ColumnCount());
        EXPECT_EQ(tall ? n : 1, RowCount());
        LONG bits = GetWindowLongA(MainWindow(), GWL_STYLE);
        EXPECT_EQ(0, bits & (WS_CAPTION | WS_SYSMENU));
        EXPECT_EQ(nullptr, GetMenu(MainWindow()));
        EXPECT_FALSE(Shown(StatusBar()));
        EXPECT_FALSE(Shown(TabControl()));
        EXPECT_FALSE(Shown(ScrollBar()));
        EXPECT_FALSE(IsWindowEnabled(TabControl()));
        EXPECT_EQ(3, CursorColumn()) << "the cursor stays where it was";
    }

    SetStyle(StyleStandard);
    ApplyDisplayStyle(StyleStandard);
    SIZE size = WindowSize();
    EXPECT_EQ(414, size.cx);
    EXPECT_GE(size.cy, 420); // taller where the menu bar takes two lines
    EXPECT_EQ(standardHeight_, size.cy);
    LONG bits = GetWindowLongA(MainWindow(), GWL_STYLE);
    EXPECT_EQ(LONG(WS_CAPTION | WS_SYSMENU), bits & (WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(MainMenu(), GetMenu(MainWindow()));
    EXPECT_TRUE(Shown(StatusBar()));
    EXPECT_TRUE(Shown(TabControl()));
    EXPECT_TRUE(Shown(ScrollBar()));
    EXPECT_TRUE(IsWindowEnabled(TabControl()));
    EXPECT_EQ(0, CursorColumn());
    EXPECT_EQ(0, CursorRow());
    GridLayout stored = StoredGridLayout();
    EXPECT_EQ(65, stored.cellWidth);
    EXPECT_EQ(6, stored.columns);
    EXPECT_EQ(5, stored.rows);
}

TEST_F(GridViewTest, StandardStyleShowsFiveWholeRowsAboveTheStatusBar) {
    const int gridBottom = kTabStripHeight + 5 * 65;
    for (const char* when : {"as created", "after a bare style"}) {
        RECT status;
        GetWindowRect(StatusBar(), &status);
        MapWindowPoints(nullptr, MainWindow(), reinterpret_cast<POINT*>(&status), 2);
        EXPECT_EQ(414, WindowSize().cx) << when;
        EXPECT_GE(status.top, gridBottom) << when;
        // The window grows only by what the rows lack.
        EXPECT_TRUE(WindowSize().cy == 420 || status.top == gridBottom) << when;
        SetStyle(StyleTall);
        ApplyDisplayStyle(StyleTall);
        SetStyle(StyleStandard);
        ApplyDisplayStyle(StyleStandard);
    }
}

TEST_F(GridViewTest, PlacingTheWindowReappliesTopMost) {
    SetTopMost(1);
    SetStyle(StyleWide);
    ApplyDisplayStyle(StyleWide);
    EXPECT_TRUE(GetWindowLongA(MainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetTopMost(0);
    SetStyle(StyleStandard);
    ApplyDisplayStyle(StyleStandard);
    EXPECT_FALSE(GetWindowLongA(MainWindow(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(GridViewTest, ToolRectanglesFollowTheStyle) {
    ASSERT_EQ(30, SendMessageA(ToolTip(), TTM_GETTOOLCOUNT, 0, 0));
    RECT r = ToolRect(7); // column 1, row 1, below the tab strip
    EXPECT_EQ(65, r.left);
    EXPECT_EQ(95, r.top);
    EXPECT_EQ(130, r.right);
    EXPECT_EQ(160, r.bottom);

    SetStyle(StyleTall);
    ASSERT_TRUE(SelectCellSize(SizeSmallest));
    ApplyDisplayStyle(StyleTall);
    int n = RowCount();
    ASSERT_LT(n, 30) << "the work area of this display is expected to hold fewer cells";
    r = ToolRect(3);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(120, r.top);
    EXPECT_EQ(40, r.right);
    EXPECT_EQ(160, r.bottom);
    // Tools past the new grid keep their old rectangles.
    r = ToolRect(29);
    EXPECT_EQ(325, r.left);
    EXPECT_EQ(290, r.top);
    EXPECT_EQ(30, SendMessageA(ToolTip(), TTM_GETTOOLCOUNT, 0, 0));

    SetStyle(StyleStandard);
    ApplyDisplayStyle(StyleStandard);
    r = ToolRect(3);
    EXPECT_EQ(195, r.left);
    EXPECT_EQ(30, r.top);
}

TEST_F(GridViewTest, ScrollRangeGrowsWithTheEntriesOfTheCurrentTab) {
    AppendTab("A");
    AppendTab("B");
    AddEntries(0, 30);
    UpdateScrollRange();
    EXPECT_FALSE(IsWindowEnabled(ScrollBar()));
    EXPECT_EQ(0, FirstVisibleRow());

    AddEntries(0, 1);
    UpdateScrollRange();
    EXPECT_TRUE(IsWindowEnabled(ScrollBar()));
    SCROLLINFO info = ControlScrollInfo();
    EXPECT_EQ(0, info.nMin);
    EXPECT_EQ(1, info.nMax);
    EXPECT_EQ(1u, info.nPage);

    AddEntries(0, 5);
    UpdateScrollRange();
    info = ControlScrollInfo();
    EXPECT_EQ(2, info.nMax);
    EXPECT_EQ(1, ScrollDownOneRow());
    EXPECT_EQ(2, ScrollDownOneRow());
    EXPECT_EQ(2, ControlScrollInfo().nPos);
    EXPECT_EQ(2, FirstVisibleRow());

    // Another tab starts at its first row and without scrolling when it fits.
    SelectTab(1);
    EXPECT_EQ(1, CurrentTab());
    EXPECT_FALSE(IsWindowEnabled(ScrollBar()));
    EXPECT_EQ(0, FirstVisibleRow());
    SelectTab(0);
    EXPECT_TRUE(IsWindowEnabled(ScrollBar()));
    EXPECT_EQ(0, FirstVisibleRow());
    EXPECT_EQ(0, ControlScrollInfo().nPos);
}

TEST_F(GridViewTest, SelectEntryIndexKeepsTheViewWithinTheControlsRange) {
    AppendTab("A");
    AddEntries(0, 31);
    SelectEntryIndex(30);
    EXPECT_EQ(1, FirstVisibleRow());
    EXPECT_EQ(30, CursorEntryIndex());
    EXPECT_EQ(1, ControlScrollInfo().nPos);
}

TEST_F(GridViewTest, StyleCommandsKeepAPositionPerStyle) {
    SetMainWindowPos(StyleTall, 500, 10);
    SetWindowPos(MainWindow(), nullptr, 120, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(SelectCellSize(SizeSmall));

    SendMessageA(MainWindow(), WM_COMMAND, IDM_STYLE_TALL, 0);
    EXPECT_EQ(StyleTall, GetStyle());
    EXPECT_TRUE(IsWindowVisible(MainWindow()));
    RECT r;
    GetWindowRect(MainWindow(), &r);
    EXPECT_EQ(500, r.left);
    EXPECT_EQ(10, r.top);
    EXPECT_EQ(55, r.right - r.left) << "the cell size comes from the Size option";
    int32_t x = 0, y = 0;
    GetMainWindowPos(StyleStandard, &x, &y);
    EXPECT_EQ(120, x);
    EXPECT_EQ(140, y);

    // The same style again changes nothing.
    SetWindowPos(MainWindow(), nullptr, 510, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(MainWindow(), WM_COMMAND, IDM_STYLE_TALL, 0);
    GetMainWindowPos(StyleTall, &x, &y);
    EXPECT_EQ(500, x);

    SendMessageA(MainWindow(), WM_COMMAND, IDM_STYLE_STANDARD, 0);
    GetWindowRect(MainWindow(), &r);
    EXPECT_EQ(120, r.left);
    EXPECT_EQ(140, r.top);
    EXPECT_EQ(414, r.right - r.left);
    GetMainWindowPos(StyleTall, &x, &y);
    EXPECT_EQ(510, x);
    EXPECT_EQ(20, y);
}

TEST_F(GridViewTest, SizeCommandsReshapeOnlyTheBareStyles) {
    SendMessageA(MainWindow(), WM_COMMAND, IDM_SIZE_SMALLEST, 0);
    EXPECT_EQ(SizeStandard, GetSize()) << "sizes do nothing in the standard style";
    EXPECT_EQ(414, WindowSize().cx);

    SendMessageA(MainWindow(), WM_COMMAND, IDM_STYLE_WIDE, 0);
    EXPECT_EQ(65, WindowSize().cy);
    SendMessageA(MainWindow(), WM_COMMAND, IDM_SIZE_SMALLEST, 0);
    EXPECT_EQ(SizeSmallest, GetSize());
    EXPECT_EQ(40, WindowSize().cy);
    EXPECT_EQ(ExpectedCells(StyleWide, 40, work_) * 40, WindowSize().cx);
    EXPECT_TRUE(IsWindowVisible(MainWindow()));
    RECT before;
    GetWindowRect(MainWindow(), &before);
    SendMessageA(MainWindow(), WM_COMMAND, IDM_SIZE_SMALL, 0);
    RECT after;
    GetWindowRect(MainWindow(), &after);
    EXPECT_EQ(before.left, after.left) << "the window keeps its position";
    EXPECT_EQ(55, after.bottom - after.top);
}

} // namespace
