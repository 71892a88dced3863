// The grid's window side: display styles and cell sizes that reshape the main window, the
// scroll bar control behind the scroll state, and the tooltip tools of the cells.
#pragma once

#include "view/grid.h"

#include <windows.h>

// Outer size of the main window in the standard style.
enum { kStandardWindowWidth = 414, kStandardWindowHeight = 420 };

// Makes the standard-style window tall enough for the tab strip, five whole rows and the
// status bar below them; a window that has the room keeps its height.
void FitStandardWindowHeight(HWND window);
void AddCellTools(HWND tooltip, HWND window);
void UpdateCellToolRects(HWND tooltip, HWND window);
// Reshapes the main window for a display style 0..4 (other values are ignored).
void ApplyDisplayStyle(int style);
// Window-menu commands: change the style or the cell size, keeping each style's position.
void SwitchDisplayStyle(int style);
void SwitchCellSize(int size);
