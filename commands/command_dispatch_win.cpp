#include "commands/command_dispatch.h"

#include "app/app_state.h"
#include "res/command_ids.h"

LRESULT DispatchCommand(WPARAM wParam, LPARAM) {
    // Only the exit command is routed so far.
    if (LOWORD(wParam) == IDM_EXIT) PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
    return 0;
}
