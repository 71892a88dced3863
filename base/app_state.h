// Process-wide handles and values of the application shell. Other modules read them through
// these accessors; only the shell sets them.
#pragma once

#include <windows.h>

HINSTANCE AppInstance();
void SetAppInstance(HINSTANCE instance);
HWND MainWindow();
void SetMainWindow(HWND window);

// The data files beside the executable (1024-byte texts).
const char* SettingsPath();
const char* CachePath();
const char* CacheUserPath();
const char* ProgramFolder();
// Derives the three paths from the module file name.
void SetDataPathsFromModule(const char* moduleFileName);

// Children and menus made when the main window is created.
HWND TabControl();
void SetTabControl(HWND control);
HWND ScrollBar();
void SetScrollBar(HWND control);
HWND StatusBar();
void SetStatusBar(HWND control);
HWND ToolTip();
void SetToolTip(HWND control);
HMENU MainMenu();
void SetMainMenu(HMENU menu);
HMENU TrayMenu();
void SetTrayMenu(HMENU menu);
UINT TaskbarCreatedMessage();
void SetTaskbarCreatedMessage(UINT message);

// A close (WM_CLOSE, WM_ENDSESSION, the exit command) must not run before start-up has finished
// nor while work below the current call walks the catalogue: the close sequence would save a
// document not yet read whole, or free what that work still uses. Such work holds the close;
// a close that arrives meanwhile is only remembered, long work looks for it to stop early, and
// when the last hold ends it is posted to the main window again.
void HoldClose();
void ReleaseClose();
bool IsCloseHeld();
void RememberClose();
bool IsCloseRemembered();

// Holds the close for the life of a scope.
class CloseHold {
  public:
    CloseHold() { HoldClose(); }
    ~CloseHold() { ReleaseClose(); }
    CloseHold(const CloseHold&) = delete;
    CloseHold& operator=(const CloseHold&) = delete;
};

// Version class of the running system: codes 8 and 9 are the Windows 2000 class.
int GetOsVersionCode();
int OsVersionCodeFor(DWORD major, DWORD minor, DWORD platformId, char servicePackFirst);
// Looks up SetLayeredWindowAttributes (Windows 2000 class only) and releases it.
void LoadLayeredFunction();
void FreeLayeredFunction();
bool HasLayeredFunction();
BOOL SetLayeredAlpha(HWND window, int alpha);
