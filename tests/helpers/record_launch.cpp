// A program for launch tests: writes its command line and its current folder, one per line,
// to a file named after itself with ".log" appended, then ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH - 4);
    lstrcatA(module, ".log");
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    const char* line = GetCommandLineA();

    // Written to a temporary name first, so a reader never sees half a record.
    char temporary[MAX_PATH + 8];
    lstrcpyA(temporary, module);
    lstrcatA(temporary, ".tmp");
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line, lstrlenA(line), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    WriteFile(file, folder, lstrlenA(folder), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
    MoveFileExA(temporary, module, MOVEFILE_REPLACE_EXISTING);
    return 0;
}
