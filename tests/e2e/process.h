// Starting the built QDX.exe as a user does, from a fresh folder, and talking to it from
// outside through its window.
#pragma once

#include <windows.h>

#include <string>

struct RunningProgram {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;
};

// Windows path of the built program (the build knows its Unix path; Wine maps / to Z:).
std::string BuiltProgramPath();
// A new empty folder under the temporary folder, with the given leaf name.
std::string MakeFreshFolder(const std::string& leaf);
// Copies the program into folder under exeName and returns its full path.
std::string InstallProgram(const std::string& folder, const std::string& exeName = "QDX.exe");
bool StartProgram(const std::string& exePath, RunningProgram* out);
// Waits for the program's "VARROW" window to appear (its own, by process id): shown, or with
// created alone as soon as it exists (its WM_CREATE may still be running).
HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs = 30000, bool created = false);
// Waits for the process to end; returns its exit code, or -1000 on time-out.
long WaitForExit(const RunningProgram& program, DWORD timeoutMs = 30000);
void CloseHandles(RunningProgram* program);
bool FileExists(const std::string& path);
std::string ReadWholeFile(const std::string& path);
