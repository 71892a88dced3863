// The main window of class "VARROW": its procedure and message table.
#pragma once

#include <windows.h>

extern const char kMainClassName[];   // "VARROW"
extern const char kMainWindowTitle[]; // "Varrowin"
enum { kStatusBarId = 2, kScrollBarId = 1 };

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Rows of the message table (for tests): the message id of row i, 34 rows.
int MessageTableSize();
UINT MessageTableId(int row);
