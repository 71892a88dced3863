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
void LoadAll();
void ShowMainWindow();
int RunMessageLoop();

void CloseApplication(HWND window);
