// A program for launch tests: writes its command line and its current folder, one per line,
// to a file named after itself with ".log" appended, then ends. Its own name is read wide, so
// a copy in a folder the code page cannot name still finds its log.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    WCHAR module[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, module, MAX_PATH - 4);
    lstrcatW(module, L".log");
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    const char* line = GetCommandLineA();

    // Written to a temporary name first, so a reader never sees half a record.
    WCHAR temporary[MAX_PATH + 8];
    lstrcpyW(temporary, module);
    lstrcatW(temporary, L".tmp");
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line, lstrlenA(line), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    WriteFile(file, folder, lstrlenA(folder), &written, nullptr);
    WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
    MoveFileExW(temporary, module, MOVEFILE_REPLACE_EXISTING);
    return 0;
}
