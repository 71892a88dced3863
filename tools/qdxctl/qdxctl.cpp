// qdxctl wait [seconds]  - waits until the launcher's window is shown (exit 0) or not (1)
// qdxctl close [seconds] - posts WM_CLOSE to it and waits until its process has ended
// qdxctl time EXE        - starts EXE, prints the milliseconds until its window is shown and
//                          answers a message (its first paint is done by then), closes it
// qdxctl command ID      - posts the menu command ID to the launcher, as its menu does
// qdxctl rect [TITLE]    - waits for the launcher's window (or the shown window titled TITLE)
//                          and prints its screen rectangle as WxH+X+Y, for cropping pictures
// qdxctl dismiss TITLE   - closes the window titled TITLE as its close box does
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND FindLauncher() {
    HWND window = FindWindowA("VARROW", "Varrowin");
    return (window && IsWindowVisible(window)) ? window : nullptr;
}

int Wait(DWORD seconds) {
    for (DWORD waited = 0; waited < seconds * 10; ++waited) {
        if (FindLauncher()) return 0;
        Sleep(100);
    }
    std::fprintf(stderr, "qdxctl: no launcher window\n");
    return 1;
}

int Close(DWORD seconds) {
    HWND window = FindWindowA("VARROW", "Varrowin");
    if (!window) {
        std::fprintf(stderr, "qdxctl: no launcher window\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    PostMessageA(window, WM_CLOSE, 0, 0);
    if (!process) return 0;
    DWORD result = WaitForSingleObject(process, seconds * 1000);
    DWORD code = 1;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    if (result != WAIT_OBJECT_0) {
        std::fprintf(stderr, "qdxctl: the launcher did not end\n");
        return 1;
    }
    std::printf("launcher ended with exit code %lu\n", code);
    return code == 0 ? 0 : 1;
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char cls[32] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (owner != search->processId || lstrcmpA(cls, "VARROW") != 0) return TRUE;
    search->found = window;
    return FALSE;
}

// Starts the program from its own folder and returns its process, or false.
bool Start(const char* exe, PROCESS_INFORMATION* process) {
    char folder[MAX_PATH];
    lstrcpynA(folder, exe, sizeof folder);
    char* slash = std::strrchr(folder, '\\');
    if (slash) *slash = '\0';
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    char commandLine[MAX_PATH + 2];
    wsprintfA(commandLine, "\"%s\"", exe);
    return CreateProcessA(exe, commandLine, nullptr, nullptr, FALSE, 0, nullptr,
                          slash ? folder : nullptr, &startup, process) != 0;
}

HWND WaitShown(DWORD processId, DWORD seconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < seconds * 1000) {
        Search search = {processId, nullptr};
        EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found && IsWindowVisible(search.found)) return search.found;
        Sleep(1);
    }
    return nullptr;
}

int CloseAndWait(HWND window, const PROCESS_INFORMATION& process) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD result = WaitForSingleObject(process.hProcess, 120000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return result == WAIT_OBJECT_0 ? 0 : 1;
}

int Time(const char* exe) {
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    PROCESS_INFORMATION process;
    if (!Start(exe, &process)) return 1;
    HWND window = WaitShown(process.dwProcessId, 300);
    DWORD_PTR ignored = 0;
    if (!window || !SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 300000, &ignored)) {
        std::fprintf(stderr, "qdxctl: no window from %s\n", exe);
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    QueryPerformanceCounter(&end);
    std::printf("%.1f\n", 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
                              static_cast<double>(frequency.QuadPart));
    return CloseAndWait(window, process);
}

int Command(int id) {
    HWND window = FindLauncher();
    if (!window) {
        std::fprintf(stderr, "qdxctl: no launcher window\n");
        return 1;
    }
    PostMessageA(window, WM_COMMAND, id, 0);
    return 0;
}

HWND FindShown(const char* title) {
    if (!title) return FindLauncher();
    HWND window = FindWindowA(nullptr, title);
    return (window && IsWindowVisible(window)) ? window : nullptr;
}

int PrintRect(const char* title) {
    for (int tries = 0; tries < 100; ++tries) {
        if (HWND window = FindShown(title)) {
            RECT rect;
            GetWindowRect(window, &rect);
            std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top,
                        rect.left, rect.top);
            return 0;
        }
        Sleep(100);
    }
    std::fprintf(stderr, "qdxctl: no such window\n");
    return 1;
}

int Dismiss(const char* title) {
    HWND window = FindShown(title);
    if (!window) return 1;
    PostMessageA(window, WM_CLOSE, 0, 0);
    for (int tries = 0; tries < 100 && IsWindow(window); ++tries)
        Sleep(100);
    return IsWindow(window) ? 1 : 0;
}

} // namespace

int main(int argc, char** argv) {
    DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 30;
    if (seconds == 0) seconds = 30;
    if (argc > 1 && std::strcmp(argv[1], "wait") == 0) return Wait(seconds);
    if (argc > 1 && std::strcmp(argv[1], "close") == 0) return Close(seconds);
    if (argc > 2 && std::strcmp(argv[1], "time") == 0) return Time(argv[2]);
    if (argc > 2 && std::strcmp(argv[1], "command") == 0) return Command(std::atoi(argv[2]));
    if (argc > 1 && std::strcmp(argv[1], "rect") == 0)
        return PrintRect(argc > 2 ? argv[2] : nullptr);
    if (argc > 2 && std::strcmp(argv[1], "dismiss") == 0) return Dismiss(argv[2]);
    std::fprintf(stderr, "usage: qdxctl wait|close [seconds] | time EXE | command ID | "
                         "rect [TITLE] | dismiss TITLE\n");
    return 2;
}
