#include "commands/menus.h"

HMENU BuildTrayMenu(HWND) {
    // The tray menu is not built yet.
    return nullptr;
}

void DestroyTrayMenu(HMENU trayMenu) {
    if (trayMenu) DestroyMenu(trayMenu);
}

void ShowGridPopupMenu(int, int) {
    // The grid's pop-up menu is not built yet.
}
