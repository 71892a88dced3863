#include "catalogue/tab_names.h"

#include "base/app_state.h"

#include <commctrl.h>

#include <cstring>

namespace {

bool ReadItemText(int t, char* buffer) {
    buffer[0] = '\0';
    TCITEMA item;
    ZeroMemory(&item, sizeof item);
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = kTabNameSize;
    BOOL ok = SendMessageA(TabControl(), TCM_GETITEMA, t, reinterpret_cast<LPARAM>(&item)) != 0;
    buffer[kTabNameSize - 1] = '\0';
    // Some controls hand back their own text pointer instead of filling the buffer.
    if (ok && item.pszText != buffer && item.pszText) {
        lstrcpynA(buffer, item.pszText, kTabNameSize);
    }
    return ok;
}

void WriteItemText(int t, const char* name) {
    char text[kTabNameSize];
    lstrcpynA(text, name, kTabNameSize);
    TCITEMA item;
    ZeroMemory(&item, sizeof item);
    item.mask = TCIF_TEXT;
    item.pszText = text;
    SendMessageA(TabControl(), TCM_SETITEMA, t, reinterpret_cast<LPARAM>(&item));
}

} // namespace

int TabNameCount() {
    return static_cast<int>(SendMessageA(TabControl(), TCM_GETITEMCOUNT, 0, 0));
}

void AppendTab(const char* name) {
    char text[kTabNameSize];
    lstrcpynA(text, name, kTabNameSize);
    TCITEMA item;
    ZeroMemory(&item, sizeof item);
    item.mask = TCIF_TEXT;
    item.pszText = text;
    SendMessageA(TabControl(), TCM_INSERTITEMA, TabNameCount(), reinterpret_cast<LPARAM>(&item));
}

namespace {

// A themed strip works out its hot item from the pointer position at every insert, which on
// some systems is a round trip to the display server each time: many items are inserted with
// the theme off, and the strip takes its theme back after. Windows without themes (2000) have
// no uxtheme.dll, and lose nothing.
int AppendNames(const char* const* names, int count, bool onlyThoseShown) {
    typedef HRESULT(WINAPI * SetWindowThemeFunction)(HWND, LPCWSTR, LPCWSTR);
    HMODULE uxtheme = count > 1 ? LoadLibraryA("uxtheme.dll") : nullptr;
    SetWindowThemeFunction setTheme =
        uxtheme ? reinterpret_cast<SetWindowThemeFunction>(
                      reinterpret_cast<void*>(GetProcAddress(uxtheme, "SetWindowTheme")))
                : nullptr;
    HWND strip = TabControl();
    bool unthemed = setTheme && SUCCEEDED(setTheme(strip, L"", L""));
    RECT client;
    GetClientRect(strip, &client);
    int appended = 0;
    while (appended < count) {
        AppendTab(names[appended++]);
        RECT item;
        if (onlyThoseShown &&
            SendMessageA(strip, TCM_GETITEMRECT, appended - 1, reinterpret_cast<LPARAM>(&item)) &&
            item.right > client.right)
            break;
    }
    if (unthemed) setTheme(strip, nullptr, nullptr);
    if (uxtheme) FreeLibrary(uxtheme);
    return appended;
}

} // namespace

void AppendTabs(const char* const* names, int count) {
    AppendNames(names, count, false);
}

int AppendTabsThatShow(const char* const* names, int count) {
    return AppendNames(names, count, true);
}

void GetTabName(int t, char* buffer) {
    ReadItemText(t, buffer);
}

void SetTabName(int t, const char* name) {
    WriteItemText(t, name);
}

int FindTab(const char* name) {
    int count = TabNameCount();
    char text[kTabNameSize];
    for (int t = 0; t < count; ++t) {
        if (ReadItemText(t, text) && std::strcmp(text, name) == 0) return t;
    }
    return -1;
}

int TabNameExists(const char* name) {
    return FindTab(name) >= 0 ? 1 : 0;
}

void SwapTabNames(int a, int b) {
    char first[kTabNameSize];
    char second[kTabNameSize];
    if (!ReadItemText(a, first) || !ReadItemText(b, second)) return;
    WriteItemText(a, second);
    WriteItemText(b, first);
}

int CurrentTab() {
    return static_cast<int>(SendMessageA(TabControl(), TCM_GETCURSEL, 0, 0));
}
