// The rebuild dialog: file information, working folders, icons and the icon cache made anew
// over every entry of every tab, as ticked.
#pragma once

#include <windows.h>

extern const char kRemakeDialogName[]; // "REMAKE_DIALOG"

// Ends with 1.
INT_PTR CALLBACK RebuildDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the dialog modally over `owner`. A close of the program asked for during a pass stops
// the pass, leaves the icon cache on disk as it was, and is carried out after the dialog.
void ShowRebuildDialog(HWND owner);
