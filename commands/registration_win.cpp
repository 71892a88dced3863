#include "commands/registration.h"

#include "base/app_state.h"
#include "base/path_utils.h"
#include "catalogue/catalogue.h"
#include "catalogue/sorting.h"
#include "catalogue/tab_names.h"
#include "commands/launch.h"
#include "commands/shortcuts.h"
#include "commands/wide_paths.h"
#include "storage/entry_icons.h"
#include "storage/settings.h"
#include "view/grid.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kErrorCaption[] = "Error";
const char kNoTabText[] =
    "タブが選択されていません\r\nタブをアクティブにするか、[ファイル]->[新規作成]"
    "からタブを作成してください";
const char kArgumentsFullText[] = "引数に割り当てているバッファをオーバーしました\r\n"
                                  "先頭から%d個迄なら処理出来ますが、実行しますか?";

// A dropped file's path, cut to the entry's path field: read wide, so that a name outside the
// code page becomes the file's short name instead of a path of question marks. False, with
// the file noted for the drop's message, when it has no usable name.
bool DroppedPath(HDROP drop, UINT i, char* out, UnusableFiles* unusable) {
    if (DroppedFilePath(drop, i, out, kEntryPathSize) != kNoNarrowPath) return true;
    NoteUnusableFile(unusable, out);
    return false;
}

// Fills the registration record of one dropped file; file may become a shortcut's target.
void FillDroppedRecord(Entry* record, char* file) {
    char folder[kEntryPathSize] = "";
    StartFolderOf(folder, sizeof folder, file);
    if (GetShortcutFull()) {
        if (FillEntryFromShortcut(record, file, "", 0)) {
            lstrcpynA(file, record->FilePath, kEntryPathSize);
            return;
        }
    } else if (IsShortcutPath(file)) {
        ShortcutInfo link;
        WIN32_FIND_DATAA findData;
        ZeroMemory(&link, sizeof link);
        // The entry is the shortcut itself, started in its own working folder, even an empty one.
        if (ResolveShortcut(file, &link, &findData))
            lstrcpynA(folder, link.workingFolder, sizeof folder);
    }
    FillEntry(record, file, "", folder, "", 0);
    record->Attribute = GetPathAttributes(file);
}

void RegisterOne(HDROP drop, UINT i, const char* tabFolder, int t, Entry* record,
                 UnusableFiles* unusable) {
    ZeroMemory(record, sizeof *record);
    char file[kEntryPathSize];
    if (!DroppedPath(drop, i, file, unusable)) return;
    FillDroppedRecord(record, file);
    char cacheFolder[kIconFolderSize];
    IconCacheFolder(cacheFolder, tabFolder, file);
    CaptureEntryIcon(0, cacheFolder, file, record->FileName, kMaskSuffix);
    AddEntry(cacheFolder, *record, 0, t);
}

// The entry of tab t under the pointer, or false when the pointer is over no entry. A point
// beside the grid (over the scroll bar, the tab strip) is over no cell at all.
bool EntryUnderPointer(HWND window, int t, EntrySnapshot* snapshot) {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(window, &p);
    return GetEntrySnapshot(snapshot, t, EntryIndexAtPoint(p.x, p.y), 0, 0) != 0;
}

// Builds the argument line from the entry's own arguments and the quoted dropped paths.
// False when the line is full and the user chose not to launch with the files that fit.
bool BuildDropArguments(HWND window, HDROP drop, const char* arg, char* line) {
    line[0] = '\0';
    if (arg[0] != '\0') std::snprintf(line, kDropArgumentsSize, "%s ", arg);
    UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    char file[kEntryPathSize];
    UnusableFiles unusable = {};
    int added = 0;
    for (UINT i = 0; i < n; ++i) {
        if (!DroppedPath(drop, i, file, &unusable)) continue;
        size_t used = std::strlen(line);
        // Quote, path, quote, blank and the terminating zero.
        if (used + std::strlen(file) + 4 > kDropArgumentsSize) {
            char question[512];
            std::snprintf(question, sizeof question, kArgumentsFullText, added);
            int answer = MessageBoxA(window, question, kErrorCaption, MB_YESNO | MB_ICONERROR);
            return answer == IDYES;
        }
        std::snprintf(line + used, kDropArgumentsSize - used, "\"%s\" ", file);
        ++added;
    }
    ReportUnusableFiles(window, unusable);
    return true;
}

void LaunchWithDroppedFiles(HWND window, HDROP drop, int t) {
    EntrySnapshot* snapshot = static_cast<EntrySnapshot*>(std::calloc(1, sizeof(EntrySnapshot)));
    char* line = static_cast<char*>(std::calloc(1, kDropArgumentsSize));
    if (snapshot && line && EntryUnderPointer(window, t, snapshot) &&
        BuildDropArguments(window, drop, snapshot->Arg, line)) {
        Launch(snapshot->FilePath, line, snapshot->WorkPath, Normal);
    }
    std::free(line);
    std::free(snapshot);
}

} // namespace

int RegisterDroppedFiles(HDROP drop, int t) {
    if (t < 0) return 0;
    UINT n = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    char name[kTabNameSize];
    GetTabName(t, name);
    char tabFolder[kIconFolderSize];
    TabCacheFolder(tabFolder, name);
    Entry* record = static_cast<Entry*>(std::calloc(1, sizeof(Entry)));
    if (!record) return 1;
    UnusableFiles unusable = {};
    for (UINT i = 0; i < n; ++i)
        RegisterOne(drop, i, tabFolder, t, record, &unusable);
    std::free(record);
    // Once for the whole drop, after the files that could be registered are.
    ReportUnusableFiles(MainWindow(), unusable);
    return 1;
}

void OnDropFiles(HWND window, HDROP drop) {
    int t = CurrentTab();
    if (t == -1) {
        MessageBoxA(window, kNoTabText, kErrorCaption, MB_OK | MB_ICONERROR);
    } else if (GetKeyState(VK_SHIFT) < 0) {
        LaunchWithDroppedFiles(window, drop, t);
    } else {
        RegisterDroppedFiles(drop, t);
        int sort = GetSort();
        if (sort == SortByName || sort == SortByCountThenName) {
            SortTab(0, EntryCount(t) - 1, t, sort);
        }
    }
    DragFinish(drop);
    UpdateScrollRange();
    InvalidateRect(window, nullptr, FALSE);
}
