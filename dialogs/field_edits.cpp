#include "dialogs/field_edits.h"

#include "base/argument_text.h"
#include "commands/wide_paths.h"

#include <shellapi.h>

namespace {

// The edit class's own procedure, the same for every edit.
WNDPROC g_editProc = DefWindowProcA;

LRESULT CallEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

// Files are read wide: a name outside the code page comes in as its short name, and one
// without a usable name is told once for the drop and leaves the field as it was.
LRESULT OnPathDrop(HWND edit, HDROP drop) {
    char path[kFieldTextSize] = "";
    UnusableFiles unusable = {};
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        if (DroppedFilePath(drop, 0, path, sizeof path) == kNoNarrowPath) {
            NoteUnusableFile(&unusable, path);
        } else if (path[0] != '\0') {
            SetWindowTextA(edit, path);
        }
    }
    DragFinish(drop);
    ReportUnusableFiles(GetParent(edit), unusable);
    return 0;
}

LRESULT OnArgumentDrop(HWND edit, HDROP drop) {
    char text[kFieldTextSize] = "";
    GetWindowTextA(edit, text, sizeof text);
    UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    UnusableFiles unusable = {};
    for (UINT i = 0; i < count; ++i) {
        char path[kFieldTextSize] = "";
        if (DroppedFilePath(drop, i, path, sizeof path) == kNoNarrowPath) {
            NoteUnusableFile(&unusable, path);
            continue;
        }
        if (path[0] == '\0') continue;
        if (!AppendArgumentPath(text, sizeof text, path)) {
            MessageBeep(0);
            break;
        }
    }
    SetWindowTextA(edit, text);
    DragFinish(drop);
    ReportUnusableFiles(GetParent(edit), unusable);
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
