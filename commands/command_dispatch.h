// The main window's WM_COMMAND: menu bar commands, window commands, entry commands and the
// user commands of the pop-up list.
#pragma once

#include <windows.h>

LRESULT DispatchCommand(WPARAM wParam, LPARAM lParam);
