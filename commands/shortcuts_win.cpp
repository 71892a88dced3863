#include "commands/shortcuts.h"

#include <windows.h>

namespace {

typedef UINT(WINAPI* MsiGetShortcutTargetFunction)(LPCSTR, LPSTR, LPSTR, LPSTR);
typedef int(WINAPI* MsiGetComponentPathFunction)(LPCSTR, LPCSTR, LPSTR, DWORD*);

// Written at start-up and shutdown only; launch workers read them.
HMODULE g_msi;
MsiGetShortcutTargetFunction g_msiGetShortcutTarget;
MsiGetComponentPathFunction g_msiGetComponentPath;

template <typename F>
F LookUp(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

bool LoadMsiFunctions() {
    if (g_msi) FreeMsiFunctions();
    g_msi = LoadLibraryA("msi.dll");
    if (!g_msi) return false;
    g_msiGetShortcutTarget = LookUp<MsiGetShortcutTargetFunction>(g_msi, "MsiGetShortcutTargetA");
    g_msiGetComponentPath = LookUp<MsiGetComponentPathFunction>(g_msi, "MsiGetComponentPathA");
    return g_msiGetShortcutTarget && g_msiGetComponentPath;
}

void FreeMsiFunctions() {
    if (!g_msi) return;
    FreeLibrary(g_msi);
    g_msi = nullptr;
    g_msiGetShortcutTarget = nullptr;
    g_msiGetComponentPath = nullptr;
}
