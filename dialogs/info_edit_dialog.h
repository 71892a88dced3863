// The entry information editor: path, arguments, working folder and comment of the entry in
// the selected cell of the current tab.
#pragma once

#include <windows.h>

#include <cstddef>

extern const char kInfoEditDialogName[]; // "INFOEDIT_DIALOG"

// Ends with 1.
INT_PTR CALLBACK InfoEditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the dialog modally over `owner` for the cursor entry; nothing without an entry there.
void ShowEntryInfoDialog(HWND owner);
// The shell's folder picker over `owner`, which it disables while it is open (owned by
// anything else, its owner could close under it); the chosen folder in out (capacity bytes,
// cut to fit).
bool BrowseForFolder(HWND owner, char* out, size_t capacity, const char* title);
// The file dialog block of the editor, which lives for the whole run: its buffer keeps the
// last chosen name for the next file dialog.
OPENFILENAMEA* InfoEditFileDialog();
