#include "storage/settings.h"
#include "view/grid.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A scroll bar that records what it is handed.
struct FakeScrollBar {
    bool enabled = false;
    int entries = 0;
    std::vector<ScrollState> applied;
    std::vector<bool> redrawn;
};
FakeScrollBar g_bar;

bool FakeEnabled() {
    return g_bar.enabled;
}
void FakeSetEnabled(bool enabled) {
    g_bar.enabled = enabled;
}
void FakeApply(const ScrollState& state, bool redraw) {
    g_bar.applied.push_back(state);
    g_bar.redrawn.push_back(redraw);
}
int FakeEntries() {
    return g_bar.entries;
}

class GridTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetSettings();
        g_bar = FakeScrollBar();
        SetScrollBarLink(ScrollBarLink{FakeEnabled, FakeSetEnabled, FakeApply, FakeEntries});
        SetGridLayout(GridLayout{65, 65, 6, 5});
        SetCursor(-1, -1);
        ResetScroll();
    }
    // A bare style laid out as ApplyDisplayStyle does on a work area of the given corner.
    static void UseBareStyle(int style, int size, int workRight, int workBottom) {
        SetStyle(style);
        ASSERT_TRUE(SelectCellSize(size));
        GridLayout layout = StoredGridLayout();
        int n = StripCellCount(style, layout.cellWidth, layout.cellHeight, workRight, workBottom);
        bool tall = style == StyleTall || style == StyleHalfTall;
        layout.columns = tall ? 1 : n;
        layout.rows = tall ? n : 1;
        SetGridLayout(layout);
    }
};

TEST_F(GridTest, BareStylesLineUpCellsAlongTheWorkAreaCorner) {
    struct Case {
        int style, cell, right, bottom, expected;
    } cases[] = {
        {StyleTall, 65, 1280, 1000, 15},
        {StyleHalfTall, 65, 1280, 1000, 7},
        {StyleTall, 40, 1280, 1000, 25},
        {StyleHalfTall, 40, 1280, 1000, 12},
        {StyleWide, 40, 2560, 1000, 30},     // 64, capped
        {StyleHalfWide, 40, 2560, 1000, 30}, // 32, capped
        {StyleWide, 65, 1280, 100, 19},
        {StyleHalfWide, 55, 1280, 100, 11},
        // The corner's coordinates count, not the work area's width or height.
        {StyleTall, 65, 10, 1000, 15},
        {StyleWide, 65, 1000, 10, 15},
        // Too small for a cell (or two in the half styles): one cell stays.
        {StyleTall, 65, 1280, 64, 1},
        {StyleHalfTall, 65, 1280, 129, 1},
        {StyleHalfWide, 40, 79, 1000, 1},
        {StyleWide, 40, -500, 1000, 1},
        {StyleHalfTall, 65, 1280, 130, 1},
        {StyleHalfTall, 65, 1280, 260, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, StripCellCount(c.style, c.cell, c.cell, c.right, c.bottom))
            << "style " << c.style << " cell " << c.cell << " at " << c.right << "," << c.bottom;
    }
}

TEST_F(GridTest, SizeTableHasExactlyThreeRowsAndRefusesOthers) {
    EXPECT_EQ(65, CellSizeOf(SizeStandard));
    EXPECT_EQ(55, CellSizeOf(SizeSmall));
    EXPECT_EQ(40, CellSizeOf(SizeSmallest));
    for (int size : {-1, 3, 65, 1 << 30})
        EXPECT_EQ(0, CellSizeOf(size)) << size;

    ASSERT_TRUE(SelectCellSize(SizeSmallest));
    EXPECT_EQ(SizeSmallest, GetSize());
    EXPECT_EQ(40, StoredGridLayout().cellWidth);
    EXPECT_FALSE(SelectCellSize(3));
    EXPECT_EQ(SizeSmallest, GetSize());
    EXPECT_EQ(40, StoredGridLayout().cellHeight);

    // The standard style keeps its fixed grid whatever is stored.
    SetGridLayout(GridLayout{40, 40, 1, 25});
    EXPECT_EQ(65, CellWidth());
    EXPECT_EQ(65, CellHeight());
    EXPECT_EQ(6, ColumnCount());
    EXPECT_EQ(5, RowCount());
    EXPECT_EQ(30, GridCapacity());
    EXPECT_EQ(30, GridTop());
    SetStyle(StyleTall);
    EXPECT_EQ(40, CellWidth());
    EXPECT_EQ(25, GridCapacity());
    EXPECT_EQ(0, GridTop());
}

TEST_F(GridTest, PointsMapToCellsWithTruncatingDivision) {
    struct Case {
        int x, y, column, row;
    } standard[] = {
        {0, 94, 0, 0},
        {0, 95, 0, 1},
        {64, 30, 0, 0},
        {65, 30, 1, 0},
        {389, 354, 5, 4},
        {390, 355, 6, 5},
        {10, 10, 0, 0}, // above the grid: (10 - 30) / 65
                        // truncates to 0
        {-64, -40, 0, -1},
        {-65, -36, -1, -1},
    };
    for (const Case& c : standard) {
        GridCell cell = CellFromPoint(c.x, c.y);
        EXPECT_EQ(c.column, cell.column) << c.x << "," << c.y;
        EXPECT_EQ(c.row, cell.row) << c.x << "," << c.y;
    }
    UseBareStyle(StyleTall, SizeSmallest, 1280, 1000);
    GridCell cell = CellFromPoint(39, 40);
    EXPECT_EQ(0, cell.column);
    EXPECT_EQ(1, cell.row); // no tab strip above the grid

    SetCursorFromPoint(30, 95);
    EXPECT_EQ(0, CursorColumn());
    EXPECT_EQ(2, CursorRow());
    // Beside the one-column grid there is no cell: no cursor, no entry.
    SetCursorFromPoint(50, 95);
    EXPECT_EQ(-1, CursorColumn());
    EXPECT_EQ(-1, EntryIndexAtPoint(50, 95));
    EXPECT_EQ(2, EntryIndexAtPoint(30, 95));
    GridRect r = CellRectangle(0, 2);
    EXPECT_EQ(80, r.top);
    EXPECT_EQ(120, r.bottom);
    EXPECT_EQ(40, r.right);
}

TEST_F(GridTest, ScrollRangeFollowsTheEntryCount) {
    struct Case {
        int entries;
        bool enabled;
        int maximum;
    } cases[] = {{0, false, 0}, {30, false, 0}, {31, true, 1}, {35, true, 1},
                 {36, true, 2}, {37, true, 2},  {42, true, 3}};
    for (const Case& c : cases) {
        g_bar.entries = c.entries;
        UpdateScrollRange();
        EXPECT_EQ(c.enabled, ScrollingEnabled()) << c.entries;
        EXPECT_EQ(c.maximum, CurrentScrollState().maximum) << c.entries;
        EXPECT_EQ(c.enabled ? 1u : 0u, CurrentScrollState().page) << c.entries;
        EXPECT_EQ(c.enabled, g_bar.redrawn.back()) << c.entries;
        // The range goes over once; later updates carry the position only.
        EXPECT_EQ(uint32_t(kScrollRange | kScrollPage), g_bar.applied.back().mask);
        EXPECT_EQ(uint32_t(c.enabled ? kScrollPos : kScrollRange | kScrollPage),
                  CurrentScrollState().mask);
    }
    EXPECT_EQ(28u, CurrentScrollState().size);
}

TEST_F(GridTest, ScrollPositionStaysAboveANewMaximumUntilScrollingStops) {
    g_bar.entries = 36;
    UpdateScrollRange();
    EXPECT_EQ(1, ScrollDownOneRow());
    EXPECT_EQ(2, ScrollDownOneRow());
    EXPECT_EQ(-1, ScrollDownOneRow());
    EXPECT_EQ(2, FirstVisibleRow());
    // The last position shows four filled rows: entries 12..35 from visible index 0.
    EXPECT_EQ(35, EntryIndexAt(5, 3));

    g_bar.entries = 31;
    UpdateScrollRange();
    EXPECT_EQ(2, FirstVisibleRow());
    EXPECT_EQ(-1, ScrollDownOneRow());
    EXPECT_EQ(1, ScrollUpOneRow());
    EXPECT_EQ(0, ScrollUpOneRow());
    EXPECT_EQ(-1, ScrollUpOneRow());

    SetScrollRow(4);
    EXPECT_EQ(4, FirstVisibleRow());
    g_bar.entries = 5;
    UpdateScrollRange();
    EXPECT_FALSE(ScrollingEnabled());
    EXPECT_EQ(0, FirstVisibleRow());
    SetScrollRow(3); // ignored while scrolling is off
    EXPECT_EQ(0, CurrentScrollState().position);

    // ResetScroll empties the record but leaves the enabled state alone.
    g_bar.entries = 40;
    UpdateScrollRange();
    SetScrollRow(1);
    ResetScroll();
    EXPECT_TRUE(ScrollingEnabled());
    EXPECT_EQ(0, FirstVisibleRow());
    EXPECT_EQ(0, CurrentScrollState().maximum);
    EXPECT_FALSE(g_bar.redrawn.back());
}

TEST_F(GridTest, SelectEntryIndexScrollsOnlyAsFarAsNeededWithinTheRange) {
    g_bar.entries = 31;
    SelectEntryIndex(30);
    // Row 5 comes into view as the bottom row, at the maximum of 1.
    EXPECT_EQ(1, CurrentScrollState().maximum);
    EXPECT_EQ(1, FirstVisibleRow());
    EXPECT_EQ(0, CursorColumn());
    EXPECT_EQ(4, CursorRow());
    EXPECT_EQ(30, CursorEntryIndex());

    // An entry already in view leaves the view where it is.
    SelectEntryIndex(13);
    EXPECT_EQ(1, FirstVisibleRow());
    EXPECT_EQ(1, CursorColumn());
    EXPECT_EQ(1, CursorRow());
    EXPECT_EQ(13, CursorEntryIndex());
    SelectEntryIndex(2);
    EXPECT_EQ(0, FirstVisibleRow());
    EXPECT_EQ(0, CursorRow());

    UseBareStyle(StyleWide, SizeStandard, 1300, 1000); // 20 columns, 1 row
    g_bar.entries = 45;
    SelectEntryIndex(44);
    EXPECT_EQ(2, CurrentScrollState().maximum);
    EXPECT_EQ(2, FirstVisibleRow());
    EXPECT_EQ(4, CursorColumn());
    EXPECT_EQ(44, CursorEntryIndex());
}

TEST_F(GridTest, ScrollRequestsStayInsideTheRange) {
    ScrollState s = {28, kScrollPos, 0, 3, 1, 2, 0};
    const struct {
        int request, thumb, position;
    } rows[] = {
        {ScrollLineUp, 0, 1},          {ScrollLineDown, 0, 3},      {ScrollPageUp, 0, 1},
        {ScrollPageDown, 0, 3},        {ScrollThumbPosition, 1, 1}, {ScrollThumbTrack, 9, 3},
        {ScrollThumbPosition, -4, 0},  {ScrollTop, 0, 0},           {ScrollBottom, 0, 3},
        {8 /* end of scroll */, 0, 2},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.position, ScrollRequestPosition(s, row.request, row.thumb)) << row.request;
    // At either end a page goes no further; with scrolling off nothing moves.
    s.position = 0;
    EXPECT_EQ(0, ScrollRequestPosition(s, ScrollPageUp, 0));
    s.position = 3;
    EXPECT_EQ(3, ScrollRequestPosition(s, ScrollPageDown, 0));
    ScrollState off = {28, kScrollRange | kScrollPage, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, ScrollRequestPosition(off, ScrollPageDown, 0));
}

TEST_F(GridTest, CursorMovesStopAtTheEdgesAndScrollAtTopAndBottom) {
    // Without a cursor nothing moves.
    EXPECT_FALSE(MoveCursorLeft());
    EXPECT_FALSE(MoveCursorRight());
    EXPECT_FALSE(MoveCursorUp());
    EXPECT_FALSE(MoveCursorDown());
    EXPECT_LT(CursorEntryIndex(), 0);

    ResetCursor();
    EXPECT_FALSE(MoveCursorLeft());
    EXPECT_FALSE(MoveCursorUp()); // top row, nothing to scroll
    EXPECT_TRUE(MoveCursorRight());
    EXPECT_EQ(1, CursorColumn());

    SetCursor(5, 4);
    EXPECT_FALSE(MoveCursorRight()); // no wrap to the next row
    EXPECT_FALSE(MoveCursorDown());  // bottom row, scrolling off
    EXPECT_TRUE(MoveCursorLeft());
    EXPECT_EQ(4, CursorColumn());

    g_bar.entries = 36;
    UpdateScrollRange();
    SetCursor(2, 4);
    EXPECT_TRUE(MoveCursorDown()); // scrolls instead of moving
    EXPECT_EQ(4, CursorRow());
    EXPECT_EQ(1, FirstVisibleRow());
    EXPECT_TRUE(MoveCursorDown());
    EXPECT_FALSE(MoveCursorDown()); // at the maximum
    EXPECT_EQ(2, FirstVisibleRow());
    EXPECT_TRUE(MoveCursorUp());
    EXPECT_EQ(3, CursorRow());
    SetCursor(2, 0);
    EXPECT_TRUE(MoveCursorUp());
    EXPECT_EQ(1, FirstVisibleRow());
    EXPECT_EQ(0, CursorRow());

    // A cursor left in column 3 by the standard grid stays outside a one-column grid.
    SetCursor(3, 0);
    UseBareStyle(StyleTall, SizeStandard, 1280, 1000);
    EXPECT_FALSE(MoveCursorLeft());
    EXPECT_FALSE(MoveCursorRight());
    EXPECT_EQ(3, CursorColumn());
}

} // namespace
