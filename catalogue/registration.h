// Registration of files dropped on the main window.
#pragma once

#include <windows.h>

void OnDropFiles(HWND window, HDROP drop);
