#include "view/window_behaviours.h"

#include "base/app_state.h"
#include "view/monitor_areas.h"
#include "storage/settings.h"
#include "view/window_snapping.h"

#include <commctrl.h>

namespace {

bool g_summoned;
RECT g_summonSavedRect;
bool g_windowDragActive;
POINT g_dragPointer;
DragTrack g_trackedPos;
int g_pointerInside;
int g_pointerOutside;

ScreenRect ToScreenRect(const RECT& r) {
    ScreenRect out = {r.left, r.top, r.right, r.bottom};
    return out;
}

struct MonitorList {
    MonitorArea* areas;
    int capacity, count;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MonitorList* list = reinterpret_cast<MonitorList*>(data);
    MONITORINFO info;
    info.cbSize = sizeof info;
    if (list->count >= list->capacity || !GetMonitorInfoA(monitor, &info)) return TRUE;
    MonitorArea area = {ToScreenRect(info.rcMonitor), ToScreenRect(info.rcWork)};
    // The primary monitor goes first: it is the one to fall back on.
    int at = (info.dwFlags & MONITORINFOF_PRIMARY) ? 0 : list->count;
    for (int i = list->count; i > at; --i)
        list->areas[i] = list->areas[i - 1];
    list->areas[at] = area;
    ++list->count;
    return TRUE;
}

int ListDisplayMonitors(MonitorArea* out, int capacity) {
    MonitorList list = {out, capacity, 0};
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
    return list.count;
}

MonitorLister g_listMonitors = ListDisplayMonitors;

// The monitors as they are now (read anew at each use: a monitor or the taskbar may have
// moved since). Without any, the primary work area stands alone.
int CurrentMonitors(MonitorArea* out) {
    int n = g_listMonitors(out, kMaxMonitors);
    if (n > 0) return n;
    RECT work = {0, 0, 0, 0};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    out[0].monitor = ToScreenRect(screen);
    out[0].work = ToScreenRect(work);
    return 1;
}

// The monitor that holds most of the window.
MonitorArea MonitorOfWindow(HWND window) {
    MonitorArea monitors[kMaxMonitors];
    int n = CurrentMonitors(monitors);
    RECT frame;
    GetWindowRect(window, &frame);
    return monitors[MonitorOfRect(monitors, n, ToScreenRect(frame))];
}

MonitorArea MonitorUnder(POINT p) {
    MonitorArea monitors[kMaxMonitors];
    int n = CurrentMonitors(monitors);
    return monitors[MonitorOfPoint(monitors, n, p.x, p.y)];
}

BOOL KeepInWorkAreaOf(HWND window, const MonitorArea& monitor) {
    RECT frame, client;
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    int32_t x = 0, y = 0;
    if (!KeepInsideWorkAreaOf(monitor, ToScreenRect(frame), client.right, client.bottom, &x, &y))
        return FALSE;
    PlaceMainWindow(window, x, y, 0, 0, SWP_NOSIZE);
    return TRUE;
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
    MonitorArea monitors[kMaxMonitors];
    DragPlacement placement = SnapDragStepUnder(
        monitors, CurrentMonitors(monitors), p.x, p.y, ToScreenRect(frame), client.right,
        client.bottom, p.x - g_dragPointer.x, p.y - g_dragPointer.y, &g_trackedPos);
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
    RECT client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    PlaceMainWindow(window, CentredLeft(MonitorOfWindow(window), client.right), frame.top, 0, 0,
                    SWP_NOSIZE);
}

void CentreVertically(HWND window) {
    RECT client, frame;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    PlaceMainWindow(window, frame.left, CentredTop(MonitorOfWindow(window), client.bottom), 0, 0,
                    SWP_NOSIZE);
}

bool IsSummoned() {
    return g_summoned;
}
RECT SummonSavedRect() {
    return g_summonSavedRect;
}

BOOL KeepInWorkArea(HWND window) {
    return KeepInWorkAreaOf(window, MonitorOfWindow(window));
}

bool IsShownOnAMonitor(int x, int y) {
    MonitorArea monitors[kMaxMonitors];
    return PointOnAnyMonitor(monitors, CurrentMonitors(monitors), x, y);
}

void SetMonitorLister(MonitorLister lister) {
    g_listMonitors = lister ? lister : ListDisplayMonitors;
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
    // The window came to the pointer, so it stays on the pointer's monitor.
    KeepInWorkAreaOf(window, MonitorUnder(p));
    g_summoned = true;
}

void ReturnFromSummon() {
    if (!g_summoned) return;
    PlaceMainWindow(MainWindow(), g_summonSavedRect.left, g_summonSavedRect.top, 0, 0, SWP_NOSIZE);
    g_summoned = false;
}
