// The two tab name dialogs: a new tab, and a new name for the current one.
#pragma once

#include <windows.h>

extern const char kTabCreateDialogName[]; // "TAB_CREATE_DIALOG"
extern const char kTabRenameDialogName[]; // "TAB_RENAME_DIALOG"

// Both end with 1 after OK and 7 after WM_CLOSE.
INT_PTR CALLBACK CreateTabDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK RenameTabDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The name field of both dialogs: no space may start a name.
LRESULT CALLBACK TabNameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
void SubclassTabNameEdit(HWND edit);

enum TabNameCheck { TabNameEmpty, TabNameRefused, TabNameAccepted };
// Reads the name field into `name` (kTabNameSize bytes) and checks it, telling the user
// why a name is refused; a refused name leaves the dialog open with its text.
TabNameCheck ReadTabName(HWND dialog, int editId, char* name);

enum { kDialogEndedByOk = 1, kDialogEndedByClose = 7 };
