#include "dialogs/tab_name_dialogs.h"

#include "catalogue/tab_names.h"
#include "res/tab_dialog_ids.h"

const char kTabRenameDialogName[] = "TAB_RENAME_DIALOG";

namespace {

INT_PTR OnInitDialog(HWND dialog) {
    SubclassTabNameEdit(GetDlgItem(dialog, IDC_TAB_RENAME_NAME));
    return TRUE;
}

// The tab's own name counts as taken: renaming a tab to itself is refused.
INT_PTR OnOk(HWND dialog) {
    char name[kTabNameSize];
    switch (ReadTabName(dialog, IDC_TAB_RENAME_NAME, name)) {
    case TabNameRefused: return TRUE;
    case TabNameAccepted: SetTabName(CurrentTab(), name); break;
    case TabNameEmpty: break;
    }
    EndDialog(dialog, kDialogEndedByOk);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK RenameTabDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return LOWORD(wParam) == IDC_TAB_RENAME_OK ? OnOk(dialog) : FALSE;
    case WM_CLOSE: EndDialog(dialog, kDialogEndedByClose); return TRUE;
    }
    return FALSE;
}
