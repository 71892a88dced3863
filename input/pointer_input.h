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
