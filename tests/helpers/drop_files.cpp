// A library for end-to-end tests that drops files on a running launcher from inside its
// process, as the shell's drag and drop does: a test loads it into the launcher (a remote
// thread calling LoadLibraryA), and on loading it reads the paths listed one per line in the
// file named after itself with ".txt" appended, builds the drop and posts WM_DROPFILES to the
// launcher's window. It refuses to stay loaded, so nothing of it remains in the launcher.
#include <windows.h>
#include <shlobj.h>

namespace {

enum { kListSize = 65536 };

int ReadList(HINSTANCE self, char* text) {
    char name[MAX_PATH] = "";
    GetModuleFileNameA(self, name, MAX_PATH - 4);
    lstrcatA(name, ".txt");
    HANDLE file =
        CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD got = 0;
    ReadFile(file, text, kListSize - 2, &got, nullptr);
    CloseHandle(file);
    return static_cast<int>(got);
}

// DROPFILES followed by the paths, each terminated, and one more zero.
HGLOBAL BuildDrop(const char* text, int length) {
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + length + 2);
    if (!memory) return nullptr;
    DROPFILES* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    char* out = reinterpret_cast<char*>(header + 1);
    for (int i = 0; i < length; ++i) {
        if (text[i] == '\r') continue;
        *out++ = text[i] == '\n' ? '\0' : text[i];
    }
    if (length > 0 && text[length - 1] != '\n') *out++ = '\0';
    *out = '\0';
    GlobalUnlock(memory);
    return memory;
}

HWND LauncherWindow() {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "VARROW", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == GetCurrentProcessId()) return window;
    }
    return nullptr;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    static char text[kListSize];
    int length = ReadList(self, text);
    HWND window = LauncherWindow();
    HGLOBAL drop = length > 0 && window ? BuildDrop(text, length) : nullptr;
    if (drop && !PostMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0)) {
        GlobalFree(drop);
    }
    return FALSE;
}
