#include "input/window_behaviours.h"

#include "app/app_state.h"
#include "input/window_snapping.h"
#include "storage/settings.h"

#include <commctrl.h>

namespace {

bool g_summoned;
RECT g_summonSavedRect;
bool g_windowDragActive;
POINT g_dragPointer;
DragTrack g_trackedPos;
int g_pointerInside;
int g_pointerOutside;

// Read anew at each use: the taskbar may have moved since.
RECT WorkArea() {
    RECT work = {0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

ScreenRect ToScreenRect(const RECT& r) {
    ScreenRect out = {r.left, r.top, r.right, r.bottom};
    return out;
}

void CALLBACK AutoHideTimerProc(HWND, UINT, UINT_PTR, DWORD) {
    AutoHideTick();
}

// Shows the window without activating it: the program in use, of this process or another,
// keeps the keyboard. (Taking the activation and handing it back cannot reach a window of
// another thread.)
void ShowWithoutActivating(HWND window) {
    ShowWindow(window, SW_SHOWNA);
}

} // namespace

BOOL PlaceMainWindow(HWND window, int x, int y, int width, int height, UINT flags) {
    HWND order = GetTopMost() == 1 ? HWND_TOPMOST : HWND_NOTOPMOST;
    return SetWindowPos(window, order, x, y, width, height, flags);
}

void StartAutoHide() {
    SetTimer(MainWindow(), kAutoHideTimerId, GetAutoHideTimer(), AutoHideTimerProc);
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

// The window hides at the second tick in a row that finds the pointer outside it, never while
// it is the active window, and shows again at the first tick that finds the pointer over it.
void AutoHideTick() {
    if (g_summoned) return;
    HWND window = MainWindow();
    RECT frame;
    POINT p;
    if (!GetWindowRect(window, &frame) || !GetCursorPos(&p)) return;
    if (frame.left < p.x && p.x < frame.right && frame.top < p.y && p.y < frame.bottom) {
        if (g_pointerInside == 0) ShowWithoutActivating(window);
        g_pointerOutside = 0;
        g_pointerInside = 1;
    } else {
        if (g_pointerOutside == 1 && GetActiveWindow() != window) ShowWindow(window, SW_HIDE);
        g_pointerInside = 0;
        g_pointerOutside = 1;
    }
}

void BeginWindowDrag(HWND window) {
    g_windowDragActive = true;
    SetCapture(window);
    GetCursorPos(&g_dragPointer);
    RECT frame;
    GetWindowRect(window, &frame);
    g_trackedPos.x = frame.left;
    g_trackedPos.y = frame.top;
}

void DragWindowStep(HWND window) {
    POINT p;
    RECT frame, client;
    GetCursorPos(&p);
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    DragPlacement placement =
        SnapDragStep(ToScreenRect(frame), client.right, client.bottom, ToScreenRect(WorkArea()),
                     p.x - g_dragPointer.x, p.y - g_dragPointer.y, &g_trackedPos);
    g_dragPointer = p;
    PlaceMainWindow(window, placement.left, placement.top, 0, 0, SWP_NOSIZE);
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

BOOL KeepInWorkArea(HWND window) {
    RECT frame, client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    int32_t x = 0, y = 0;
    if (!KeepInsideWorkArea(ToScreenRect(frame), client.right, client.bottom,
                            ToScreenRect(WorkArea()), &x, &y))
        return FALSE;
    PlaceMainWindow(window, x, y, 0, 0, SWP_NOSIZE);
    return TRUE;
}

void SummonToPointer() {
    HWND window = MainWindow();
    POINT p;
    GetCursorPos(&p);
    // A second press while summoned keeps the place the first one saved.
    if (!g_summoned) GetWindowRect(window, &g_summonSavedRect);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    PlaceMainWindow(window, p.x, p.y, 0, 0, SWP_NOSIZE);
    KeepInWorkArea(window);
    g_summoned = true;
}

void ReturnFromSummon() {
    if (!g_summoned) return;
    PlaceMainWindow(MainWindow(), g_summonSavedRect.left, g_summonSavedRect.top, 0, 0, SWP_NOSIZE);
    g_summoned = false;
}
