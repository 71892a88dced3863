// The main window's WM_COMMAND: menu bar commands, window commands, entry commands and the
// user commands of the pop-up list.
#pragma once

#include <windows.h>

LRESULT DispatchCommand(WPARAM wParam, LPARAM lParam);
// True for the ids of the two command tables (menu bar and window); others are user commands.
bool IsRoutedCommand(int id);
// Runs the first pop-up menu line with this id on the entry under the grid cursor.
void RunUserCommand(int id);
// Window-menu switches 48, 49 and 50 (the key handlers switch the same options).
void ToggleTopMost();
void ToggleMoveLock();
void ToggleAutoHide();
// Opens QDX.chm beside the program, or says that it is missing.
void ShowHelp();
// Gives the tab strip and the entry commands, which lie below the dialogs, the two dialogs
// they open: the tab rename and the entry information editor.
void InstallDialogRunners();
