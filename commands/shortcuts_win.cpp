#include "commands/shortcuts.h"

#include "base/path_utils.h"
#include "commands/wide_paths.h"

#include <objidl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

const char kStartupShortcutName[] = "qdx.lnk";

namespace {

typedef UINT(WINAPI* MsiGetShortcutTargetFunction)(LPCSTR, LPSTR, LPSTR, LPSTR);
typedef int(WINAPI* MsiGetComponentPathFunction)(LPCSTR, LPCSTR, LPSTR, DWORD*);

const int kInstallStateLocal = 3;
const int kGuidField = 39;
const int kWidePathSize = 1024;

// Launch workers call into msi.dll from their own threads and may still be inside it when the
// program closes, so the module, once loaded, stays loaded until the process ends: freeing only
// switches the installer route off. The entry points are set once, before the route is first
// switched on, and never change afterwards.
HMODULE g_msi;
MsiGetShortcutTargetFunction g_msiGetShortcutTarget;
MsiGetComponentPathFunction g_msiGetComponentPath;
volatile LONG g_msiEnabled;

template <typename F> F LookUp(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// An advertised shortcut of a product installed on this machine: only the target is known.
bool ResolveAdvertisedShortcut(const char* path, ShortcutInfo* info) {
    if (!InterlockedCompareExchange(&g_msiEnabled, 0, 0)) return false;
    char product[kGuidField] = "";
    char feature[kGuidField] = "";
    char component[kGuidField] = "";
    if (g_msiGetShortcutTarget(path, product, feature, component) != ERROR_SUCCESS) return false;
    // The component path is read into a buffer of its own and kept only when it fits the
    // target field, so a long path never spills into the arguments.
    char target[2 * kShortcutField] = "";
    DWORD capacity = sizeof target;
    if (g_msiGetComponentPath(product, component, target, &capacity) != kInstallStateLocal) {
        return false;
    }
    target[sizeof target - 1] = '\0';
    if (std::strlen(target) >= sizeof info->target) return false;
    std::strcpy(info->target, target);
    return true;
}

// COM is usable on this thread after S_OK and S_FALSE; both must be balanced.
bool StartCom() {
    return SUCCEEDED(CoInitialize(nullptr));
}

bool ToWide(const char* path, WCHAR* wide) {
    wide[0] = L'\0';
    int n = MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kWidePathSize);
    wide[kWidePathSize - 1] = L'\0';
    return n > 0;
}

// A new shell link object (its interface `iid`) and its persist-file interface; both or
// neither are returned.
template <typename Link> bool CreateShellLink(REFIID iid, Link** link, IPersistFile** file) {
    *link = nullptr;
    *file = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, iid,
                                reinterpret_cast<void**>(link)))) {
        return false;
    }
    if (FAILED((*link)->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file)))) {
        (*link)->Release();
        *link = nullptr;
        return false;
    }
    return true;
}

// The link is read wide, so that a target or folder named outside the code page comes out as
// its short name; a target without a usable name fails the resolution (the caller keeps the
// shortcut itself), a working folder without one is left empty.
bool ReadShellLink(const char* path, ShortcutInfo* info) {
    IShellLinkW* link;
    IPersistFile* file;
    if (!CreateShellLink(IID_IShellLinkW, &link, &file)) return false;
    WCHAR wide[kWidePathSize];
    bool ok = ToWide(path, wide) && SUCCEEDED(file->Load(wide, STGM_READ));
    if (ok) {
        WIN32_FIND_DATAW findData;
        WCHAR text[kShortcutField] = L"";
        link->GetPath(text, kShortcutField, &findData, SLGP_UNCPRIORITY);
        text[kShortcutField - 1] = L'\0';
        ok = NarrowPath(text, info->target, kShortcutField) != kNoNarrowPath;
        text[0] = L'\0';
        link->GetArguments(text, kShortcutField);
        text[kShortcutField - 1] = L'\0';
        WideCharToMultiByte(CP_ACP, 0, text, -1, info->arguments, kShortcutField, nullptr, nullptr);
        link->GetShowCmd(&info->showCommand);
        text[0] = L'\0';
        link->GetWorkingDirectory(text, kShortcutField);
        text[kShortcutField - 1] = L'\0';
        if (NarrowPath(text, info->workingFolder, kShortcutField) == kNoNarrowPath)
            info->workingFolder[0] = '\0';
        info->arguments[kShortcutField - 1] = '\0';
    }
    file->Release();
    link->Release();
    return ok;
}

bool WriteShellLink(const char* linkPath, const char* target, const char* description,
                    const char* arguments, const char* workingFolder, const char* iconPath,
                    int iconIndex, int showCommand) {
    IShellLinkA* link;
    IPersistFile* file;
    if (!CreateShellLink(IID_IShellLinkA, &link, &file)) return false;
    link->SetPath(target);
    link->SetDescription(description);
    link->SetArguments(arguments);
    link->SetWorkingDirectory(workingFolder);
    link->SetIconLocation(iconPath, iconIndex);
    link->SetShowCmd(showCommand);
    WCHAR wide[kWidePathSize];
    bool saved = ToWide(linkPath, wide) && SUCCEEDED(file->Save(wide, TRUE));
    file->Release();
    link->Release();
    return saved;
}

void CopyCut(char* out, int capacity, const char* text) {
    if (capacity <= 0) return;
    lstrcpynA(out, text, capacity);
}

} // namespace

bool LoadMsiFunctions() {
    if (!g_msi) {
        g_msi = LoadLibraryA("msi.dll");
        if (!g_msi) return false;
        g_msiGetShortcutTarget =
            LookUp<MsiGetShortcutTargetFunction>(g_msi, "MsiGetShortcutTargetA");
        g_msiGetComponentPath = LookUp<MsiGetComponentPathFunction>(g_msi, "MsiGetComponentPathA");
    }
    bool found = g_msiGetShortcutTarget && g_msiGetComponentPath;
    // The interlocked write also orders the entry points before the switch for other threads.
    InterlockedExchange(&g_msiEnabled, found ? 1 : 0);
    return found;
}

void FreeMsiFunctions() {
    InterlockedExchange(&g_msiEnabled, 0);
}

bool ResolveShortcut(const char* path, ShortcutInfo* info, WIN32_FIND_DATAA*) {
    if (!path || !info) return false;
    if (ResolveAdvertisedShortcut(path, info)) return true;
    if (!StartCom()) return false;
    bool ok = ReadShellLink(path, info);
    CoUninitialize();
    return ok;
}

bool StartFolderOf(char* out, int capacity, const char* path) {
    if (!path || !out || capacity <= 0) return false;
    if (!IsShortcutPath(path)) {
        CopyFolderPart(out, static_cast<size_t>(capacity), path);
        return true;
    }
    ShortcutInfo info;
    WIN32_FIND_DATAA findData;
    ZeroMemory(&info, sizeof info);
    if (!ResolveShortcut(path, &info, &findData)) return false;
    if (info.workingFolder[0] == '\0') {
        CopyFolderPart(info.workingFolder, sizeof info.workingFolder, info.target);
    }
    CopyCut(out, capacity, info.workingFolder);
    return true;
}

bool GetStartupFolder(char* out) {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator) return false;
    bool ok = false;
    LPITEMIDLIST list = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_STARTUP, &list)) && list) {
        char folder[MAX_PATH];
        if (SHGetPathFromIDListA(list, folder)) {
            lstrcpynA(out, folder, MAX_PATH);
            ok = true;
        }
        allocator->Free(list);
    }
    allocator->Release();
    return ok;
}

void StartupShortcutPath(char* out) {
    char folder[MAX_PATH] = "";
    GetStartupFolder(folder);
    std::snprintf(out, 1024, "%s\\%s", folder, kStartupShortcutName);
}

bool CreateStartupShortcut(const char* linkPath, const char* target, const char* description,
                           const char* arguments, const char* workingFolder, const char* iconPath,
                           int iconIndex, int showCommand) {
    // Only a successful start is balanced: an unbalanced release would end COM for
    // whoever initialised it on this thread before us.
    bool started = StartCom();
    bool saved = WriteShellLink(linkPath, target, description, arguments, workingFolder, iconPath,
                                iconIndex, showCommand);
    if (started) CoUninitialize();
    return saved;
}
