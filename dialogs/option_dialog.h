// The options dialog: general options, the start-up shortcut, the summon hot key and the
// window's transparency.
#pragma once

#include <windows.h>

extern const char kOptionDialogName[]; // "OPTION_DIALOG"

// Ends with 1, saved or not.
INT_PTR CALLBACK OptionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the dialog modally over `owner`.
void ShowOptionsDialog(HWND owner);
