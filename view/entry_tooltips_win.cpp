#include "view/entry_tooltips.h"

#include "base/app_state.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "view/grid.h"
#include "view/tooltip_text.h"

namespace {

// The control reads the text after the notification returns: it must outlive the handler.
char g_tooltipText[kTooltipTextSize];

// The client position of the pointer over the main window; the control asks only while the
// pointer rests on a cell's tool.
POINT PointerInMainWindow() {
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    ScreenToClient(MainWindow(), &pointer);
    return pointer;
}

// A point beside the grid (over the scroll bar, say) must not name the next row's entry.
bool IsInsideGrid(const GridCell& cell) {
    return cell.column >= 0 && cell.column < ColumnCount() && cell.row >= 0 &&
           cell.row < RowCount();
}

bool ComposeForEntry(int tab, const GridCell& cell) {
    if (!IsInsideGrid(cell)) return false;
    EntrySnapshot snapshot;
    if (!GetEntrySnapshot(&snapshot, tab, EntryIndexAt(cell.column, cell.row), 0, 0)) return false;
    TooltipFields fields = {snapshot.FilePath, snapshot.FileName, snapshot.Arg,
                            snapshot.Count,    snapshot.WorkPath, snapshot.Comment};
    ComposeEntryTooltipText(g_tooltipText, fields);
    return true;
}

} // namespace

void ComposeEntryTooltip(NMTTDISPINFOA* info, POINT pointer) {
    g_tooltipText[0] = '\0';
    info->hinst = AppInstance();
    int tab = CurrentTab();
    GridCell cell = CellFromPoint(pointer.x, pointer.y);
    if (!ComposeForEntry(tab, cell) && tab >= 0) {
        char name[kTabNameSize];
        GetTabName(tab, name);
        ComposeTabTooltipText(g_tooltipText, name);
    }
    info->lpszText = g_tooltipText;
}

void SupplyEntryTooltipText(NMHDR* header) {
    ComposeEntryTooltip(reinterpret_cast<NMTTDISPINFOA*>(header), PointerInMainWindow());
}
