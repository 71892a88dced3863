#include "dialogs/search_dialog.h"

#include "base/app_state.h"
#include "catalogue/entry_search.h"
#include "catalogue/tab_names.h"
#include "dialogs/help_tips.h"
#include "res/search_dialog_ids.h"
#include "storage/settings.h"
#include "view/grid.h"
#include "view/tab_strip.h"
#include "view/window_behaviours.h"

const char kSearchDialogName[] = "SEARCH_DIALOG";

namespace {

const char kNoSearchText[] = "検索ワードを入力してください";
const char kErrorCaption[] = "Error";

// The state of the one open search dialog (it is modal).
struct SearchDialogState {
    bool autoHideWasOn;
    HWND tips;
};
SearchDialogState g_state;

INT_PTR OnInitDialog(HWND dialog) {
    // The window must not hide while the user is looking for something in it.
    g_state.autoHideWasOn = GetAutoHide() != 0;
    if (g_state.autoHideWasOn) StopAutoHide();
    SendDlgItemMessageA(dialog, IDC_SEARCH_TEXT, EM_LIMITTEXT, kSearchTextSize - 1, 0);
    g_state.tips = AttachHelpTips(dialog, kSearchDialogName);
    return TRUE;
}

void AddHitLine(void* context, int t, int k) {
    char caption[kTabNameSize];
    GetTabName(t, caption);
    char line[kHitLineSize];
    FormatHitLine(line, caption, k + 1);
    SendMessageA(static_cast<HWND>(context), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
}

INT_PTR OnSearch(HWND dialog) {
    char text[kSearchTextSize] = "";
    GetDlgItemTextA(dialog, IDC_SEARCH_TEXT, text, sizeof text);
    if (text[0] == '\0') {
        MessageBoxA(dialog, kNoSearchText, kErrorCaption, MB_ICONERROR);
        return TRUE;
    }
    HWND list = GetDlgItem(dialog, IDC_SEARCH_HITS);
    // One repaint for the whole list, however many hits.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    FindMatchingEntries(text, TabNameCount(), AddHitLine, list);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    return TRUE;
}

// The hit line is all that is known of a hit: its tab is found again by its caption, so a
// tab renamed since the search is not shown.
INT_PTR OnHitChosen(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_SEARCH_HITS);
    LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return TRUE;
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, selected, 0);
    if (length == LB_ERR || length >= kHitLineSize) return TRUE;
    char line[kHitLineSize] = "";
    SendMessageA(list, LB_GETTEXT, selected, reinterpret_cast<LPARAM>(line));
    char caption[kSearchTextSize];
    int position = 0;
    if (!ParseHitLine(line, caption, &position)) return TRUE;
    int tab = FindTab(caption);
    if (tab < 0) return TRUE;
    SelectTab(tab);
    SelectEntryIndex(position - 1);
    InvalidateRect(MainWindow(), nullptr, FALSE);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_SEARCH_RUN: return OnSearch(dialog);
    case IDC_SEARCH_HITS: return OnHitChosen(dialog);
    }
    return FALSE;
}

INT_PTR OnClose(HWND dialog) {
    if (g_state.autoHideWasOn) StartAutoHide();
    DetachHelpTips(g_state.tips, dialog, kSearchDialogName);
    g_state.tips = nullptr;
    EndDialog(dialog, 1);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK SearchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_CLOSE: return OnClose(dialog);
    }
    return FALSE;
}

void ShowSearchDialog(HWND owner) {
    DialogBoxParamA(AppInstance(), kSearchDialogName, owner, SearchDialogProc, 0);
}
