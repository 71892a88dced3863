#include "input/pointer_input.h"

#include "base/app_state.h"
#include "catalogue/tab_names.h"
#include "res/command_ids.h"
#include "storage/settings.h"
#include "view/grid.h"
#include "view/grid_view.h"
#include "view/tab_strip.h"
#include "view/window_behaviours.h"

#include <commctrl.h>

static_assert(ScrollLineUp == SB_LINEUP && ScrollPageDown == SB_PAGEDOWN &&
                  ScrollThumbTrack == SB_THUMBTRACK && ScrollBottom == SB_BOTTOM,
              "scroll requests are the scroll bar's codes");

namespace {

// Entry command that deletes the cursor entry.
const WORD kDeleteEntryCommand = 4;

// The key of the last press not yet released, 0 when none.
UINT g_latchedKey;
// Whether the Enter being handled may launch: set by OnKeyDown before the key's action.
bool g_enterArmed;
POINT g_lastPointerPos;
// Bit 30 of a key message: the key was already down (an auto-repeat).
const LPARAM kKeyWasDown = 0x40000000;

bool ShiftHeld() {
    return GetKeyState(VK_SHIFT) < 0;
}

void Invalidate(HWND window) {
    InvalidateRect(window, nullptr, FALSE);
}

// Client coordinates of a mouse message; signed, so a captured pointer left of or above the
// window does not turn into a far cell.
int PointX(LPARAM lParam) {
    return static_cast<short>(LOWORD(lParam));
}
int PointY(LPARAM lParam) {
    return static_cast<short>(HIWORD(lParam));
}

// Styles other than the standard one change their cell size by one step.
void StepCellSize(int step) {
    if (GetStyle() != StyleStandard) SwitchCellSize(GetSize() + step);
}

bool PointerOverTabStrip() {
    HWND strip = TabControl();
    if (!strip || !IsWindowEnabled(strip)) return false;
    POINT p;
    RECT r;
    GetCursorPos(&p);
    GetWindowRect(strip, &r);
    return p.x > r.left && p.x < r.right && p.y > r.top && p.y < r.bottom;
}

// Key actions. Each row of the key table names one; the first row that matches acts.
void PreviousTab(HWND) {
    int i = CurrentTab();
    if (i > 0) SelectTab(i - 1);
}
void NextTab(HWND) {
    int i = CurrentTab();
    if (i + 1 < static_cast<int>(SendMessageA(TabControl(), TCM_GETITEMCOUNT, 0, 0))) {
        SelectTab(i + 1);
    }
}
void LaunchCursorEntry(HWND window) {
    if (g_enterArmed) PostMessageA(window, WM_LBUTTONDBLCLK, 0, 0);
}
void ScrollUp(HWND window) {
    PostMessageA(window, WM_VSCROLL, SB_LINEUP, 0);
}
void ScrollDown(HWND window) {
    PostMessageA(window, WM_VSCROLL, SB_LINEDOWN, 0);
}
void CursorLeft(HWND window) {
    if (MoveCursorLeft()) Invalidate(window);
}
void CursorRight(HWND window) {
    if (MoveCursorRight()) Invalidate(window);
}
void CursorUp(HWND window) {
    if (MoveCursorUp()) Invalidate(window);
}
void CursorDown(HWND window) {
    if (MoveCursorDown()) Invalidate(window);
}
void LargerCells(HWND) {
    StepCellSize(-1);
}
void SmallerCells(HWND) {
    StepCellSize(+1);
}
void DeleteCursorEntry(HWND window) {
    if (CursorEntryIndex() >= 0) PostMessageA(window, WM_COMMAND, kDeleteEntryCommand, 0);
}
// The pop-up menu for the cursor entry, as a right click in the middle of its cell.
void ContextMenu(HWND window) {
    if (CursorEntryIndex() < 0) return;
    GridRect cell = CellRectangle(CursorColumn(), CursorRow());
    int x = (cell.left + cell.right) / 2;
    int y = (cell.top + cell.bottom) / 2;
    SendMessageA(window, WM_RBUTTONDOWN, 0, MAKELPARAM(x, y));
}
void ToggleAutoHideKey(HWND) {
    SetAutoHide(GetAutoHide() ? 0 : 1);
    if (GetAutoHide()) {
        StartAutoHide();
    } else {
        StopAutoHide();
    }
}
void ToggleMoveLockKey(HWND) {
    SetMoveLock(GetMoveLock() ? 0 : 1);
}
// Only the option: the z-order follows at the window's next placement.
void ToggleTopMostKey(HWND) {
    SetTopMost(GetTopMost() ? 0 : 1);
}
void CycleStyle(HWND) {
    CycleDisplayStyle();
}
// The dialogs are reached through their menu commands, so keys and menu open the same one.
void OpenSearch(HWND window) {
    SendMessageA(window, WM_COMMAND, IDM_SEARCH, 0);
}
void OpenRebuild(HWND window) {
    SendMessageA(window, WM_COMMAND, IDM_REBUILD, 0);
}

enum KeyCondition { AnyShift, WithShift, WithoutShift };

struct KeyRow {
    UINT key;
    KeyCondition when;
    void (*act)(HWND window);
};

const KeyRow kKeyTable[] = {
    {VK_BACK, AnyShift, PreviousTab},
    {'B', AnyShift, PreviousTab},
    {'N', AnyShift, NextTab},
    {VK_RETURN, AnyShift, LaunchCursorEntry},
    {VK_PRIOR, AnyShift, ScrollUp},
    {VK_NEXT, AnyShift, ScrollDown},
    {VK_LEFT, AnyShift, CursorLeft},
    {VK_RIGHT, AnyShift, CursorRight},
    {VK_UP, WithoutShift, CursorUp},
    {VK_UP, WithShift, LargerCells},
    {VK_DOWN, WithoutShift, CursorDown},
    {VK_DOWN, WithShift, SmallerCells},
    {VK_DELETE, AnyShift, DeleteCursorEntry},
    {'D', WithShift, DeleteCursorEntry},
    {VK_APPS, AnyShift, ContextMenu},
    {'A', WithShift, ToggleAutoHideKey},
    {'M', WithShift, ToggleMoveLockKey},
    {'T', WithShift, ToggleTopMostKey},
    {'W', WithShift, CentreHorizontally},
    {'Q', WithShift, CentreVertically},
    {'S', WithShift, CycleStyle},
    {'S', WithoutShift, OpenSearch},
    {'H', AnyShift, OpenSearch},
    {'R', AnyShift, OpenRebuild},
};

const KeyRow* FindKeyRow(UINT key, bool shift) {
    for (const KeyRow& row : kKeyTable) {
        if (row.key != key) continue;
        if (row.when == AnyShift || (row.when == WithShift) == shift) return &row;
    }
    return nullptr;
}

} // namespace

// A key whose release went to a dialog or box it opened (S, H, R, Delete's question) is no
// longer held: its latch must not swallow the next press of Enter.
bool KeyDownLatch() {
    return g_latchedKey != 0 && GetKeyState(static_cast<int>(g_latchedKey)) < 0;
}
POINT LastPointerPos() {
    return g_lastPointerPos;
}

// A held Enter launches once (its repeats carry the was-down bit), and Enter pressed while
// another key is held does nothing.
int OnKeyDown(HWND window, UINT, WPARAM wParam, LPARAM lParam, LRESULT*) {
    g_enterArmed = (lParam & kKeyWasDown) == 0 && !KeyDownLatch();
    if (const KeyRow* row = FindKeyRow(LOWORD(wParam), ShiftHeld())) row->act(window);
    g_latchedKey = LOWORD(wParam);
    return 0;
}

int OnKeyUp(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    g_latchedKey = 0;
    return 0;
}

int OnLButtonDown(HWND window, UINT, WPARAM, LPARAM lParam, LRESULT*) {
    SetCursorFromPoint(PointX(lParam), PointY(lParam));
    if (GetMoveLock() == 0) BeginWindowDrag(window);
    Invalidate(window);
    return 0;
}

int OnLButtonUp(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    EndWindowDrag(true);
    return 0;
}

int OnNcLButtonUp(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    EndWindowDrag(false);
    return 0;
}

int OnMouseMove(HWND window, UINT, WPARAM, LPARAM lParam, LRESULT*) {
    if (WindowDragActive() && GetKeyState(VK_LBUTTON) < 0) {
        DragWindowStep(window);
        return 0;
    }
    EndWindowDrag(false);
    g_lastPointerPos.x = LOWORD(lParam);
    g_lastPointerPos.y = HIWORD(lParam);
    return 0;
}

// One message is one step, whatever number of notches it carries.
int OnMouseWheel(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
    bool upward = static_cast<short>(HIWORD(wParam)) > 0;
    if (ShiftHeld()) {
        StepCellSize(upward ? -1 : +1);
    } else if (PointerOverTabStrip() || GetKeyState(VK_LBUTTON) < 0) {
        PostMessageA(TabControl(), message, wParam, lParam);
    } else if (ScrollingEnabled()) {
        SendMessageA(window, WM_VSCROLL, upward ? SB_LINEUP : SB_LINEDOWN, 0);
    }
    return 0;
}

int OnVScroll(HWND window, UINT, WPARAM wParam, LPARAM, LRESULT*) {
    const ScrollState& state = CurrentScrollState();
    SetScrollPosition(ScrollRequestPosition(state, LOWORD(wParam), HIWORD(wParam)));
    Invalidate(window);
    return 0;
}

void CycleDisplayStyle() {
    HWND window = MainWindow();
    RECT rect;
    GetWindowRect(window, &rect);
    SetMainWindowPos(GetStyle(), rect.left, rect.top);

    int style = (GetStyle() + 1) % kDisplayStyles;
    SetStyle(style);
    int pixels = CellSizeOf(GetSize());
    if (pixels != 0) {
        GridLayout layout = StoredGridLayout();
        layout.cellWidth = pixels;
        layout.cellHeight = pixels;
        SetGridLayout(layout);
    }
    // Moved while still showing its old shape, then reshaped out of sight.
    int32_t x = 0, y = 0;
    GetMainWindowPos(style, &x, &y);
    PlaceMainWindow(window, x, y, 0, 0, SWP_NOSIZE);
    ShowWindow(window, SW_HIDE);
    ApplyDisplayStyle(style);
    UpdateScrollRange();
    SetScrollRow(0);
    Invalidate(window);
    ShowWindow(window, SW_SHOW);
}
