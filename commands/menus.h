// The menus and the command dispatch of the main window.
#pragma once

#include <windows.h>

HMENU BuildTrayMenu(HWND mainWindow);
// Frees the tray menu without destroying the sub-menus it shares with the menu bar.
void DestroyTrayMenu(HMENU trayMenu);
void ShowGridPopupMenu(int x, int y);
LRESULT DispatchCommand(WPARAM wParam, LPARAM lParam);
