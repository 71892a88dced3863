#include "view/grid.h"

#include "storage/settings.h"

namespace {

struct GridLayout {
    int cellWidth;
    int cellHeight;
    int columns;
    int rows;
};

GridLayout g_layout = {kStandardCell, kStandardCell, kStandardColumns, kStandardRows};

// The standard style always shows the fixed 6 x 5 grid of 65-pixel cells.
bool IsStandardStyle() { return GetStyle() == 0; }

}  // namespace

int ColumnCount() { return IsStandardStyle() ? kStandardColumns : g_layout.columns; }
int RowCount() { return IsStandardStyle() ? kStandardRows : g_layout.rows; }
int CellWidth() { return IsStandardStyle() ? kStandardCell : g_layout.cellWidth; }
int CellHeight() { return IsStandardStyle() ? kStandardCell : g_layout.cellHeight; }
int GridCapacity() { return IsStandardStyle() ? 30 : g_layout.columns * g_layout.rows; }
int GridTop() { return IsStandardStyle() ? kTabStripHeight : 0; }

namespace {

int g_cursorColumn = -1;
int g_cursorRow = -1;

}  // namespace

// The cursor follows clicks only; scrolling is not built yet, so row 0 is always on top.
int CursorColumn() { return g_cursorColumn; }
int CursorRow() { return g_cursorRow; }
int FirstVisibleRow() { return 0; }
int CursorEntryIndex() { return (g_cursorRow + FirstVisibleRow()) * ColumnCount() + g_cursorColumn; }

void SetCursorFromPoint(int x, int y) {
    g_cursorColumn = x / CellWidth();
    g_cursorRow = (y - GridTop()) / CellHeight();
}
