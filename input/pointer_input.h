// Pointer and keyboard input on the grid (main window messages).
#pragma once

#include <windows.h>

void OnVScroll(HWND window, WPARAM wParam, LPARAM lParam);
void OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam);
void OnLButtonDown(HWND window, WPARAM wParam, LPARAM lParam);
void OnLButtonUp(HWND window, WPARAM wParam, LPARAM lParam);
void OnNcLButtonUp(HWND window, WPARAM wParam, LPARAM lParam);
void OnMouseWheel(HWND window, WPARAM wParam, LPARAM lParam);
void OnKeyUp(HWND window, WPARAM wParam, LPARAM lParam);
void OnKeyDown(HWND window, WPARAM wParam, LPARAM lParam);
