// Painting of the grid into the back buffer.
#pragma once

#include <windows.h>

void PaintGrid();
// Re-creates the back buffer's bitmap at the grid's pixel size.
void ResizeOffscreenBuffer(int width, int height);
// Creates the back buffer for the main window (at WM_CREATE).
void CreateBackBuffer(HWND window);
