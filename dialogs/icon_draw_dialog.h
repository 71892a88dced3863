// The icon drawing dialog: how entry icons are drawn (`IconDraw` 1, 2 or 3).
#pragma once

#include <windows.h>

extern const char kIconDrawDialogName[]; // "OPTION_ICON_DIALOG"

// Ends with 1, saved or not.
INT_PTR CALLBACK IconDrawDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the dialog modally over `owner`; the grid shows the chosen mode at its next paint.
void ShowIconDrawDialog(HWND owner);
