#include "dialogs/option_dialog.h"

#include "base/app_state.h"
#include "base/path_utils.h"
#include "commands/shortcuts.h"
#include "dialogs/help_tips.h"
#include "res/option_dialog_ids.h"
#include "storage/settings.h"
#include "view/window_behaviours.h"

#include <commctrl.h>

const char kOptionDialogName[] = "OPTION_DIALOG";

namespace {

const char kHotKeyNeedsCtrl[] = "ホットキーには必ず CTRLキー を含んで下さい";
const char kErrorCaption[] = "Error";
const char kStartupShortcutDescription[] = "タブ型ランチャーQDXのショートカットです";

const int kLowestAlpha = 20;
const int kHighestAlpha = 255;
const int kWindows2000Class = 8;
const int kLinkPathSize = 1024;

// The transparency controls exist only where layered windows do.
const int kAlphaControls[] = {IDC_OPTION_ALPHA_GROUP, IDC_OPTION_ALPHA, IDC_OPTION_ALPHA_LOW,
                              IDC_OPTION_ALPHA_HIGH};

// A check box and the option it shows.
struct OptionBox {
    int id;
    int32_t (*get)();
    void (*set)(int32_t);
};
const OptionBox kOptionBoxes[] = {
    {IDC_OPTION_DEAD_LINK, GetDeadLink, SetDeadLink},
    {IDC_OPTION_DELETE_CHECK, GetDeleteCheck, SetDeleteCheck},
    {IDC_OPTION_TOOLTIP, GetTooltip, SetTooltip},
    {IDC_OPTION_FILE_NOT_CHECK, GetFileNotCheck, SetFileNotCheck},
    {IDC_OPTION_SHORTCUT_FULL, GetShortcutFull, SetShortcutFull},
};

// The state of the one open options dialog (it is modal).
struct OptionDialogState {
    int openingAlpha;
    bool saved;
    char linkPath[kLinkPathSize];
    HWND tips;
};
OptionDialogState g_state;

bool HasAlphaSlider() {
    return GetOsVersionCode() >= kWindows2000Class;
}

// The opacity the window shows: a stored value below the lowest one was never applied.
int ShownAlpha() {
    int alpha = GetAlpha();
    return alpha >= kLowestAlpha ? alpha : kHighestAlpha;
}

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool StartupShortcutExists() {
    return GetPathAttributes(g_state.linkPath) != INVALID_FILE_ATTRIBUTES;
}

void InitAlphaSlider(HWND dialog) {
    if (!HasAlphaSlider()) {
        for (int id : kAlphaControls)
            EnableWindow(GetDlgItem(dialog, id), FALSE);
        return;
    }
    HWND slider = GetDlgItem(dialog, IDC_OPTION_ALPHA);
    SendMessageA(slider, TBM_SETRANGE, TRUE, MAKELPARAM(kLowestAlpha, kHighestAlpha));
    // The slider starts where the window is: a save that leaves it alone stores the opacity
    // the user sees, not a stored value that was never applied.
    g_state.openingAlpha = ShownAlpha();
    SendMessageA(slider, TBM_SETPOS, TRUE, g_state.openingAlpha);
}

INT_PTR OnInitDialog(HWND dialog) {
    InitAlphaSlider(dialog);
    for (const OptionBox& box : kOptionBoxes)
        CheckDlgButton(dialog, box.id, box.get() != 0 ? BST_CHECKED : BST_UNCHECKED);
    SendDlgItemMessageA(dialog, IDC_OPTION_HOT_KEY, HKM_SETHOTKEY, GetHotKey() & 0xFFFF, 0);
    StartupShortcutPath(g_state.linkPath);
    CheckDlgButton(dialog, IDC_OPTION_STARTUP,
                   StartupShortcutExists() ? BST_CHECKED : BST_UNCHECKED);
    g_state.tips = AttachHelpTips(dialog, kOptionDialogName);
    g_state.saved = false;
    return TRUE;
}

INT_PTR OnSliderMoved(HWND dialog) {
    int position =
        static_cast<int>(SendDlgItemMessageA(dialog, IDC_OPTION_ALPHA, TBM_GETPOS, 0, 0));
    SetLayeredAlpha(MainWindow(), position);
    return TRUE;
}

// The executable's folder without its final separator; a drive root keeps it, so that the
// shortcut does not start in the drive's current folder.
void ExecutableFolder(const char* executable, char* folder) {
    int prefix = FolderPrefixLength(executable);
    int length = prefix > 0 ? prefix - 1 : 0;
    if (length == 2 && executable[1] == ':') length = 3;
    lstrcpynA(folder, executable, length + 1);
}

void UpdateStartupShortcut(bool wanted) {
    bool present = StartupShortcutExists();
    if (wanted && !present) {
        char executable[kLinkPathSize] = "";
        GetModuleFileNameA(nullptr, executable, sizeof executable);
        executable[sizeof executable - 1] = '\0';
        char folder[kLinkPathSize];
        ExecutableFolder(executable, folder);
        CreateStartupShortcut(g_state.linkPath, executable, kStartupShortcutDescription, "", folder,
                              executable, 0, SW_SHOWNORMAL);
    } else if (!wanted && present) {
        DeleteFileA(g_state.linkPath);
    }
}

INT_PTR OnSave(HWND dialog) {
    int hotKey =
        static_cast<int>(SendDlgItemMessageA(dialog, IDC_OPTION_HOT_KEY, HKM_GETHOTKEY, 0, 0)) &
        0xFFFF;
    if (hotKey != 0 && !(HIBYTE(hotKey) & HOTKEYF_CONTROL)) {
        MessageBoxA(dialog, kHotKeyNeedsCtrl, kErrorCaption, MB_ICONERROR);
        return TRUE;
    }
    if (HasAlphaSlider()) {
        SetAlpha(static_cast<int>(SendDlgItemMessageA(dialog, IDC_OPTION_ALPHA, TBM_GETPOS, 0, 0)));
    }
    for (const OptionBox& box : kOptionBoxes)
        box.set(IsChecked(dialog, box.id) ? 1 : 0);
    SetHotKey(hotKey);
    SetMulti(0);
    UpdateStartupShortcut(IsChecked(dialog, IDC_OPTION_STARTUP));
    // A second registration under the same id would keep the old key working as well.
    UnregisterSummonHotKey(kSummonHotKeyId);
    RegisterSummonHotKey(GetHotKey(), kSummonHotKeyId);
    g_state.saved = true;
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return TRUE;
}

bool IsOptionCheckBox(int id) {
    if (id == IDC_OPTION_STARTUP) return true;
    for (const OptionBox& box : kOptionBoxes) {
        if (box.id == id) return true;
    }
    return false;
}

INT_PTR OnCommand(HWND dialog, int id, int code) {
    switch (id) {
    case IDC_OPTION_SAVE: return OnSave(dialog);
    case IDC_OPTION_CANCEL: PostMessageA(dialog, WM_CLOSE, 0, 0); return TRUE;
    }
    if (code == BN_CLICKED && IsOptionCheckBox(id)) {
        CheckDlgButton(dialog, id, IsChecked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
        return TRUE;
    }
    return FALSE;
}

INT_PTR OnClose(HWND dialog) {
    if (!g_state.saved && IsWindowEnabled(GetDlgItem(dialog, IDC_OPTION_ALPHA))) {
        SetLayeredAlpha(MainWindow(), g_state.openingAlpha);
    }
    DetachHelpTips(g_state.tips, dialog, kOptionDialogName);
    g_state.tips = nullptr;
    EndDialog(dialog, 1);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK OptionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_HSCROLL: return OnSliderMoved(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
    case WM_CLOSE: return OnClose(dialog);
    }
    return FALSE;
}

void ShowOptionsDialog(HWND owner) {
    DialogBoxParamA(AppInstance(), kOptionDialogName, owner, OptionDialogProc, 0);
}
