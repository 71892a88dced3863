// The grid's window side: the scroll bar range and the tooltip tools of the cells.
#pragma once

#include <windows.h>

void ResetScroll();
void UpdateScrollRange();
void AddCellTools(HWND tooltip, HWND window);
void UpdateCellToolRects(HWND tooltip, HWND window);
