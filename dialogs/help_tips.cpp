#include "dialogs/help_tips.h"

#include <commctrl.h>

#include <cstring>

namespace {

// The version-2 record (without lpReserved) is understood by every version of the control.
const UINT kToolInfoSize = TTTOOLINFOA_V2_SIZE;

const int kMenuDialogTips[] = {352, 353, 354, 355, 356, 357, 359, 360, 361, 358};
const int kAddMenuDialogTips[] = {368, 369, 370, 371};
const int kOptionDialogTips[] = {384, 385, 386, 387, 389, 390, 393, 397, 396};
const int kColourDialogTips[] = {400, 401, 403, 404, 405, 406};
const int kGradientDialogTips[] = {512, 513, 514, 515, 517};
const int kIconDialogTips[] = {544, 545, 546};
const int kSearchDialogTips[] = {560, 562};
const int kInfoEditDialogTips[] = {576, 578, 584, 580};
const int kRemakeDialogTips[] = {592, 593, 594, 595, 596};

#define QDX_TIPS(name, ids)                                                                        \
    { name, ids, static_cast<int>(sizeof ids / sizeof ids[0]) }
const HelpTipList kHelpTipLists[] = {
    QDX_TIPS("MENU_DIALOG", kMenuDialogTips),
    QDX_TIPS("ADD_MENU_DIALOG", kAddMenuDialogTips),
    QDX_TIPS("OPTION_DIALOG", kOptionDialogTips),
    QDX_TIPS("OPTION_DIALOG_COLOR", kColourDialogTips),
    QDX_TIPS("OPTION_DIALOG_GRAD", kGradientDialogTips),
    QDX_TIPS("OPTION_ICON_DIALOG", kIconDialogTips),
    QDX_TIPS("SEARCH_DIALOG", kSearchDialogTips),
    QDX_TIPS("INFOEDIT_DIALOG", kInfoEditDialogTips),
    QDX_TIPS("REMAKE_DIALOG", kRemakeDialogTips),
};
#undef QDX_TIPS

TOOLINFOA DialogTool(HWND dialog, HWND control) {
    TOOLINFOA tool;
    ZeroMemory(&tool, sizeof tool);
    tool.cbSize = kToolInfoSize;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    return tool;
}

} // namespace

HWND CreateHelpTipWindow(HWND dialog) {
    InitCommonControls();
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    return CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, instance,
                           nullptr);
}

LRESULT AddHelpTip(HWND tipWindow, HWND dialog, HWND control, UINT textId) {
    TOOLINFOA tool = DialogTool(dialog, control);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hinst = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(control, GWLP_HINSTANCE));
    tool.lpszText = textId ? MAKEINTRESOURCEA(textId) : LPSTR_TEXTCALLBACKA;
    return SendMessageA(tipWindow, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT RemoveHelpTip(HWND tipWindow, HWND dialog, HWND control) {
    TOOLINFOA tool = DialogTool(dialog, control);
    return SendMessageA(tipWindow, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

HelpTipList HelpTipsOf(const char* dialogName) {
    for (const HelpTipList& list : kHelpTipLists) {
        if (std::strcmp(list.dialogName, dialogName) == 0) return list;
    }
    HelpTipList none = {dialogName, nullptr, 0};
    return none;
}

HWND AttachHelpTips(HWND dialog, const char* dialogName) {
    HWND tipWindow = CreateHelpTipWindow(dialog);
    HelpTipList list = HelpTipsOf(dialogName);
    for (int i = 0; i < list.count; ++i) {
        AddHelpTip(tipWindow, dialog, GetDlgItem(dialog, list.ids[i]), list.ids[i]);
    }
    return tipWindow;
}

void DetachHelpTips(HWND tipWindow, HWND dialog, const char* dialogName) {
    if (!tipWindow) return;
    HelpTipList list = HelpTipsOf(dialogName);
    for (int i = 0; i < list.count; ++i) {
        RemoveHelpTip(tipWindow, dialog, GetDlgItem(dialog, list.ids[i]));
    }
    DestroyWindow(tipWindow);
}
