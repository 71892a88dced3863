#include "input/window_behaviours.h"

#include "app/app_state.h"
#include "storage/settings.h"

#include <commctrl.h>

namespace {

bool g_summoned;
RECT g_summonSavedRect;

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
