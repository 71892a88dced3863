#include "dialogs/tab_name_dialogs.h"

#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "res/tab_dialog_ids.h"

#include <cstdio>

const char kTabCreateDialogName[] = "TAB_CREATE_DIALOG";

namespace {

const char kTabLimitMessage[] = "作成出来るタブ数がいっぱいです。タブは最大%d個迄となっております";
const char kTabLimitCaption[] = "Error";

INT_PTR OnInitDialog(HWND dialog) {
    SubclassTabNameEdit(GetDlgItem(dialog, IDC_TAB_CREATE_NAME));
    if (TabNameCount() >= kTabSlots) {
        char message[1024];
        std::snprintf(message, sizeof message, kTabLimitMessage, static_cast<int>(kTabSlots));
        MessageBoxA(dialog, message, kTabLimitCaption, MB_ICONERROR);
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

INT_PTR OnOk(HWND dialog) {
    char name[kTabNameSize];
    switch (ReadTabName(dialog, IDC_TAB_CREATE_NAME, name)) {
    case TabNameRefused: return TRUE;
    case TabNameAccepted: AppendTab(name); break;
    case TabNameEmpty: break;
    }
    EndDialog(dialog, kDialogEndedByOk);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK CreateTabDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return LOWORD(wParam) == IDC_TAB_CREATE_OK ? OnOk(dialog) : FALSE;
    case WM_CLOSE: EndDialog(dialog, kDialogEndedByClose); return TRUE;
    }
    return FALSE;
}
