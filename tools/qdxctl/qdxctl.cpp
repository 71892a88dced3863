// qdxctl wait [seconds]  - waits until the launcher's window is shown (exit 0) or not (1)
// qdxctl close [seconds] - posts WM_CLOSE to it and waits until its process has ended
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

} // namespace

int main(int argc, char** argv) {
    DWORD seconds = argc > 2 ? static_cast<DWORD>(std::atoi(argv[2])) : 30;
    if (argc > 1 && std::strcmp(argv[1], "wait") == 0) return Wait(seconds);
    if (argc > 1 && std::strcmp(argv[1], "close") == 0) return Close(seconds);
    std::fprintf(stderr, "usage: qdxctl wait|close [seconds]\n");
    return 2;
}
