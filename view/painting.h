// Painting of the grid into the back buffer: background, cursor cell, icons with captions
// and grid lines. The main window's WM_PAINT copies the finished grid in one blit.
#pragma once

#include <windows.h>

// Refreshes the desktop-copy background while it is shown.
enum { kDesktopRefreshTimerId = 1, kDesktopRefreshMs = 700 };

void PaintGrid();
void PaintBackground();
void PaintEntries();
void PaintGridLines();
// Draws a caption centred in the cell at (x, y), cut byte by byte until it is narrower than
// the cell.
void PaintCaption(HDC dc, int x, int y, const char* name);
// The caption of an entry (out of 256 bytes): a file's name without its extension, a
// folder's name whole.
void CaptionNameOf(char* out, const char* fileName, DWORD attribute);
// Number of leading bytes of name that PaintCaption draws, with their extent.
int FitCaption(HDC dc, const char* name, int cellWidth, SIZE* extent);

// A two-colour gradient: way 0 from left to right, any other way from top to bottom.
void GradientFill(HDC dc, int x, int y, int width, int height, COLORREF startColour,
                  COLORREF endColour, int way);
void FillColourRect(HDC dc, int left, int top, int right, int bottom, COLORREF colour);

// Re-creates the back buffer's bitmap at the grid's pixel size.
void ResizeOffscreenBuffer(int width, int height);
// Creates the back buffer for the main window (at WM_CREATE).
void CreateBackBuffer(HWND window);
