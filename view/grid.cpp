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
