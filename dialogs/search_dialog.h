// The search dialog: entries whose file name holds a text, across every tab; choosing a hit
// shows its tab with the entry's cell selected.
#pragma once

#include <windows.h>

extern const char kSearchDialogName[]; // "SEARCH_DIALOG"

// Ends with 1.
INT_PTR CALLBACK SearchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the dialog modally over `owner`.
void ShowSearchDialog(HWND owner);
