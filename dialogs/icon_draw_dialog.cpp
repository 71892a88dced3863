#include "dialogs/icon_draw_dialog.h"

#include "base/app_state.h"
#include "dialogs/help_tips.h"
#include "res/icon_draw_dialog_ids.h"
#include "storage/settings.h"

const char kIconDrawDialogName[] = "OPTION_ICON_DIALOG";

namespace {

// The radios in `IconDraw` order, from mode 1.
const int kModeRadios[] = {IDC_ICON_DRAW_ICON, IDC_ICON_DRAW_BITBLT, IDC_ICON_DRAW_FROM_FILE};
const int kModeCount = sizeof kModeRadios / sizeof kModeRadios[0];

HWND g_tips = nullptr;

INT_PTR OnInitDialog(HWND dialog) {
    int mode = GetIconDraw();
    if (mode < 1 || mode > kModeCount) {
        // A mode the painter does not know is replaced at once, even if nothing is saved.
        mode = DefaultIconDraw(GetOsVersionCode());
        SetIconDraw(mode);
    }
    CheckRadioButton(dialog, IDC_ICON_DRAW_ICON, IDC_ICON_DRAW_FROM_FILE, kModeRadios[mode - 1]);
    g_tips = AttachHelpTips(dialog, kIconDrawDialogName);
    return TRUE;
}

INT_PTR OnSave(HWND dialog) {
    int mode = kModeCount;
    for (int i = 0; i < kModeCount - 1; ++i) {
        if (IsDlgButtonChecked(dialog, kModeRadios[i]) == BST_CHECKED) {
            mode = i + 1;
            break;
        }
    }
    SetIconDraw(mode);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return TRUE;
}

INT_PTR OnClose(HWND dialog) {
    DetachHelpTips(g_tips, dialog, kIconDrawDialogName);
    g_tips = nullptr;
    EndDialog(dialog, 1);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK IconDrawDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_ICON_DRAW_SAVE) return OnSave(dialog);
        return FALSE;
    case WM_CLOSE: return OnClose(dialog);
    }
    return FALSE;
}

void ShowIconDrawDialog(HWND owner) {
    // Icons are made from the cached bits at every paint in the current mode and released
    // after it, so a new mode needs only the repaint that follows every menu command.
    DialogBoxParamA(AppInstance(), kIconDrawDialogName, owner, IconDrawDialogProc, 0);
}
