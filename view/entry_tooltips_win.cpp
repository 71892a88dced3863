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

// A point beside the grid (over the scroll bar, say) names no entry.
bool ComposeForEntry(int tab, POINT pointer) {
    EntrySnapshot snapshot;
    if (!GetEntrySnapshot(&snapshot, tab, EntryIndexAtPoint(pointer.x, pointer.y), 0, 0))
        return false;
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
    if (!ComposeForEntry(tab, pointer) && tab >= 0) {
        char name[kTabNameSize];
        GetTabName(tab, name);
        ComposeTabTooltipText(g_tooltipText, name);
    }
    info->lpszText = g_tooltipText;
}

void SupplyEntryTooltipText(NMHDR* header) {
    ComposeEntryTooltip(reinterpret_cast<NMTTDISPINFOA*>(header), PointerInMainWindow());
}

void RefreshShownTooltip() {
    HWND tip = ToolTip();
    if (!tip || !IsWindowVisible(tip)) return;
    TOOLINFOA tool;
    ZeroMemory(&tool, sizeof tool);
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    if (!SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) return;
    // Setting the text of the tool on show makes the control ask for it again at once.
    tool.lpszText = LPSTR_TEXTCALLBACKA;
    SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}
