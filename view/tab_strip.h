// The tab strip across the top of the main window; its items hold the tab names.
#pragma once

#include <windows.h>

enum { kTabStripId = 16 };

HWND CreateTabStrip(HWND parent, int x, int y, int width, int height, int id, HINSTANCE instance);
