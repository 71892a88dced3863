// Start-up, the single-instance guard and the orderly close of the application.
#pragma once

#include <windows.h>

extern const char kInstanceMutexName[]; // "VARROW_M_"

// The whole life of the process: returns its exit code.
int RunApplication(HINSTANCE instance);

// The pieces of start-up, in their order.
HANDLE AcquireSingleInstance(); // null when another copy runs
void InitDataPaths();           // paths from the module name; its folder becomes current
bool RegisterMainClass(HINSTANCE instance);
DWORD MainWindowExStyle(int osVersionCode);
HWND CreateMainWindow(HINSTANCE instance);
void ApplyDefaultSettings();
// LoadAll is both halves: LoadForFirstPaint loads everything but the entries of the tabs not
// shown first and the strip items that do not show, which the message loop then loads
// between messages (CompleteCatalogue loads them at once), and drops the parsed settings
// after them.
void LoadAll();
void LoadForFirstPaint();
void ShowMainWindow();
int RunMessageLoop();

void CloseApplication(HWND window);
