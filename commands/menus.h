// The menus of the main window: the tray menu built from the menu bar, the grid's pop-up.
#pragma once

#include <windows.h>

// A pop-up holding the menu bar's own sub-menus (shared, not copied); null without a menu bar.
HMENU BuildTrayMenu(HWND mainWindow);
// Frees the tray menu without destroying the sub-menus it shares with the menu bar.
void DestroyTrayMenu(HMENU trayMenu);
// The sort command that shows a sort mode: 0 "no sorting", 1 name, 2 count, else both.
UINT SortMenuItemId(int sort);
// Puts the check mark on the sort item of the stored mode (start-up).
void MarkStartupSortItem(HMENU menuBar, int sort);
// The right-click menu's own part: the pop-up menu lines, then "その他" with the window
// settings marked from the options. The caller destroys it.
HMENU BuildGridPopupMenu();
// The main window's right click: selects the cell, shows the menu with the tray menu under
// "メインメニュー", and destroys what it built; the choice arrives as WM_COMMAND.
void ShowGridPopupMenu(int x, int y);
// Shows the built menu; tests replace it (null restores TrackPopupMenu at the pointer).
typedef BOOL (*GridMenuTracker)(HMENU menu, HWND owner);
void SetGridMenuTracker(GridMenuTracker tracker);
