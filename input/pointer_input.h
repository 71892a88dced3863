// Pointer and keyboard input on the grid: rows of the main window's message table, with the
// table's handler signature (the result is ignored; every row answers 0).
#pragma once

#include <windows.h>

int OnVScroll(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
int OnMouseMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
int OnLButtonDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
int OnLButtonUp(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
int OnNcLButtonUp(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
int OnMouseWheel(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
int OnKeyUp(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
int OnKeyDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// Set by every key press after it is handled, cleared by every release or once the pressed key
// is no longer held: Enter launches only while it is clear.
bool KeyDownLatch();
// Client position of the last mouse move outside a window drag (the tooltip's cell).
POINT LastPointerPos();
// Shift+S: the next display style of 0..4, each at its remembered position.
void CycleDisplayStyle();
