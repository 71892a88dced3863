// The window's own behaviours: placement, top-most, auto-hide, the summoning hot key.
#pragma once

#include "view/monitor_areas.h"

#include <windows.h>

enum { kSummonHotKeyId = 396, kAutoHideTimerId = 4 };

// The one routine that moves or resizes the main window; re-applies the top-most state.
BOOL PlaceMainWindow(HWND window, int x, int y, int width, int height, UINT flags);
void StartAutoHide();
void StopAutoHide();
// The body of the auto-hide timer (id 4, which has a procedure of its own).
void AutoHideTick();
BOOL RegisterSummonHotKey(int hotKey, int id);
BOOL UnregisterSummonHotKey(int id);

// Window drag by the grid: a left-button press begins it (unless the position is locked),
// mouse moves with the button down step it, the release ends it.
void BeginWindowDrag(HWND window);
void DragWindowStep(HWND window);
// Clears the drag flag; releaseCapture also gives the mouse back (the button's release).
void EndWindowDrag(bool releaseCapture);
bool WindowDragActive();

// "The work area" below is that of the monitor that holds most of the window.
// Moves the window back into the work area when it passes an edge; whether it moved.
BOOL KeepInWorkArea(HWND window);
// Whether any monitor shows the point: a stored position is applied only then.
bool IsShownOnAMonitor(int x, int y);
// Where the monitors come from; tests stand in for more than one. Null restores the system's.
void SetMonitorLister(MonitorLister lister);
// Shift+W and Shift+Q: centre the window in the work area along one axis.
void CentreHorizontally(HWND window);
void CentreVertically(HWND window);

// Summon state: set while the hot key has brought the window to the pointer.
bool IsSummoned();
RECT SummonSavedRect();
void SummonToPointer();
void ReturnFromSummon();
