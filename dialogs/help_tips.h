// Help tips of the dialogs: one tooltip window per open dialog, one tool per listed control,
// whose text is the string whose id is the control's id.
#pragma once

#include <windows.h>

HWND CreateHelpTipWindow(HWND dialog);
// A textId of 0 leaves the text to TTN_NEEDTEXT.
LRESULT AddHelpTip(HWND tipWindow, HWND dialog, HWND control, UINT textId);
LRESULT RemoveHelpTip(HWND tipWindow, HWND dialog, HWND control);

// The controls with a tip, in registration order, of the dialog with this template name; an
// empty list (count 0) for a dialog without tips.
struct HelpTipList {
    const char* dialogName;
    const int* ids;
    int count;
};
HelpTipList HelpTipsOf(const char* dialogName);

// At WM_INITDIALOG: the tip window with a tool for each control of the dialog's list.
HWND AttachHelpTips(HWND dialog, const char* dialogName);
// At WM_CLOSE, before EndDialog: the tools go, then the tip window.
void DetachHelpTips(HWND tipWindow, HWND dialog, const char* dialogName);
