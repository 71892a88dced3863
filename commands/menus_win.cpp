#include "commands/menus.h"

#include "app/app_state.h"
#include "res/command_ids.h"

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

LRESULT DispatchCommand(WPARAM wParam, LPARAM) {
    // Only the exit command is routed so far.
    if (LOWORD(wParam) == IDM_EXIT) PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
    return 0;
}
