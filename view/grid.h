// Grid geometry: cell size, columns and rows of the current display style, the cursor cell
// and the first visible row.
#pragma once

enum { kStandardCell = 65, kStandardColumns = 6, kStandardRows = 5, kTabStripHeight = 30 };

int ColumnCount();
int RowCount();
int CellWidth();
int CellHeight();
int GridCapacity();
// Top of the grid in client coordinates: below the tab strip in the standard style.
int GridTop();

// The cursor cell (column and row from the top visible row; -1 when there is none).
int CursorColumn();
int CursorRow();
int CursorEntryIndex();
void SetCursorFromPoint(int x, int y);
int FirstVisibleRow();
