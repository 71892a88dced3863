// Answers a name dialog's refusal from a ModalDriver action: types a name, presses OK and
// closes the message box that refuses it, recording what the user saw.
#pragma once

#include "support/modal_driver.h"

#include <windows.h>

#include <string>

struct Refusal {
    std::string caption, text, fieldAfter;
};

inline std::string FieldText(HWND dialog, int id) {
    char text[300] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

struct OwnWindowSearch {
    const char* className;
    const char* title;
    HWND found;
};

inline BOOL CALLBACK MatchOwnWindow(HWND window, LPARAM param) {
    OwnWindowSearch* search = reinterpret_cast<OwnWindowSearch*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, search->className) != 0) return TRUE;
    if (search->title && WindowText(window) != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

// A visible top-level window of this process (other test processes run at the same time).
inline HWND FindOwnWindow(const char* className, const char* title) {
    OwnWindowSearch search = {className, title, nullptr};
    EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline Refusal RefuseName(HWND dialog, int editId, int okId, const char* name) {
    Refusal refusal;
    SetDlgItemTextA(dialog, editId, name);
    PressButton(dialog, okId);
    HWND box = nullptr;
    for (int tries = 0; tries < 200 && !box; ++tries) {
        for (const char* caption : {"Error", "お知らせ"}) {
            HWND found = FindOwnWindow("#32770", caption);
            if (found) {
                box = found;
                refusal.caption = caption;
                break;
            }
        }
        if (!box) Sleep(25);
    }
    if (box) {
        Sleep(50);
        refusal.text = MessageBoxText(box);
        PressButton(box, IDOK);
        for (int tries = 0; tries < 200 && IsWindow(box) && IsWindowVisible(box); ++tries)
            Sleep(25);
    }
    refusal.fieldAfter = FieldText(dialog, editId);
    return refusal;
}
