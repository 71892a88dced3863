// The grid's window side: display styles and cell sizes, the scroll bar range, the cursor
// and the tooltip tools of the cells.
#pragma once

#include <windows.h>

void ResetScroll();
void UpdateScrollRange();
void AddCellTools(HWND tooltip, HWND window);
void UpdateCellToolRects(HWND tooltip, HWND window);
bool SelectCellSize(int size);
void ApplyDisplayStyle(int style);
void SwitchDisplayStyle(int style);
void SwitchCellSize(int size);
