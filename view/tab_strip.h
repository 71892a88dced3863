// The tab strip across the top of the main window; its items hold the tab names.
#pragma once

#include <windows.h>

enum { kTabStripId = 16 };

// Commands of the tab strip's context menu.
enum TabCommand {
    TabCommandRename = 1,
    TabCommandDelete = 2,
    TabCommandMoveLeft = 3,
    TabCommandMoveRight = 4,
};

HWND CreateTabStrip(HWND parent, int x, int y, int width, int height, int id, HINSTANCE instance);
LRESULT CALLBACK TabStripProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
// The items' font, made with the control and deleted with it.
HFONT TabFont();
// Owner draw of one item (a request of control type ODT_TAB).
void DrawTabItem(const DRAWITEMSTRUCT* drawItem);
// Selects item i and tells the strip, as a click does.
void SelectTab(int i);
// Runs the rename dialog for the current tab modally over owner. The dialogs sit on a floor
// above the strip, so the application installs it at start; without one, renaming does nothing.
typedef void (*TabRenameDialogRunner)(HWND owner);
void SetTabRenameDialogRunner(TabRenameDialogRunner runner);
