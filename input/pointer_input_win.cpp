#include "input/pointer_input.h"

// Pointer and keyboard handling of the grid is not built yet: these handlers accept their
// messages and do nothing.
void OnVScroll(HWND, WPARAM, LPARAM) {}
void OnMouseMove(HWND, WPARAM, LPARAM) {}
void OnLButtonDown(HWND, WPARAM, LPARAM) {}
void OnLButtonUp(HWND, WPARAM, LPARAM) {}
void OnNcLButtonUp(HWND, WPARAM, LPARAM) {}
void OnMouseWheel(HWND, WPARAM, LPARAM) {}
void OnKeyUp(HWND, WPARAM, LPARAM) {}
void OnKeyDown(HWND, WPARAM, LPARAM) {}
