#include "view/grid_view.h"

#include "base/app_state.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "storage/settings.h"
#include "view/entry_tooltips.h"
#include "view/painting.h"
#include "view/window_behaviours.h"

#include <commctrl.h>

static_assert(sizeof(ScrollState) == sizeof(SCROLLINFO), "the scroll record is a SCROLLINFO");
static_assert(kScrollRange == SIF_RANGE && kScrollPage == SIF_PAGE && kScrollPos == SIF_POS,
              "scroll masks");

namespace {

// The scroll bar control carries the scroll state; its enabled state says whether the grid
// scrolls at all, also in the styles where the control is hidden.
bool ScrollBarEnabled() {
    return ScrollBar() && IsWindowEnabled(ScrollBar());
}

void EnableScrollBarControl(bool enabled) {
    EnableWindow(ScrollBar(), enabled ? TRUE : FALSE);
}

void ApplyScrollState(const ScrollState& state, bool redraw) {
    SCROLLINFO info;
    info.cbSize = state.size;
    info.fMask = state.mask;
    info.nMin = state.minimum;
    info.nMax = state.maximum;
    info.nPage = state.page;
    info.nPos = state.position;
    info.nTrackPos = state.trackPosition;
    // A redraw is left to the control's next paint: drawn at once, a tab switch would draw
    // the control twice, as the invalidated main window has it painted again anyway.
    SetScrollInfo(ScrollBar(), SB_CTL, &info, FALSE);
    if (redraw) InvalidateRect(ScrollBar(), nullptr, FALSE);
    // Every scroll, and the reset of a tab switch, puts other entries under the cells.
    RefreshShownTooltip();
}

int CurrentTabEntryCount() {
    return EntryCount(CurrentTab());
}

// Linked before anything runs, so the scroll state always speaks to the real control.
const bool g_scrollBarLinked = [] {
    SetScrollBarLink(ScrollBarLink{ScrollBarEnabled, EnableScrollBarControl, ApplyScrollState,
                                   CurrentTabEntryCount});
    return true;
}();

const UINT kToolInfoSize = TTTOOLINFOA_V2_SIZE; // 44 bytes

RECT ToRect(const GridRect& r) {
    RECT rect = {r.left, r.top, r.right, r.bottom};
    return rect;
}

void ShowChildren(int show) {
    ShowWindow(StatusBar(), show);
    ShowWindow(TabControl(), show);
    ShowWindow(ScrollBar(), show);
}

// The caption and system menu change the frame: the next placement recomputes it.
const UINT kReshapeFlags = SWP_NOMOVE | SWP_FRAMECHANGED;

void ApplyStandardStyle(HWND window, LONG bits) {
    SetWindowLongA(window, GWL_STYLE, bits | WS_CAPTION | WS_SYSMENU);
    EnableWindow(TabControl(), TRUE);
    ShowChildren(SW_SHOW);
    SetMenu(window, MainMenu());
    SetGridLayout(GridLayout{kStandardCell, kStandardCell, kStandardColumns, kStandardRows});
    ResetCursor();
    PlaceMainWindow(window, 0, 0, kStandardWindowWidth, kStandardWindowHeight, kReshapeFlags);
    FitStandardWindowHeight(window);
}

// Tall styles line cells up down the work area, wide ones across it; the cursor stays.
void ApplyBareStyle(HWND window, LONG bits, int style, const RECT& work) {
    SetWindowLongA(window, GWL_STYLE, bits & ~(WS_CAPTION | WS_SYSMENU));
    EnableWindow(TabControl(), FALSE);
    ShowChildren(SW_HIDE);
    SetMenu(window, nullptr);
    GridLayout layout = StoredGridLayout();
    int n = StripCellCount(style, layout.cellWidth, layout.cellHeight, work.right, work.bottom);
    bool tall = style == StyleTall || style == StyleHalfTall;
    layout.columns = tall ? 1 : n;
    layout.rows = tall ? n : 1;
    PlaceMainWindow(window, 0, 0, layout.columns * layout.cellWidth,
                    layout.rows * layout.cellHeight, kReshapeFlags);
    SetGridLayout(layout);
}

} // namespace

void FitStandardWindowHeight(HWND window) {
    RECT client, status;
    GetClientRect(window, &client);
    GetWindowRect(StatusBar(), &status);
    int needed = kTabStripHeight + kStandardRows * kStandardCell + (status.bottom - status.top);
    if (client.bottom >= needed) return;
    // A menu bar that wraps to two lines (or large fonts) takes from the client area; the
    // window grows by what is missing, so the fifth row is not hidden under the status bar.
    RECT outer;
    GetWindowRect(window, &outer);
    PlaceMainWindow(window, 0, 0, outer.right - outer.left,
                    outer.bottom - outer.top + needed - client.bottom, SWP_NOMOVE);
}

void AddCellTools(HWND tooltip, HWND window) {
    for (int row = 0; row < RowCount(); ++row) {
        for (int column = 0; column < ColumnCount(); ++column) {
            TOOLINFOA tool;
            ZeroMemory(&tool, sizeof tool);
            tool.cbSize = kToolInfoSize;
            tool.uFlags = TTF_SUBCLASS;
            tool.hwnd = window;
            tool.uId = VisibleIndex(column, row);
            tool.rect = ToRect(CellRectangle(column, row));
            tool.lpszText = LPSTR_TEXTCALLBACKA;
            SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

void UpdateCellToolRects(HWND tooltip, HWND window) {
    for (int row = 0; row < RowCount(); ++row) {
        for (int column = 0; column < ColumnCount(); ++column) {
            TOOLINFOA tool;
            ZeroMemory(&tool, sizeof tool);
            tool.cbSize = kToolInfoSize;
            tool.hwnd = window;
            tool.uId = VisibleIndex(column, row);
            tool.rect = ToRect(CellRectangle(column, row));
            SendMessageA(tooltip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    RefreshShownTooltip();
}

void ApplyDisplayStyle(int style) {
    if (style < StyleStandard || style > StyleHalfWide) return;
    HWND window = MainWindow();
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    LONG bits = GetWindowLongA(window, GWL_STYLE);
    if (style == StyleStandard) {
        ApplyStandardStyle(window, bits);
    } else {
        ApplyBareStyle(window, bits, style, work);
    }
    ResizeOffscreenBuffer(ColumnCount() * CellWidth(), RowCount() * CellHeight());
    InvalidateRect(window, nullptr, FALSE);
    UpdateCellToolRects(ToolTip(), window);
}

void SwitchDisplayStyle(int style) {
    if (style == GetStyle() || style < StyleStandard || style > StyleHalfWide) return;
    HWND window = MainWindow();
    RECT rect;
    GetWindowRect(window, &rect);
    SetMainWindowPos(GetStyle(), rect.left, rect.top);

    SetStyle(style);
    int pixels = CellSizeOf(GetSize());
    if (pixels != 0) {
        GridLayout layout = StoredGridLayout();
        layout.cellWidth = pixels;
        layout.cellHeight = pixels;
        SetGridLayout(layout);
    }
    ShowWindow(window, SW_HIDE);
    ResetScroll();
    ApplyDisplayStyle(style);
    UpdateScrollRange();

    // Each style comes back where it was left, as stored, without a check against the screen.
    int32_t x = 0, y = 0;
    GetMainWindowPos(style, &x, &y);
    PlaceMainWindow(window, x, y, 0, 0, SWP_NOSIZE);
    InvalidateRect(window, nullptr, FALSE);
    ShowWindow(window, SW_SHOW);
}

void SwitchCellSize(int size) {
    // The standard style keeps its fixed cells; the menu greys the sizes there.
    if (GetStyle() == StyleStandard || size == GetSize()) return;
    if (!SelectCellSize(size)) return;
    HWND window = MainWindow();
    ShowWindow(window, SW_HIDE);
    ResetScroll();
    ApplyDisplayStyle(GetStyle());
    UpdateScrollRange();
    InvalidateRect(window, nullptr, FALSE);
    ShowWindow(window, SW_SHOW);
}
