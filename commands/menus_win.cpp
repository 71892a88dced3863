#include "commands/menus.h"

#include "res/command_ids.h"

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

void ShowGridPopupMenu(int, int) {
    // The grid's pop-up menu is not built yet.
}
