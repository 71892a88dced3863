#include "dialogs/menu_edit_dialog.h"

#include "base/app_state.h"
#include "base/path_utils.h"
#include "dialogs/field_edits.h"
#include "dialogs/help_tips.h"
#include "res/menu_dialog_ids.h"
#include "storage/menu_commands.h"

#include <shellapi.h>

#include <cstring>

const char kMenuDialogName[] = "MENU_DIALOG";
const char kAddMenuDialogName[] = "ADD_MENU_DIALOG";

namespace {

const char kErrorCaption[] = "Error";
const char kListFull[] = "登録数がいっぱいになり、ポップアップメニューリストに登録できません";
const char kAskDefaults[] = "全てのメニューを削除し、初期状態に戻しますがいいですか？";
const char kConfirmCaption[] = "確認";
const char kBadPath[] = "入力されたパスが有効ではありません。本体が存在するか確認してください";
const char kChanged[] = "変更しました";
const char kNoticeCaption[] = "お知らせ";
const char kNoName[] = "メニュー名を入力してください";
const char kNoFreeId[] =
    "ID作成に失敗しました\r\nこのエラーは通常ありえません。プログラムを終了し、"
    "\"QDX.ini\"を削除してください";
const char kSeparatorText[] = "---セパレータ---";

const int kFirstUserId = 96;
const int kLastUserId = 255;

// The kinds of the add dialog, in the order of its drop-down.
struct MenuKind {
    const char* text;
    int32_t id; // 0 for a user command, which gets a free id
};
const MenuKind kMenuKinds[] = {
    {"登録されている他のアプリを使って開く", 1},
    {"リンク先を開く", 3},
    {"親ディレクトリを開く", 2},
    {"項目から削除", 4},
    {"登録情報の編集", 5},
    {"アイコンを再取得", 6},
    {"個別にアイコンを設定する", 7},
    {"アイコンを保存", 8},
    {"アイコンマスクを保存", 9},
    {kSeparatorText, kMenuSeparatorId},
    {"ユーザーメニュー", 0},
};
const int kUserKind = sizeof kMenuKinds / sizeof kMenuKinds[0] - 1;

bool IsUserCommand(int32_t id) {
    return id >= kFirstUserId && id <= kLastUserId;
}

// The editors are modal: one of each is open at a time.
struct MenuDialogState {
    int lastLoaded; // the line in the fields, -1 when none
    HWND tips;
};
MenuDialogState g_menu;
HWND g_addTips;

void EnableUserFields(HWND dialog, int pathId, int argId, bool enable) {
    EnableWindow(GetDlgItem(dialog, pathId), enable);
    EnableWindow(GetDlgItem(dialog, argId), enable);
}

void InstallFieldEdits(HWND dialog, int pathId, int argId) {
    HWND path = GetDlgItem(dialog, pathId);
    HWND arg = GetDlgItem(dialog, argId);
    SubclassPathEdit(path);
    SubclassArgumentEdit(arg);
    DragAcceptFiles(path, TRUE);
    DragAcceptFiles(arg, TRUE);
}

int SelectedLine(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageA(dialog, IDC_MENU_LIST, LB_GETCURSEL, 0, 0));
}

void SendListCommand(HWND dialog) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MENU_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_MENU_LIST)));
}

// Selects a line and loads it into the fields, as a click on it does.
void SelectLine(HWND dialog, int index) {
    SendDlgItemMessageA(dialog, IDC_MENU_LIST, LB_SETCURSEL, index, 0);
    SendListCommand(dialog);
}

void Refill(HWND dialog) {
    SendMessageA(dialog, WMAPP_REFILL_MENU_LIST, 0, 0);
}

INT_PTR OnRefillMenuList(HWND dialog) {
    HWND list = GetDlgItem(dialog, IDC_MENU_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    MenuCommand line;
    for (int i = 0; GetMenuCommand(i, &line); ++i) {
        const char* text = line.MenuID == kMenuSeparatorId ? kSeparatorText : line.MenuName;
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SetFocus(list);
    g_menu.lastLoaded = -1;
    SelectLine(dialog, 0);
    return TRUE;
}

INT_PTR OnMenuInitDialog(HWND dialog) {
    g_menu.lastLoaded = -1;
    InstallFieldEdits(dialog, IDC_MENU_PATH, IDC_MENU_ARG);
    SendDlgItemMessageA(dialog, IDC_MENU_NAME, EM_LIMITTEXT, kMenuNameSize - 1, 0);
    g_menu.tips = AttachHelpTips(dialog, kMenuDialogName);
    Refill(dialog);
    return FALSE; // the list has the focus
}

INT_PTR OnLineChosen(HWND dialog) {
    int index = SelectedLine(dialog);
    if (index == g_menu.lastLoaded && index >= 0) return TRUE;
    g_menu.lastLoaded = index;
    MenuCommand line;
    std::memset(&line, 0, sizeof line);
    // Without a selection (the list was emptied) the fields show no line at all.
    if (index >= 0 && !GetMenuCommand(index, &line)) return TRUE;
    SetDlgItemTextA(dialog, IDC_MENU_NAME, line.MenuName);
    SetDlgItemTextA(dialog, IDC_MENU_PATH, line.MenuPath);
    SetDlgItemTextA(dialog, IDC_MENU_ARG, line.MenuArg);
    EnableUserFields(dialog, IDC_MENU_PATH, IDC_MENU_ARG, IsUserCommand(line.MenuID));
    return TRUE;
}

INT_PTR OnAdd(HWND dialog) {
    if (MenuCommandCount() >= MenuCommandCapacity()) {
        MessageBoxA(dialog, kListFull, kErrorCaption, MB_ICONERROR);
        return TRUE;
    }
    DialogBoxParamA(AppInstance(), kAddMenuDialogName, dialog, AddMenuDialogProc, 0);
    Refill(dialog);
    return TRUE;
}

INT_PTR OnMove(HWND dialog, int step) {
    int index = SelectedLine(dialog);
    int target = index + step;
    if (index < 0 || target < 0 || target >= MenuCommandCount()) return TRUE;
    SwapMenuCommands(index < target ? index : target, index < target ? target : index);
    Refill(dialog);
    SelectLine(dialog, target);
    return TRUE;
}

INT_PTR OnDelete(HWND dialog) {
    int index = SelectedLine(dialog);
    if (index < 0) return TRUE;
    RemoveMenuCommand(index);
    Refill(dialog);
    return TRUE;
}

INT_PTR OnDefaults(HWND dialog) {
    if (MessageBoxA(dialog, kAskDefaults, kConfirmCaption,
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return TRUE;
    ClearMenuCommands();
    FillDefaultMenuCommands();
    Refill(dialog);
    return TRUE;
}

INT_PTR OnSaveLine(HWND dialog) {
    int index = SelectedLine(dialog);
    MenuCommand line;
    if (index < 0 || !GetMenuCommand(index, &line)) return TRUE;
    MenuCommand changed;
    std::memset(&changed, 0, sizeof changed);
    changed.MenuID = line.MenuID;
    GetDlgItemTextA(dialog, IDC_MENU_NAME, changed.MenuName, sizeof changed.MenuName);
    if (IsUserCommand(line.MenuID)) {
        GetDlgItemTextA(dialog, IDC_MENU_PATH, changed.MenuPath, sizeof changed.MenuPath);
        GetDlgItemTextA(dialog, IDC_MENU_ARG, changed.MenuArg, sizeof changed.MenuArg);
    }
    if (changed.MenuPath[0] != '\0' &&
        GetPathAttributes(changed.MenuPath) == INVALID_FILE_ATTRIBUTES) {
        MessageBoxA(dialog, kBadPath, kErrorCaption, MB_ICONERROR);
        return TRUE;
    }
    ReplaceMenuCommand(index, changed);
    MessageBoxA(dialog, kChanged, kNoticeCaption, MB_OK);
    Refill(dialog);
    return TRUE;
}

INT_PTR OnMenuCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_MENU_LIST: return OnLineChosen(dialog);
    case IDC_MENU_ADD: return OnAdd(dialog);
    case IDC_MENU_UP: return OnMove(dialog, -1);
    case IDC_MENU_DOWN: return OnMove(dialog, 1);
    case IDC_MENU_DELETE: return OnDelete(dialog);
    case IDC_MENU_DEFAULTS: return OnDefaults(dialog);
    case IDC_MENU_SAVE: return OnSaveLine(dialog);
    }
    return FALSE;
}

INT_PTR OnMenuClose(HWND dialog) {
    DetachHelpTips(g_menu.tips, dialog, kMenuDialogName);
    g_menu.tips = nullptr;
    EndDialog(dialog, 1);
    return TRUE;
}

int SelectedKind(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageA(dialog, IDC_ADD_MENU_KIND, CB_GETCURSEL, 0, 0));
}

INT_PTR OnAddInitDialog(HWND dialog) {
    InstallFieldEdits(dialog, IDC_ADD_MENU_PATH, IDC_ADD_MENU_ARG);
    SendDlgItemMessageA(dialog, IDC_ADD_MENU_NAME, EM_LIMITTEXT, kMenuNameSize - 1, 0);
    HWND kinds = GetDlgItem(dialog, IDC_ADD_MENU_KIND);
    for (const MenuKind& kind : kMenuKinds)
        SendMessageA(kinds, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind.text));
    SendMessageA(kinds, CB_SETCURSEL, kUserKind, 0);
    EnableUserFields(dialog, IDC_ADD_MENU_PATH, IDC_ADD_MENU_ARG, true);
    g_addTips = AttachHelpTips(dialog, kAddMenuDialogName);
    return TRUE;
}

INT_PTR OnKindChosen(HWND dialog) {
    int kind = SelectedKind(dialog);
    if (kind < 0 || kind > kUserKind) return TRUE;
    bool user = kind == kUserKind;
    EnableUserFields(dialog, IDC_ADD_MENU_PATH, IDC_ADD_MENU_ARG, user);
    SetDlgItemTextA(dialog, IDC_ADD_MENU_NAME, user ? "" : kMenuKinds[kind].text);
    return TRUE;
}

// The smallest user command id not in the list, or -1 when none is left.
int32_t FreeUserId() {
    for (int32_t id = kFirstUserId; id <= kLastUserId; ++id) {
        if (!HasMenuCommandId(id)) return id;
    }
    return -1;
}

INT_PTR OnAddLine(HWND dialog) {
    char name[kMenuNameSize] = "";
    GetDlgItemTextA(dialog, IDC_ADD_MENU_NAME, name, sizeof name);
    if (name[0] == '\0') {
        MessageBoxA(dialog, kNoName, kErrorCaption, MB_ICONERROR);
        return TRUE;
    }
    int kind = SelectedKind(dialog);
    if (kind < 0 || kind > kUserKind) return TRUE;
    if (kind != kUserKind) {
        AddMenuCommand(name, "", "", kMenuKinds[kind].id);
    } else {
        char path[kMenuPathSize] = "", arg[kMenuArgSize] = "";
        GetDlgItemTextA(dialog, IDC_ADD_MENU_PATH, path, sizeof path);
        GetDlgItemTextA(dialog, IDC_ADD_MENU_ARG, arg, sizeof arg);
        if (GetPathAttributes(path) == INVALID_FILE_ATTRIBUTES) {
            MessageBoxA(dialog, kBadPath, kErrorCaption, MB_ICONERROR);
            return TRUE;
        }
        int32_t id = FreeUserId();
        if (id < 0) {
            MessageBoxA(dialog, kNoFreeId, kErrorCaption, MB_ICONERROR);
        } else {
            AddMenuCommand(name, path, arg, id);
        }
    }
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return TRUE;
}

INT_PTR OnAddCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_ADD_MENU_KIND: return code == CBN_SELCHANGE ? OnKindChosen(dialog) : FALSE;
    case IDC_ADD_MENU_ADD: return OnAddLine(dialog);
    case IDC_ADD_MENU_CANCEL: PostMessageA(dialog, WM_CLOSE, 0, 0); return TRUE;
    }
    return FALSE;
}

INT_PTR OnAddClose(HWND dialog) {
    DetachHelpTips(g_addTips, dialog, kAddMenuDialogName);
    g_addTips = nullptr;
    EndDialog(dialog, 1);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK MenuDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnMenuInitDialog(dialog);
    case WM_COMMAND: return OnMenuCommand(dialog, LOWORD(wParam));
    case WMAPP_REFILL_MENU_LIST: return OnRefillMenuList(dialog);
    case WM_CLOSE: return OnMenuClose(dialog);
    }
    return FALSE;
}

INT_PTR CALLBACK AddMenuDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnAddInitDialog(dialog);
    case WM_COMMAND: return OnAddCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_CLOSE: return OnAddClose(dialog);
    }
    return FALSE;
}

void ShowMenuEditorDialog(HWND owner) {
    DialogBoxParamA(AppInstance(), kMenuDialogName, owner, MenuDialogProc, 0);
}
