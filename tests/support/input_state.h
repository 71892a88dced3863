// Test helpers for input: the thread's key state as GetKeyState reads it, hand-built drops,
// and launches caught before any program starts.
#pragma once

#include "commands/launch.h"
#include "support/display_lock.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>
#include <vector>

// Holds the listed keys down in this thread's key state until destroyed. Under Wine, input
// that other processes cause can reach this thread's key state: the state is set again until
// GetKeyState reports it.
class HeldKeys {
  public:
    explicit HeldKeys(std::vector<int> keys) {
        GetKeyboardState(saved_);
        BYTE state[256];
        GetKeyboardState(state);
        for (int key : keys)
            state[key] = 0x80;
        for (int attempt = 0; attempt < 50; ++attempt) {
            SetKeyboardState(state);
            bool held = true;
            for (int key : keys)
                held = held && GetKeyState(key) < 0;
            if (held) break;
            Sleep(20);
        }
    }
    ~HeldKeys() { SetKeyboardState(saved_); }
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

  private:
    BYTE saved_[256];
};

// Places the pointer at a screen point and waits until the system reports it there three times
// in a row: under Wine, the motion of an earlier placement can arrive late and move it back.
inline void PlacePointer(int x, int y) {
    int held = 0;
    for (int attempt = 0; attempt < 50 && held < 3; ++attempt) {
        if (held == 0) SetCursorPos(x, y);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
            DispatchMessageA(&msg);
        POINT p;
        GetCursorPos(&p);
        held = p.x == x && p.y == y ? held + 1 : 0;
        if (held < 3) Sleep(20);
    }
}

// A drop as the shell hands it over: DROPFILES followed by the ANSI paths, each terminated,
// and one more zero. The receiver releases it with DragFinish.
inline HDROP MakeDrop(const std::vector<std::string>& paths) {
    size_t bytes = sizeof(DROPFILES) + 1;
    for (const std::string& p : paths)
        bytes += p.size() + 1;
    HGLOBAL memory = GlobalAlloc(GHND, bytes);
    DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = FALSE;
    char* text = reinterpret_cast<char*>(header + 1);
    for (const std::string& p : paths) {
        lstrcpyA(text, p.c_str());
        text += p.size() + 1;
    }
    *text = '\0';
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

// Launch requests caught on their way to a worker: their texts are kept and the worker is
// refused, so nothing starts and nothing stays allocated.
struct CaughtLaunch {
    std::string path, arguments, workingFolder;
};
inline std::vector<CaughtLaunch>& CaughtLaunches() {
    static std::vector<CaughtLaunch> caught;
    return caught;
}
inline HANDLE CatchLaunch(LPTHREAD_START_ROUTINE, void* argument) {
    const LaunchRequest* request = static_cast<const LaunchRequest*>(argument);
    CaughtLaunches().push_back({request->path, request->arguments, request->workingFolder});
    return nullptr;
}
class CatchingLaunches {
  public:
    CatchingLaunches() {
        CaughtLaunches().clear();
        SetLaunchThreadStarter(CatchLaunch);
    }
    ~CatchingLaunches() { SetLaunchThreadStarter(nullptr); }
};
