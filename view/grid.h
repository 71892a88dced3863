// Grid geometry: cell size, columns and rows of the current display style, the cursor cell,
// the scroll state and the mapping between client points, cells and entry indices.
#pragma once

#include <cstdint>

enum {
    kStandardCell = 65,
    kStandardColumns = 6,
    kStandardRows = 5,
    kStandardCapacity = 30,
    kTabStripHeight = 30,
    kMaxStripCells = 30, // the most cells a bare style lines up
};

// Values of the "Style" option.
enum DisplayStyle {
    StyleStandard = 0,
    StyleTall = 1,
    StyleWide = 2,
    StyleHalfTall = 3,
    StyleHalfWide = 4,
};
// Values of the "Size" option.
enum CellSize { SizeStandard = 0, SizeSmall = 1, SizeSmallest = 2 };

struct GridLayout {
    int32_t cellWidth;
    int32_t cellHeight;
    int32_t columns;
    int32_t rows;
};

struct GridCursor {
    int32_t column; // -1: no cursor
    int32_t row;    // counted from the top visible row
};

struct GridCell {
    int32_t column;
    int32_t row;
};

struct GridRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

// The scroll bar's record, laid out as SCROLLINFO.
enum { kScrollRange = 0x1, kScrollPage = 0x2, kScrollPos = 0x4 };
struct ScrollState {
    uint32_t size;
    uint32_t mask;
    int32_t minimum;
    int32_t maximum;
    uint32_t page;
    int32_t position; // the first visible row
    int32_t trackPosition;
};

// How the scroll state reaches the scroll bar control. Scrolling is possible exactly while
// the control is enabled; the Windows layer installs the real control, and without one a
// plain flag stands in for it. entryCount gives the number of entries of the current tab.
struct ScrollBarLink {
    bool (*isEnabled)();
    void (*setEnabled)(bool enabled);
    void (*apply)(const ScrollState& state, bool redraw);
    int (*entryCount)();
};
void SetScrollBarLink(const ScrollBarLink& link);
const ScrollBarLink& GetScrollBarLink();

// Readers. In the standard style they give the fixed 65 x 65 cells, 6 x 5 grid.
int ColumnCount();
int RowCount();
int CellWidth();
int CellHeight();
int GridCapacity();
// Top of the grid in client coordinates: below the tab strip in the standard style.
int GridTop();
// The stored layout, used while the style is not the standard one.
GridLayout StoredGridLayout();
void SetGridLayout(const GridLayout& layout);

// Cell size in pixels of a "Size" value, 0 when the size table has no such row.
int CellSizeOf(int size);
// Finds the size in the table; when found, "Size" and the stored cell size take it.
bool SelectCellSize(int size);
// Cells lined up by a bare style (1..4) along the work area whose right and bottom
// coordinates are given: at most 30 and, on a work area too small for them, still one.
int StripCellCount(int style, int cellWidth, int cellHeight, int workRight, int workBottom);

// Cells, points and indices.
GridCell CellFromPoint(int x, int y);
GridRect CellRectangle(int column, int row);
int VisibleIndex(int column, int row);
int EntryIndexAt(int column, int row);
// Whether a cell lies inside the current columns and rows: any other is no cell at all.
bool IsGridCell(int column, int row);
// The entry index of the cell under a client point, or -1 for a point beside the grid (the
// scroll bar, the tab strip) or outside the current columns and rows.
int EntryIndexAtPoint(int x, int y);

// The cursor cell.
int CursorColumn();
int CursorRow();
int CursorVisibleIndex();
// The cursor cell's entry index, or -1 without a cursor or while the cursor lies outside the
// current grid (kept there by a style change): such a cursor names no entry.
int CursorEntryIndex();
void SetCursor(int column, int row);
// A point beside the grid takes the cursor off every cell.
void SetCursorFromPoint(int x, int y);
void ResetCursor();
bool MoveCursorLeft();
bool MoveCursorRight();
bool MoveCursorUp();
bool MoveCursorDown();
// Puts the cursor on an entry index of the current tab, scrolling only as far as needed to
// show it, within the scroll range.
void SelectEntryIndex(int index);

// Scrolling.
const ScrollState& CurrentScrollState();
bool ScrollingEnabled();
int FirstVisibleRow();
void ResetScroll();
void UpdateScrollRange();
int ScrollUpOneRow();   // the new position, or -1 when nothing changed
int ScrollDownOneRow(); // likewise
void SetScrollRow(int row);

// Requests of the scroll bar (the SB_ codes).
enum ScrollRequest {
    ScrollLineUp = 0,
    ScrollLineDown = 1,
    ScrollPageUp = 2,
    ScrollPageDown = 3,
    ScrollThumbPosition = 4,
    ScrollThumbTrack = 5,
    ScrollTop = 6,
    ScrollBottom = 7,
};
// The position a request leads to, kept inside minimum..maximum; unknown requests keep it.
int ScrollRequestPosition(const ScrollState& state, int request, int thumb);
// Sets the position as it is and hands the record to the bar with a redraw.
void SetScrollPosition(int position);
