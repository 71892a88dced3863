#include "input/window_behaviours.h"

#include "app/app_state.h"
#include "storage/settings.h"

#include <commctrl.h>

namespace {

bool g_summoned;
RECT g_summonSavedRect;
bool g_windowDragActive;

RECT WorkArea() {
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

void CALLBACK AutoHideTick(HWND, UINT, UINT_PTR, DWORD) {
    // Hiding while the pointer is elsewhere is not built yet; the timer only runs.
}

} // namespace

BOOL PlaceMainWindow(HWND window, int x, int y, int width, int height, UINT flags) {
    HWND order = GetTopMost() == 1 ? HWND_TOPMOST : HWND_NOTOPMOST;
    return SetWindowPos(window, order, x, y, width, height, flags);
}

void StartAutoHide() {
    SetTimer(MainWindow(), kAutoHideTimerId, GetAutoHideTimer(), AutoHideTick);
}

void StopAutoHide() {
    KillTimer(MainWindow(), kAutoHideTimerId);
    ShowWindow(MainWindow(), SW_SHOW);
}

BOOL RegisterSummonHotKey(int hotKey, int id) {
    UINT flags = (hotKey >> 8) & 0xFF;
    UINT modifiers = 0;
    if (flags & HOTKEYF_ALT) modifiers |= MOD_ALT;
    if (flags & HOTKEYF_CONTROL) modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_SHIFT) modifiers |= MOD_SHIFT;
    return RegisterHotKey(MainWindow(), id, modifiers, hotKey & 0xFF);
}

BOOL UnregisterSummonHotKey(int id) {
    return UnregisterHotKey(MainWindow(), id);
}

void BeginWindowDrag(HWND window) {
    g_windowDragActive = true;
    SetCapture(window);
}

void DragWindowStep(HWND) {
    // Moving the window with the pointer and snapping it to the edges is not built yet.
}

void EndWindowDrag(bool releaseCapture) {
    g_windowDragActive = false;
    if (releaseCapture) ReleaseCapture();
}

bool WindowDragActive() {
    return g_windowDragActive;
}

// The work area's right and bottom coordinates are halved, not its width and height; the
// client size stands for the window's.
void CentreHorizontally(HWND window) {
    RECT work = WorkArea(), client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    PlaceMainWindow(window, work.right / 2 - client.right / 2, frame.top, 0, 0, SWP_NOSIZE);
}

void CentreVertically(HWND window) {
    RECT work = WorkArea(), client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    PlaceMainWindow(window, frame.left, work.bottom / 2 - client.bottom / 2, 0, 0, SWP_NOSIZE);
}

bool IsSummoned() {
    return g_summoned;
}
RECT SummonSavedRect() {
    return g_summonSavedRect;
}

void SummonToPointer() {
    // Bringing the window to the pointer is not built yet.
}

void ReturnFromSummon() {
    // Nothing to return from until summoning exists.
}
