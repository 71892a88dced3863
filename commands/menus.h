// The menus of the main window: the tray menu built from the menu bar, the grid's pop-up.
#pragma once

#include <windows.h>

HMENU BuildTrayMenu(HWND mainWindow);
// Frees the tray menu without destroying the sub-menus it shares with the menu bar.
void DestroyTrayMenu(HMENU trayMenu);
void ShowGridPopupMenu(int x, int y);
