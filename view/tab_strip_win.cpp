#include "view/tab_strip.h"

#include "base/app_state.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "view/grid.h"

#include <commctrl.h>

#include <cstdio>

namespace {

WNDPROC g_classProc;
HFONT g_tabFont;
TabRenameDialogRunner g_renameDialog;
// The control sizes every item by its own font: the selected label's bold one, the widest a
// label is drawn in, so that no label runs into the next item.
HFONT g_sizingFont;

const char kRenameLabel[] = "名前の変更";
const char kDeleteLabel[] = "削除";
const char kMoveLeftLabel[] = "左へ移動";
const char kMoveRightLabel[] = "右へ移動";
const char kDeleteQuestion[] = "\"%s\" を削除してもいいですか?";
const char kDeleteCaption[] = "確認";

const char kItemFace[] = "ＭＳ　明朝";
const char kSelectedItemFace[] = "ＭＳ P明朝";

LRESULT CallClassProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(g_classProc, control, message, wParam, lParam);
}

int ItemCount() {
    return static_cast<int>(SendMessageA(TabControl(), TCM_GETITEMCOUNT, 0, 0));
}

void InvalidateGrid() {
    InvalidateRect(MainWindow(), nullptr, FALSE);
}

void RenameCurrentTab(int i) {
    char old[kTabNameSize];
    GetTabName(i, old);
    // Every tab keeps its icons under its own folder, in both archives.
    char folder[kIconFolderSize];
    TabCacheFolder(folder, old);
    // The dialog checks the name and sets the item's text itself.
    if (g_renameDialog) g_renameDialog(TabControl());
    char renamed[kTabNameSize];
    GetTabName(i, renamed);
    CacheRenameFolder(CacheArchiveAuto(), folder, renamed);
    CacheRenameFolder(CacheArchiveUser(), folder, renamed);
}

void DeleteCurrentTab(int i) {
    char name[kTabNameSize];
    GetTabName(i, name);
    char question[1024];
    std::snprintf(question, sizeof question, kDeleteQuestion, name);
    // Nothing is lost on a stray Enter: No is the default.
    int answer = MessageBoxA(TabControl(), question, kDeleteCaption,
                             MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer != IDYES) return;
    SendMessageA(TabControl(), TCM_DELETEITEM, i, 0);
    RemoveTab(i);
    char folder[kIconFolderSize];
    TabCacheFolder(folder, name);
    CacheDeleteFolder(CacheArchiveAuto(), folder);
    CacheDeleteFolder(CacheArchiveUser(), folder);
    SelectTab(i > 0 ? i - 1 : 0);
}

// Swaps tab a with tab a + 1 and keeps the moved one selected. The archive folders are
// keyed by name, so they stay as they are.
void SwapWithNext(int a, int selected) {
    SwapTabNames(a, a + 1);
    SwapTabs(a, a + 1);
    SendMessageA(TabControl(), TCM_SETCURSEL, selected, 0);
}

void MoveCurrentTabLeft(int i) {
    if (i > 0) SwapWithNext(i - 1, i - 1);
}

void MoveCurrentTabRight(int i) {
    if (i + 1 < ItemCount()) SwapWithNext(i, i + 1);
}

struct TabCommandRow {
    int id;
    void (*run)(int current);
};
const TabCommandRow kTabCommands[] = {
    {TabCommandRename, RenameCurrentTab},
    {TabCommandDelete, DeleteCurrentTab},
    {TabCommandMoveLeft, MoveCurrentTabLeft},
    {TabCommandMoveRight, MoveCurrentTabRight},
};

LRESULT OnTabCommand(WPARAM wParam) {
    int id = LOWORD(wParam);
    for (const TabCommandRow& row : kTabCommands) {
        if (row.id != id) continue;
        int current = CurrentTab();
        if (current >= 0) row.run(current);
        break;
    }
    InvalidateGrid();
    return 0;
}

LRESULT OnRButtonDown(HWND control, WPARAM wParam, LPARAM lParam) {
    // A right click selects the tab under the pointer exactly as a left click would.
    CallClassProc(control, WM_LBUTTONDOWN, wParam, lParam);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, TabCommandRename, kRenameLabel);
    AppendMenuA(menu, MF_STRING, TabCommandDelete, kDeleteLabel);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, TabCommandMoveLeft, kMoveLeftLabel);
    AppendMenuA(menu, MF_STRING, TabCommandMoveRight, kMoveRightLabel);
    POINT pointer;
    GetCursorPos(&pointer);
    // The choice comes back to this procedure as WM_COMMAND.
    TrackPopupMenu(menu, TPM_LEFTBUTTON, pointer.x, pointer.y, 0, control, nullptr);
    DestroyMenu(menu);
    return 0;
}

LRESULT OnNotify(LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && header->code == static_cast<UINT>(TCN_SELCHANGE)) {
        // A new tab starts at its first row; the cursor keeps its cell.
        ResetScroll();
        UpdateScrollRange();
        InvalidateGrid();
    }
    return 0;
}

LRESULT OnMouseWheel(WPARAM wParam) {
    int current = CurrentTab();
    if (GET_WHEEL_DELTA_WPARAM(wParam) > 0) {
        if (current > 0) SelectTab(current - 1);
    } else if (current + 1 < ItemCount()) {
        SelectTab(current + 1);
    }
    return 0;
}

LRESULT OnDestroy(HWND control, WPARAM wParam, LPARAM lParam) {
    if (g_tabFont) DeleteObject(g_tabFont);
    if (g_sizingFont) DeleteObject(g_sizingFont);
    g_tabFont = g_sizingFont = nullptr;
    return CallClassProc(control, WM_DESTROY, wParam, lParam);
}

LRESULT OnSetFocus() {
    // The keyboard belongs to the grid.
    SetFocus(MainWindow());
    return 0;
}

LRESULT OnDrawItem(LPARAM lParam) {
    DrawTabItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return 0;
}

HFONT CreateItemFont() {
    return CreateFontA(13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0,
                       PROOF_QUALITY, FIXED_PITCH | FF_MODERN, kItemFace);
}

HFONT CreateSelectedItemFont() {
    return CreateFontA(14, 0, 0, 0, 800, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0, PROOF_QUALITY,
                       FIXED_PITCH | FF_ROMAN, kSelectedItemFace);
}

} // namespace

HFONT TabFont() {
    return g_tabFont;
}

HWND CreateTabStrip(HWND parent, int x, int y, int width, int height, int id, HINSTANCE instance) {
    InitCommonControls();
    HWND control = CreateWindowExA(
        0, WC_TABCONTROLA, "",
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_OWNERDRAWFIXED | TCS_FORCEICONLEFT, x, y,
        width, height, parent, reinterpret_cast<HMENU>(INT_PTR(id)), instance, nullptr);
    if (!control) return nullptr;
    g_classProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TabStripProc)));
    g_tabFont = CreateItemFont();
    g_sizingFont = CreateSelectedItemFont();
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(g_sizingFont), FALSE);
    return control;
}

LRESULT CALLBACK TabStripProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    // Its menu, its commands, the wheel, a click, its scroll arrows and a change of tab act on
    // tabs that may still be loading, or whose items may still be missing from the strip.
    if (message == WM_RBUTTONDOWN || message == WM_LBUTTONDOWN || message == WM_COMMAND ||
        message == WM_MOUSEWHEEL || message == WM_HSCROLL || message == WM_NOTIFY)
        CompleteCatalogue();
    switch (message) {
    case WM_SETFOCUS: return OnSetFocus();
    case WM_DESTROY: return OnDestroy(control, wParam, lParam);
    case WM_DRAWITEM: return OnDrawItem(lParam);
    case WM_NOTIFY: return OnNotify(lParam);
    case WM_RBUTTONDOWN: return OnRButtonDown(control, wParam, lParam);
    case WM_COMMAND: return OnTabCommand(wParam);
    case WM_MOUSEWHEEL: return OnMouseWheel(wParam);
    default: return CallClassProc(control, message, wParam, lParam);
    }
}

void SelectTab(int i) {
    SendMessageA(TabControl(), TCM_SETCURSEL, i, 0);
    NMHDR header;
    ZeroMemory(&header, sizeof header);
    header.code = static_cast<UINT>(TCN_SELCHANGE);
    SendMessageA(TabControl(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&header));
}

void DrawTabItem(const DRAWITEMSTRUCT* drawItem) {
    if (!drawItem) return;
    HDC dc = drawItem->hDC;
    HBRUSH face = CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    char text[kTabNameSize];
    GetTabName(static_cast<int>(drawItem->itemID), text);
    int length = lstrlenA(text);
    // The control's own font only sizes the items: the labels use the item font.
    HGDIOBJ controlFont = SelectObject(dc, g_tabFont ? g_tabFont : GetCurrentObject(dc, OBJ_FONT));
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, text, length, &extent);
    RECT item = drawItem->rcItem;
    FillRect(dc, &item, face);
    // The text is placed from the top of the control, not of the item.
    if (drawItem->itemState & ODS_SELECTED) {
        HFONT bold = CreateSelectedItemFont();
        HGDIOBJ previous = SelectObject(dc, bold);
        TextOutA(dc, item.left + 7, extent.cy / 2 - 3, text, length);
        SelectObject(dc, previous);
        DeleteObject(bold);
    } else {
        TextOutA(dc, item.left + 5, extent.cy / 2 - 2, text, length);
    }
    SelectObject(dc, controlFont);
    DeleteObject(face);
}

void SetTabRenameDialogRunner(TabRenameDialogRunner runner) {
    g_renameDialog = runner;
}
