// Launching: every program, document or folder is started through Launch, on a worker
// thread of its own that calls the shell and waits until the started process is idle.
#pragma once

#include <windows.h>
#include <shellapi.h>

enum LaunchMode { Normal = 0, ParentFolder = 1 };
// The argument line is as long as the longest line a Shift-drop builds, so the dropped files
// that fitted there are never cut off on their way to the shell.
enum { kLaunchTextSize = 1024, kLaunchArgumentsSize = 2048 };

// Allocated zero-filled by StartLaunchThread, owned and freed by its worker.
struct LaunchRequest {
    HWND owner;
    char path[kLaunchTextSize];
    char arguments[kLaunchArgumentsSize];
    char workingFolder[kLaunchTextSize];
    SHELLEXECUTEINFOA execInfo;
    int mode;
};

// Starts path with its arguments and working folder (both may be null); always 1. GUI
// thread only.
int Launch(const char* path, const char* arguments, const char* workingFolder, int mode);
// Hands a copy of the request to a new worker; false (and nothing left allocated) when the
// worker could not be started.
bool StartLaunchThread(HWND owner, const char* path, const char* arguments,
                       const char* workingFolder, int mode);
// The worker's body: takes over and frees the request.
DWORD WINAPI RunLaunchRequest(void* request);
// Fills execInfo for the shell and calls ShellExecuteExA.
BOOL ExecuteLaunch(HWND owner, const char* path, const char* arguments, const char* workingFolder,
                   int mode, SHELLEXECUTEINFOA* execInfo);

// The main window's double-click: launches the entry under the grid cursor.
void LaunchSelectedEntry();

// The pending open-with: the next double-click launch adds OpenWithPath to the arguments.
bool OpenWithPending();
void SetOpenWithPending(bool pending);
const char* OpenWithPath();
void SetOpenWithPath(const char* path); // cut to 1023 bytes

// Requests handed out and not yet freed by their workers (for tests).
long LiveLaunchRequests();
// Replaces CreateThread for starting workers (for tests); null restores it.
typedef HANDLE (*LaunchThreadStarter)(LPTHREAD_START_ROUTINE routine, void* argument);
void SetLaunchThreadStarter(LaunchThreadStarter starter);
