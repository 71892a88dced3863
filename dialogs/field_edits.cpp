#include "dialogs/field_edits.h"

#include "base/argument_text.h"

#include <shellapi.h>

namespace {

// The edit class's own procedure, the same for every edit.
WNDPROC g_editProc = DefWindowProcA;

LRESULT CallEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

LRESULT OnPathDrop(HWND edit, HDROP drop) {
    char path[kFieldTextSize] = "";
    if (DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) > 0 &&
        DragQueryFileA(drop, 0, path, sizeof path) > 0) {
        SetWindowTextA(edit, path);
    }
    DragFinish(drop);
    return 0;
}

LRESULT OnArgumentDrop(HWND edit, HDROP drop) {
    char text[kFieldTextSize] = "";
    GetWindowTextA(edit, text, sizeof text);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[kFieldTextSize] = "";
        if (DragQueryFileA(drop, i, path, sizeof path) == 0) continue;
        if (!AppendArgumentPath(text, sizeof text, path)) {
            MessageBeep(0);
            break;
        }
    }
    SetWindowTextA(edit, text);
    DragFinish(drop);
    return 0;
}

void Subclass(HWND edit, WNDPROC proc) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
    if (previous && previous != PathEditProc && previous != ArgumentEditProc) g_editProc = previous;
}

} // namespace

LRESULT CALLBACK PathEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CHAR:
        if (wParam == '"') {
            MessageBeep(0);
            return 0;
        }
        break;
    case WM_DROPFILES: return OnPathDrop(edit, reinterpret_cast<HDROP>(wParam));
    }
    return CallEditProc(edit, message, wParam, lParam);
}

LRESULT CALLBACK ArgumentEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DROPFILES) return OnArgumentDrop(edit, reinterpret_cast<HDROP>(wParam));
    return CallEditProc(edit, message, wParam, lParam);
}

void SubclassPathEdit(HWND edit) {
    Subclass(edit, PathEditProc);
}

void SubclassArgumentEdit(HWND edit) {
    Subclass(edit, ArgumentEditProc);
}
