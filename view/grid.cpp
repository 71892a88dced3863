#include "view/grid.h"

#include "storage/settings.h"

namespace {

GridLayout g_layout = {kStandardCell, kStandardCell, kStandardColumns, kStandardRows};
GridCursor g_cursor = {-1, -1};
ScrollState g_scroll = {28, kScrollRange | kScrollPage, 0, 0, 0, 0, 0};

// Stands in for the scroll bar control until the Windows layer links the real one.
bool g_flagEnabled;
bool FlagIsEnabled() {
    return g_flagEnabled;
}
void SetFlagEnabled(bool enabled) {
    g_flagEnabled = enabled;
}
void ApplyNowhere(const ScrollState&, bool) {}
int NoEntries() {
    return 0;
}

ScrollBarLink g_link = {FlagIsEnabled, SetFlagEnabled, ApplyNowhere, NoEntries};

struct CellSizeRow {
    int size;
    int pixels;
};
const CellSizeRow kCellSizes[] = {
    {SizeStandard, 65},
    {SizeSmall, 55},
    {SizeSmallest, 40},
};

// The standard style always shows the fixed 6 x 5 grid of 65-pixel cells.
bool IsStandardStyle() {
    return GetStyle() == StyleStandard;
}

} // namespace

void SetScrollBarLink(const ScrollBarLink& link) {
    g_link = link;
}
const ScrollBarLink& GetScrollBarLink() {
    return g_link;
}

int ColumnCount() {
    return IsStandardStyle() ? kStandardColumns : g_layout.columns;
}
int RowCount() {
    return IsStandardStyle() ? kStandardRows : g_layout.rows;
}
int CellWidth() {
    return IsStandardStyle() ? kStandardCell : g_layout.cellWidth;
}
int CellHeight() {
    return IsStandardStyle() ? kStandardCell : g_layout.cellHeight;
}
int GridCapacity() {
    return IsStandardStyle() ? kStandardCapacity : g_layout.columns * g_layout.rows;
}
int GridTop() {
    return IsStandardStyle() ? kTabStripHeight : 0;
}

GridLayout StoredGridLayout() {
    return g_layout;
}
void SetGridLayout(const GridLayout& layout) {
    g_layout = layout;
}

int CellSizeOf(int size) {
    for (const CellSizeRow& row : kCellSizes) {
        if (row.size == size) return row.pixels;
    }
    return 0;
}

bool SelectCellSize(int size) {
    int pixels = CellSizeOf(size);
    if (pixels == 0) return false;
    SetSize(size);
    g_layout.cellWidth = pixels;
    g_layout.cellHeight = pixels;
    return true;
}

int StripCellCount(int style, int cellWidth, int cellHeight, int workRight, int workBottom) {
    int n = 0;
    if (style == StyleTall || style == StyleHalfTall) {
        n = cellHeight > 0 ? workBottom / cellHeight : 0;
    } else if (style == StyleWide || style == StyleHalfWide) {
        n = cellWidth > 0 ? workRight / cellWidth : 0;
    }
    if (n < 0) n = 0;
    if (style == StyleHalfTall || style == StyleHalfWide) n >>= 1;
    if (n > kMaxStripCells) n = kMaxStripCells;
    // A grid without cells could show nothing and take no click: keep one cell.
    if (n < 1) n = 1;
    return n;
}

GridCell CellFromPoint(int x, int y) {
    // Signed division truncating toward zero, without a range check: points above the grid
    // or left of it give row or column 0 or negative numbers.
    GridCell cell;
    cell.column = x / CellWidth();
    cell.row = (y - GridTop()) / CellHeight();
    return cell;
}

GridRect CellRectangle(int column, int row) {
    GridRect r;
    r.left = column * CellWidth();
    r.right = r.left + CellWidth();
    r.top = row * CellHeight() + GridTop();
    r.bottom = r.top + CellHeight();
    return r;
}

int VisibleIndex(int column, int row) {
    return column + row * ColumnCount();
}
int EntryIndexAt(int column, int row) {
    return VisibleIndex(column, row) + FirstVisibleRow() * ColumnCount();
}

bool IsGridCell(int column, int row) {
    return column >= 0 && column < ColumnCount() && row >= 0 && row < RowCount();
}

namespace {

// The cell under a point, or (-1, -1) beside the grid. The division truncates toward zero,
// so points left of or above the grid are tested before it.
GridCell GridCellAtPoint(int x, int y) {
    GridCell none = {-1, -1};
    if (x < 0 || y < GridTop()) return none;
    GridCell cell = CellFromPoint(x, y);
    return IsGridCell(cell.column, cell.row) ? cell : none;
}

} // namespace

int EntryIndexAtPoint(int x, int y) {
    GridCell cell = GridCellAtPoint(x, y);
    return cell.column < 0 ? -1 : EntryIndexAt(cell.column, cell.row);
}

int CursorColumn() {
    return g_cursor.column;
}
int CursorRow() {
    return g_cursor.row;
}
int CursorVisibleIndex() {
    return g_cursor.row * ColumnCount() + g_cursor.column;
}
int CursorEntryIndex() {
    if (!IsGridCell(g_cursor.column, g_cursor.row)) return -1;
    return (g_cursor.row + FirstVisibleRow()) * ColumnCount() + g_cursor.column;
}

void SetCursor(int column, int row) {
    g_cursor.column = column;
    g_cursor.row = row;
}

void SetCursorFromPoint(int x, int y) {
    GridCell cell = GridCellAtPoint(x, y);
    SetCursor(cell.column, cell.row);
}

void ResetCursor() {
    SetCursor(0, 0);
}

namespace {

bool HasCursor() {
    return g_cursor.column >= 0 && g_cursor.row >= 0;
}

} // namespace

bool MoveCursorLeft() {
    if (!HasCursor() || g_cursor.column % ColumnCount() == 0) return false;
    --g_cursor.column;
    return true;
}

bool MoveCursorRight() {
    if (!HasCursor() || (g_cursor.column + 1) % ColumnCount() == 0) return false;
    ++g_cursor.column;
    return true;
}

bool MoveCursorUp() {
    if (!HasCursor()) return false;
    if (CursorVisibleIndex() - ColumnCount() < 0) return ScrollUpOneRow() != -1;
    --g_cursor.row;
    return true;
}

bool MoveCursorDown() {
    if (!HasCursor()) return false;
    if (CursorVisibleIndex() + ColumnCount() >= ColumnCount() * RowCount()) {
        return ScrollDownOneRow() != -1;
    }
    ++g_cursor.row;
    return true;
}

void SelectEntryIndex(int index) {
    UpdateScrollRange();
    int columns = ColumnCount();
    int row = index / columns;
    // The view moves only as far as it must to show the entry, and never past the scroll
    // bar's range, where it would show empty rows the bar cannot reach.
    int first = FirstVisibleRow();
    if (row < first) first = row;
    if (row >= first + RowCount()) first = row - RowCount() + 1;
    if (first > g_scroll.maximum) first = g_scroll.maximum;
    if (first < g_scroll.minimum) first = g_scroll.minimum;
    SetScrollRow(first);
    g_cursor.column = index % columns;
    g_cursor.row = row - FirstVisibleRow();
}

const ScrollState& CurrentScrollState() {
    return g_scroll;
}
bool ScrollingEnabled() {
    return g_link.isEnabled();
}
int FirstVisibleRow() {
    return ScrollingEnabled() ? g_scroll.position : 0;
}

void ResetScroll() {
    g_scroll.mask = kScrollRange | kScrollPage;
    g_scroll.minimum = 0;
    g_scroll.maximum = 0;
    g_scroll.page = 0;
    g_scroll.position = 0;
    g_link.apply(g_scroll, false);
}

void UpdateScrollRange() {
    int count = g_link.entryCount();
    int capacity = GridCapacity();
    if (count > capacity) {
        g_link.setEnabled(true);
        g_scroll.mask = kScrollRange | kScrollPage;
        g_scroll.minimum = 0;
        g_scroll.maximum = (count - capacity) / ColumnCount() + 1;
        g_scroll.page = 1;
        g_link.apply(g_scroll, true);
        // Later updates move the position only; it stays where it was, even above the
        // new maximum.
        g_scroll.mask = kScrollPos;
    } else {
        g_scroll.mask = kScrollRange | kScrollPage;
        g_scroll.minimum = 0;
        g_scroll.maximum = 0;
        g_scroll.position = 0;
        g_scroll.page = 0;
        g_link.apply(g_scroll, false);
        g_link.setEnabled(false);
    }
}

int ScrollUpOneRow() {
    if (!ScrollingEnabled() || g_scroll.position <= 0) return -1;
    --g_scroll.position;
    g_link.apply(g_scroll, true);
    return g_scroll.position;
}

int ScrollDownOneRow() {
    if (!ScrollingEnabled() || g_scroll.position >= g_scroll.maximum) return -1;
    ++g_scroll.position;
    g_link.apply(g_scroll, true);
    return g_scroll.position;
}

int ScrollRequestPosition(const ScrollState& state, int request, int thumb) {
    int position = state.position;
    switch (request) {
    case ScrollLineUp:
        if (position != 0) --position;
        break;
    case ScrollLineDown:
        if (position < state.maximum) ++position;
        break;
    case ScrollPageUp: position -= static_cast<int>(state.page); break;
    case ScrollPageDown: position += static_cast<int>(state.page); break;
    case ScrollThumbPosition:
    case ScrollThumbTrack: position = thumb; break;
    case ScrollTop: position = state.minimum; break;
    case ScrollBottom: position = state.maximum; break;
    default: return position;
    }
    // A view never starts before the first row or after the last one the bar can reach.
    if (position > state.maximum) position = state.maximum;
    if (position < state.minimum) position = state.minimum;
    return position;
}

void SetScrollPosition(int position) {
    g_scroll.position = position;
    g_link.apply(g_scroll, true);
}

void SetScrollRow(int row) {
    if (!ScrollingEnabled()) return;
    g_scroll.position = row;
    g_link.apply(g_scroll, true);
}
