#include "dialogs/tab_name_dialogs.h"

#include "base/data_paths.h"
#include "catalogue/tab_names.h"
#include "storage/settings_catalogue.h"

#include <shellapi.h>

namespace {

// Both dialogs' fields are edit controls: one class procedure serves them.
WNDPROC g_editProc;

const char kLeadingSpaceMessage[] = "タブ名の“先頭”に“空白”を入れることはできません";
const char kLeadingSpaceCaption[] = "Error";
const char kDuplicateMessage[] = "その名前は既に登録されています";
const char kDuplicateCaption[] = "お知らせ";
// Names the settings file could not give back with their entries.
const char kLeadingBracketMessage[] = "タブ名の“先頭”に“[”を入れることはできません";
const char kEqualsMessage[] = "タブ名に“=”を入れることはできません";
const char kLineBreakMessage[] = "タブ名に改行を入れることはできません";
const char kUnstorableCaption[] = "Error";

LRESULT CallEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(g_editProc, edit, message, wParam, lParam);
}

// A name may not start with a space: one typed into the empty field is dropped.
LRESULT OnChar(HWND edit, WPARAM wParam, LPARAM lParam) {
    if (wParam != ' ' || GetWindowTextLengthA(edit) != 0) {
        return CallEditProc(edit, WM_CHAR, wParam, lParam);
    }
    MessageBeep(0);
    return 0;
}

LRESULT OnDropFiles(HWND edit, HDROP drop) {
    if (DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) >= 1) {
        char path[1024] = "";
        DragQueryFileA(drop, 0, path, sizeof path);
        SetWindowTextA(edit, path);
    }
    DragFinish(drop);
    return 0;
}

// A text cut at the end of its buffer may end in half of a two-byte character.
void DropSplitCharacter(char* text) {
    int i = 0;
    while (text[i] != '\0') {
        if (IsPathLeadByte(static_cast<unsigned char>(text[i]))) {
            if (text[i + 1] == '\0') {
                text[i] = '\0';
                return;
            }
            i += 2;
        } else {
            ++i;
        }
    }
}

// Long names that differ only beyond what a section name holds would share one section.
bool TabSectionTaken(const char* name) {
    char other[kTabNameSize];
    for (int t = 0; t < TabNameCount(); ++t) {
        GetTabName(t, other);
        if (SameTabSection(name, other)) return true;
    }
    return false;
}

} // namespace

LRESULT CALLBACK TabNameEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CHAR: return OnChar(edit, wParam, lParam);
    case WM_DROPFILES: return OnDropFiles(edit, reinterpret_cast<HDROP>(wParam));
    default: return CallEditProc(edit, message, wParam, lParam);
    }
}

void SubclassTabNameEdit(HWND edit) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TabNameEditProc)));
    if (previous && previous != TabNameEditProc) g_editProc = previous;
}

TabNameCheck ReadTabName(HWND dialog, int editId, char* name) {
    name[0] = '\0';
    GetDlgItemTextA(dialog, editId, name, kTabNameSize);
    name[kTabNameSize - 1] = '\0';
    DropSplitCharacter(name);
    if (name[0] == '\0') return TabNameEmpty;
    // Only the one-byte space is refused; a full-width space may start a name.
    const char* refusal = nullptr;
    switch (CheckTabName(name)) {
    case TabNameFault::LeadingSpace:
        MessageBoxA(dialog, kLeadingSpaceMessage, kLeadingSpaceCaption, MB_ICONERROR);
        return TabNameRefused;
    case TabNameFault::LeadingBracket: refusal = kLeadingBracketMessage; break;
    case TabNameFault::Equals: refusal = kEqualsMessage; break;
    case TabNameFault::LineBreak: refusal = kLineBreakMessage; break;
    case TabNameFault::None: break;
    }
    if (refusal) {
        MessageBoxA(dialog, refusal, kUnstorableCaption, MB_ICONERROR);
        return TabNameRefused;
    }
    if (TabNameExists(name) || TabSectionTaken(name)) {
        MessageBoxA(dialog, kDuplicateMessage, kDuplicateCaption, MB_ICONERROR);
        return TabNameRefused;
    }
    return TabNameAccepted;
}
