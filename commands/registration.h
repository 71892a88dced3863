// Registration of files dropped on the main window, and Shift-drops that hand the dropped
// files to an entry as its arguments.
#pragma once

#include <windows.h>
#include <shellapi.h>

enum { kDropArgumentsSize = 2048 };

// WM_DROPFILES: registers the dropped files in the current tab, or with Shift held launches
// the entry under the pointer with them; always releases the drop.
void OnDropFiles(HWND window, HDROP drop);
// Appends one entry per dropped file to tab t, in drop order: 1, or 0 for a negative t.
int RegisterDroppedFiles(HDROP drop, int t);
