#include "input/pointer_input.h"

// Pointer and keyboard handling of the grid is not built yet: these handlers accept their
// messages and do nothing.
int OnVScroll(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    return 0;
}
int OnMouseMove(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    return 0;
}
int OnLButtonDown(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    return 0;
}
int OnLButtonUp(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    return 0;
}
int OnNcLButtonUp(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    return 0;
}
int OnMouseWheel(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    return 0;
}
int OnKeyUp(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    return 0;
}
int OnKeyDown(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    return 0;
}
