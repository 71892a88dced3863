#include "commands/menus.h"

#include "base/app_state.h"
#include "commands/entry_commands.h"
#include "commands/launch.h"
#include "res/command_ids.h"
#include "res/window_command_ids.h"
#include "storage/menu_commands.h"
#include "storage/settings.h"
#include "view/grid.h"

namespace {

// Positions of the menu bar's items: the "File" pop-up, the menu editor command, then the
// pop-ups "Sort", "Settings", "Other" and "Help".
enum { kFileMenuPosition = 0, kFirstSharedPosition = 2, kLastSharedPosition = 5 };

const char kFileTitle[] = "ファイル";
const char kMenuEditTitle[] = "メニュー編集";
const char kExitTitle[] = "終了";
const char* const kSharedTitles[] = {"ソート", "設定", "その他", "ヘルプ"};

void AppendSubMenu(HMENU menu, HMENU subMenu, const char* title) {
    AppendMenuA(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(subMenu), title);
}

const char kOpenWithCancelText[] = "他のアプリで開くをキャンセル";
const char kOtherTitle[] = "その他";
const char kStyleTitle[] = "表示スタイル";
const char kSizeTitle[] = "サイズ";
const char kMainMenuTitle[] = "メインメニュー";
const char kTopMostText[] = "最前面にする";
const char kMoveLockText[] = "位置を固定";
const char kAutoHideText[] = "自動的に隠す";

struct MenuLine {
    UINT id; // 0 for a separator
    const char* text;
};

const MenuLine kStyleLines[] = {
    {IDM_STYLE_STANDARD, "標準"},
    {IDM_STYLE_TALL, "縦長"},
    {IDM_STYLE_WIDE, "横長"},
    {0, nullptr},
    {IDM_STYLE_HALF_TALL, "ハーフ縦長"},
    {IDM_STYLE_HALF_WIDE, "ハーフ横長"},
};
const MenuLine kSizeLines[] = {
    {IDM_SIZE_STANDARD, "標準"},
    {IDM_SIZE_SMALL, "小"},
    {IDM_SIZE_SMALLEST, "最小"},
};

template <size_t N> HMENU BuildLines(const MenuLine (&lines)[N]) {
    HMENU menu = CreatePopupMenu();
    for (const MenuLine& line : lines) {
        if (line.id == 0)
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuA(menu, MF_STRING, line.id, line.text);
    }
    return menu;
}

void SetItemState(HMENU menu, UINT id, UINT state) {
    MENUITEMINFOA item;
    ZeroMemory(&item, sizeof item);
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE;
    item.fState = state;
    SetMenuItemInfoA(menu, id, FALSE, &item);
}

// The window settings: styles, sizes and the three switches, marked from the options.
HMENU BuildOtherMenu() {
    HMENU styles = BuildLines(kStyleLines);
    SetItemState(styles, IDM_STYLE_STANDARD + GetStyle(), MFS_CHECKED);
    HMENU sizes = BuildLines(kSizeLines);
    if (GetStyle() == 0) {
        for (const MenuLine& line : kSizeLines)
            SetItemState(sizes, line.id, MFS_GRAYED);
    } else {
        SetItemState(sizes, IDM_SIZE_STANDARD + GetSize(), MFS_CHECKED);
    }
    HMENU other = CreatePopupMenu();
    AppendSubMenu(other, styles, kStyleTitle);
    AppendSubMenu(other, sizes, kSizeTitle);
    AppendMenuA(other, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(other, MF_STRING, IDM_TOP_MOST, kTopMostText);
    AppendMenuA(other, MF_STRING, IDM_MOVE_LOCK, kMoveLockText);
    AppendMenuA(other, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(other, MF_STRING, IDM_AUTO_HIDE, kAutoHideText);
    if (GetTopMost()) SetItemState(other, IDM_TOP_MOST, MFS_CHECKED);
    if (GetMoveLock()) SetItemState(other, IDM_MOVE_LOCK, MFS_CHECKED);
    if (GetAutoHide()) SetItemState(other, IDM_AUTO_HIDE, MFS_CHECKED);
    return other;
}

BOOL TrackWithSystem(HMENU menu, HWND owner) {
    POINT pointer;
    GetCursorPos(&pointer);
    // The owner must be in the foreground, or the menu stays open when the user clicks
    // elsewhere; WM_NULL afterwards lets it close properly.
    SetForegroundWindow(owner);
    BOOL shown = TrackPopupMenu(menu, TPM_LEFTBUTTON, pointer.x, pointer.y, 0, owner, nullptr);
    PostMessageA(owner, WM_NULL, 0, 0);
    return shown;
}

GridMenuTracker g_tracker = TrackWithSystem;

} // namespace

HMENU BuildTrayMenu(HWND mainWindow) {
    HMENU bar = GetMenu(mainWindow);
    if (!bar) return nullptr;
    HMENU tray = CreatePopupMenu();
    if (!tray) return nullptr;
    AppendSubMenu(tray, GetSubMenu(bar, kFileMenuPosition), kFileTitle);
    AppendMenuA(tray, MF_STRING, IDM_MENU_EDIT, kMenuEditTitle);
    for (int position = kFirstSharedPosition; position <= kLastSharedPosition; ++position) {
        AppendSubMenu(tray, GetSubMenu(bar, position),
                      kSharedTitles[position - kFirstSharedPosition]);
    }
    AppendMenuA(tray, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(tray, MF_STRING, IDM_EXIT, kExitTitle);
    return tray;
}

void DestroyTrayMenu(HMENU trayMenu) {
    if (!trayMenu) return;
    // The sub-menus belong to the menu bar: detach them so that only the bar destroys them.
    for (int position = GetMenuItemCount(trayMenu) - 1; position >= 0; --position) {
        if (GetSubMenu(trayMenu, position)) RemoveMenu(trayMenu, position, MF_BYPOSITION);
    }
    DestroyMenu(trayMenu);
}

UINT SortMenuItemId(int sort) {
    switch (sort) {
    case 0: return IDM_SORT_NONE;
    case 1: return IDM_SORT_NAME;
    case 2: return IDM_SORT_COUNT;
    default: return IDM_SORT_COUNT_NAME;
    }
}

void MarkStartupSortItem(HMENU menuBar, int sort) {
    if (!menuBar) return;
    MENUITEMINFOA item;
    ZeroMemory(&item, sizeof item);
    item.cbSize = sizeof item;
    item.fMask = MIIM_STATE;
    item.fState = MFS_CHECKED;
    SetMenuItemInfoA(menuBar, SortMenuItemId(sort), FALSE, &item);
}

HMENU BuildGridPopupMenu() {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    MenuCommand line;
    for (int index = 0; GetMenuCommand(index, &line); ++index) {
        if (line.MenuID == kMenuSeparatorId) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        bool cancels = line.MenuID == kToggleOpenWithId && OpenWithPending();
        AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(line.MenuID),
                    cancels ? kOpenWithCancelText : line.MenuName);
    }
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendSubMenu(menu, BuildOtherMenu(), kOtherTitle);
    return menu;
}

void SetGridMenuTracker(GridMenuTracker tracker) {
    g_tracker = tracker ? tracker : TrackWithSystem;
}

void ShowGridPopupMenu(int x, int y) {
    SetCursorFromPoint(x, y);
    InvalidateRect(MainWindow(), nullptr, FALSE);
    HMENU menu = BuildGridPopupMenu();
    if (!menu) return;
    HMENU tray = TrayMenu();
    if (tray) {
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendSubMenu(menu, tray, kMainMenuTitle);
    }
    g_tracker(menu, MainWindow());
    // The tray menu lives as long as the window: it is taken out before the rest is destroyed.
    for (int position = GetMenuItemCount(menu) - 1; tray && position >= 0; --position) {
        if (GetSubMenu(menu, position) == tray) RemoveMenu(menu, position, MF_BYPOSITION);
    }
    DestroyMenu(menu);
}
