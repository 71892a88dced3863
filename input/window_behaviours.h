// The window's own behaviours: placement, top-most, auto-hide, the summoning hot key.
#pragma once

#include <windows.h>

enum { kSummonHotKeyId = 396, kAutoHideTimerId = 4 };

// The one routine that moves or resizes the main window; re-applies the top-most state.
BOOL PlaceMainWindow(HWND window, int x, int y, int width, int height, UINT flags);
void StartAutoHide();
void StopAutoHide();
BOOL RegisterSummonHotKey(int hotKey, int id);
BOOL UnregisterSummonHotKey(int id);

// Summon state: set while the hot key has brought the window to the pointer.
bool IsSummoned();
RECT SummonSavedRect();
void SummonToPointer();
void ReturnFromSummon();
