// qdxctl wait [seconds]  - waits until the launcher's window is shown (exit 0) or not (1)
// qdxctl close [seconds] - posts WM_CLOSE to it and waits until its process has ended
// qdxctl time EXE        - starts EXE, prints the milliseconds until its window is shown and
//                          its first paint is done, closes it
// qdxctl frames ROUNDS REPAINTS
//                        - times tab switches of the running launcher, ROUNDS times from the
//                          first tab to the last with the N key and back with the B key (after
//                          one such round untimed), then REPAINTS repaints of the whole window;
//                          each from the key or the invalidation until the window and its
//                          controls are painted again and the paint is done, one line each
// qdxctl command ID      - posts the menu command ID to the launcher, as its menu does
// qdxctl rect [TITLE]    - waits for the launcher's window (or the shown window titled TITLE)
//                          and prints its screen rectangle as WxH+X+Y, for cropping pictures
// qdxctl dismiss TITLE   - closes the window titled TITLE as its close box does
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kLauncherClass[] = "VARROW";

HWND FindLauncher() {
    HWND window = FindWindowA(kLauncherClass, "Varrowin");
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

// Answered once the program's thread is back in its message loop. Sent before a paint, a
// message is answered first; sent once the update region is empty (a paint has begun), only
// after the paint is done.
bool AnswersMessages(HWND window) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored) != 0;
}

// Shown and painted: the update region empties when a paint begins, and the answer to a
// message sent after that comes when it is done.
bool IsPainted(HWND window) {
    return IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE) &&
           AnswersMessages(window);
}

// Polls every millisecond until the program's window is shown and painted; null when the
// program ends first or the time runs out.
HWND WaitPainted(HANDLE process, DWORD seconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < seconds * 1000) {
        HWND window = FindWindowA(kLauncherClass, nullptr);
        if (window && IsPainted(window)) return window;
        if (WaitForSingleObject(process, 1) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

double MillisecondsSince(const LARGE_INTEGER& begin) {
    LARGE_INTEGER frequency, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

int CloseAndWait(HWND window, const PROCESS_INFORMATION& process) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD result = WaitForSingleObject(process.hProcess, 120000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return result == WAIT_OBJECT_0 ? 0 : 1;
}

int Time(const char* exe) {
    LARGE_INTEGER begin;
    QueryPerformanceCounter(&begin);
    PROCESS_INFORMATION process;
    if (!Start(exe, &process)) return 1;
    HWND window = WaitPainted(process.hProcess, 300);
    if (!window) {
        std::fprintf(stderr, "qdxctl: no window from %s\n", exe);
        TerminateProcess(process.hProcess, 1);
        return 1;
    }
    std::printf("%.1f\n", MillisecondsSince(begin));
    return CloseAndWait(window, process);
}

BOOL CALLBACK FindUnpaintedChild(HWND child, LPARAM found) {
    if (!IsWindowVisible(child) || !GetUpdateRect(child, nullptr, FALSE)) return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

// The window and the controls in it are painted: what a user sees of a switch or a repaint
// includes the tab strip, the scroll bar and the status bar.
bool IsWholeWindowPainted(HWND window) {
    if (GetUpdateRect(window, nullptr, FALSE)) return false;
    bool found = false;
    EnumChildWindows(window, FindUnpaintedChild, reinterpret_cast<LPARAM>(&found));
    return !found && AnswersMessages(window);
}

// Waits about a tenth of a millisecond: a switch in the bare styles takes less than one, so a
// millisecond's poll would round it to whole polls. Where the system cannot wait that short,
// it waits its shortest.
void PollPause() {
    typedef LONG(WINAPI * DelayExecution)(BOOLEAN, const LARGE_INTEGER*);
    static DelayExecution delay = reinterpret_cast<DelayExecution>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtDelayExecution")));
    LARGE_INTEGER interval;
    interval.QuadPart = -1000; // 100 ns units, relative
    if (delay) {
        delay(FALSE, &interval);
    } else {
        Sleep(1);
    }
}

// Polls until what was invalidated is painted; false after ten seconds.
bool WaitRepainted(HWND window) {
    LARGE_INTEGER begin;
    QueryPerformanceCounter(&begin);
    while (MillisecondsSince(begin) < 10000) {
        if (IsWholeWindowPainted(window)) return true;
        PollPause();
    }
    return false;
}

// A key press as the window procedure gets it; answered once the key's handler has run, so
// the invalidation it makes is in place when the wait for the paint begins.
bool PressKey(HWND window, WPARAM key) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_KEYDOWN, key, 1, SMTO_NORMAL, 10000, &ignored) &&
           SendMessageTimeoutA(window, WM_KEYUP, key, 0xC0000001, SMTO_NORMAL, 10000, &ignored);
}

bool TimedSwitch(HWND window, WPARAM key, bool print) {
    LARGE_INTEGER begin;
    QueryPerformanceCounter(&begin);
    if (!PressKey(window, key) || !WaitRepainted(window)) return false;
    if (print) std::printf("switch %.2f\n", MillisecondsSince(begin));
    return true;
}

int Frames(int rounds, int repaints) {
    HWND window = FindLauncher();
    HWND strip = window ? FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr) : nullptr;
    if (!strip) {
        std::fprintf(stderr, "qdxctl: no launcher window\n");
        return 1;
    }
    int tabs = static_cast<int>(SendMessageA(strip, TCM_GETITEMCOUNT, 0, 0));
    while (SendMessageA(strip, TCM_GETCURSEL, 0, 0) > 0)
        if (!PressKey(window, 'B') || !WaitRepainted(window)) return 1;
    // One round untimed: what the first sight of a tab makes once is not a switch's cost.
    for (int r = -1; r < rounds; ++r) {
        for (int i = 1; i < tabs; ++i)
            if (!TimedSwitch(window, 'N', r >= 0)) return 1;
        for (int i = 1; i < tabs; ++i)
            if (!TimedSwitch(window, 'B', r >= 0)) return 1;
    }
    for (int i = 0; i < repaints; ++i) {
        LARGE_INTEGER begin;
        QueryPerformanceCounter(&begin);
        InvalidateRect(window, nullptr, FALSE);
        if (!WaitRepainted(window)) return 1;
        std::printf("repaint %.2f\n", MillisecondsSince(begin));
    }
    return 0;
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
    if (argc > 3 && std::strcmp(argv[1], "frames") == 0)
        return Frames(std::atoi(argv[2]), std::atoi(argv[3]));
    if (argc > 2 && std::strcmp(argv[1], "command") == 0) return Command(std::atoi(argv[2]));
    if (argc > 1 && std::strcmp(argv[1], "rect") == 0)
        return PrintRect(argc > 2 ? argv[2] : nullptr);
    if (argc > 2 && std::strcmp(argv[1], "dismiss") == 0) return Dismiss(argv[2]);
    std::fprintf(stderr, "usage: qdxctl wait|close [seconds] | time EXE | frames ROUNDS REPAINTS | "
                         "command ID | rect [TITLE] | dismiss TITLE\n");
    return 2;
}
