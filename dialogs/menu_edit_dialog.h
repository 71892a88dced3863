// The pop-up menu editor and its add dialog: the lines of the entry pop-up menu, changed in
// memory at once (there is no cancel) and written to the settings file at exit.
#pragma once

#include <windows.h>

extern const char kMenuDialogName[];    // "MENU_DIALOG"
extern const char kAddMenuDialogName[]; // "ADD_MENU_DIALOG"

// The editor refills its list after every change with this message to itself.
const UINT WMAPP_REFILL_MENU_LIST = WM_APP + 1;

// Both end with 1.
INT_PTR CALLBACK MenuDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AddMenuDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the editor modally over `owner`.
void ShowMenuEditorDialog(HWND owner);
