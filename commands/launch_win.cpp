#include "commands/launch.h"

#include "base/app_state.h"
#include "base/path_utils.h"
#include "catalogue/catalogue.h"
#include "catalogue/sorting.h"
#include "catalogue/tab_names.h"
#include "commands/shortcuts.h"
#include "storage/settings.h"
#include "view/grid.h"
#include "view/window_behaviours.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// State of the main window: the pending open-with.
bool g_openWithPending;
char g_openWithPath[kLaunchTextSize];

volatile LONG g_liveRequests;
LaunchThreadStarter g_threadStarter;

const char kOpenVerb[] = "Open";
const char kOpenWithFormat[] = "%s %s";

void CopyText(char* field, int size, const char* text) {
    if (!text) return;
    lstrcpynA(field, text, size);
}

HANDLE StartWorker(LPTHREAD_START_ROUTINE routine, void* argument) {
    if (g_threadStarter) return g_threadStarter(routine, argument);
    return CreateThread(nullptr, 0, routine, argument, 0, nullptr);
}

// The folder a Normal launch starts in: the working folder when it exists, else the start
// folder of the target as the caller wrote it. Null (the shell's own choice) when neither
// names an existing folder.
const char* ChooseStartFolder(const char* path, const char* workingFolder, char* folder,
                              int capacity) {
    if (workingFolder && workingFolder[0] != '\0') {
        ExpandEnvironmentReferences(folder, capacity, workingFolder,
                                    static_cast<int>(std::strlen(workingFolder)));
        TrimFinalSeparator(folder);
        if (GetPathAttributes(folder) != INVALID_FILE_ATTRIBUTES) return folder;
    }
    folder[0] = '\0';
    if (!StartFolderOf(folder, capacity, path)) return nullptr;
    // A target without a folder part (a bare "explorer.exe") gives itself as its folder; a
    // folder that is not there would make the shell refuse the launch, so none is passed.
    DWORD attributes = GetPathAttributes(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return nullptr;
    }
    return folder;
}

} // namespace

bool OpenWithPending() {
    return g_openWithPending;
}
void SetOpenWithPending(bool pending) {
    g_openWithPending = pending;
}
const char* OpenWithPath() {
    return g_openWithPath;
}
void SetOpenWithPath(const char* path) {
    lstrcpynA(g_openWithPath, path ? path : "", kLaunchTextSize);
}

long LiveLaunchRequests() {
    return g_liveRequests;
}
void SetLaunchThreadStarter(LaunchThreadStarter starter) {
    g_threadStarter = starter;
}

int Launch(const char* path, const char* arguments, const char* workingFolder, int mode) {
    StartLaunchThread(MainWindow(), path, arguments, workingFolder, mode);
    // A window summoned by the hot key goes back to its place once the request is handed on.
    if (IsSummoned()) PostMessageA(MainWindow(), WM_KILLFOCUS, 0, 0);
    return 1;
}

bool StartLaunchThread(HWND owner, const char* path, const char* arguments,
                       const char* workingFolder, int mode) {
    LaunchRequest* request = static_cast<LaunchRequest*>(std::calloc(1, sizeof(LaunchRequest)));
    if (!request) return false;
    InterlockedIncrement(&g_liveRequests);
    CopyText(request->path, sizeof request->path, path);
    CopyText(request->arguments, sizeof request->arguments, arguments);
    CopyText(request->workingFolder, sizeof request->workingFolder, workingFolder);
    request->owner = owner;
    request->mode = mode;
    HANDLE worker = StartWorker(RunLaunchRequest, request);
    if (!worker) {
        // Nobody will take the request over: it is dropped here, and nothing is started.
        std::free(request);
        InterlockedDecrement(&g_liveRequests);
        return false;
    }
    CloseHandle(worker);
    return true;
}

DWORD WINAPI RunLaunchRequest(void* argument) {
    LaunchRequest request;
    std::memcpy(&request, argument, sizeof request);
    std::free(argument);
    InterlockedDecrement(&g_liveRequests);

    if (ExecuteLaunch(request.owner, request.path, request.arguments, request.workingFolder,
                      request.mode, &request.execInfo) &&
        request.execInfo.hProcess) {
        WaitForInputIdle(request.execInfo.hProcess, INFINITE);
        CloseHandle(request.execInfo.hProcess);
    }
    return 0;
}

BOOL ExecuteLaunch(HWND owner, const char* path, const char* arguments, const char* workingFolder,
                   int mode, SHELLEXECUTEINFOA* execInfo) {
    char target[kExpandedPathSize];
    ExpandEnvironmentReferences(target, sizeof target, path, static_cast<int>(std::strlen(path)));

    ZeroMemory(execInfo, sizeof *execInfo);
    execInfo->cbSize = sizeof *execInfo;
    execInfo->hwnd = owner;
    execInfo->nShow = SW_SHOWNORMAL;
    execInfo->fMask = SEE_MASK_NOCLOSEPROCESS;
    execInfo->lpFile = target;

    char folder[kLaunchTextSize];
    if (mode == ParentFolder) {
        // The callers pass this path expanded already.
        CopyFolderPart(folder, sizeof folder, path);
        execInfo->lpVerb = kOpenVerb;
        execInfo->lpFile = folder;
        execInfo->lpParameters = "";
    } else {
        execInfo->lpDirectory = ChooseStartFolder(path, workingFolder, folder, sizeof folder);
        execInfo->lpParameters = arguments;
    }
    return ShellExecuteExA(execInfo);
}

void LaunchSelectedEntry() {
    EntrySnapshot* snapshot = static_cast<EntrySnapshot*>(std::calloc(1, sizeof(EntrySnapshot)));
    if (!snapshot) return;
    int tab = CurrentTab();
    if (GetEntrySnapshot(snapshot, tab, CursorEntryIndex(), 0, 1)) {
        if (!g_openWithPending) {
            Launch(snapshot->FilePath, snapshot->Arg, snapshot->WorkPath, Normal);
        } else {
            char arguments[kLaunchTextSize];
            std::snprintf(arguments, sizeof arguments, kOpenWithFormat, snapshot->Arg,
                          g_openWithPath);
            Launch(snapshot->FilePath, arguments, snapshot->WorkPath, Normal);
            g_openWithPath[0] = '\0';
            g_openWithPending = false;
        }
        int sort = GetSort();
        if (sort == SortByCount || sort == SortByCountThenName) {
            SortTab(0, EntryCount(tab) - 1, tab, sort);
            SelectEntryIndex(SnapshotIndex(*snapshot));
        }
        InvalidateRect(MainWindow(), nullptr, FALSE);
    }
    std::free(snapshot);
}
