#include "commands/entry_commands.h"

#include "base/app_state.h"
#include "base/path_utils.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "commands/launch.h"
#include "commands/shortcuts.h"
#include "commands/wide_paths.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "storage/icon_loading.h"
#include "storage/settings.h"
#include "view/grid.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kNoticeCaption[] = "お知らせ";
const char kErrorCaption[] = "Error";
const char kConfirmCaption[] = "確認";
const char kOpenWithCancelledText[] = "他のアプリで開くはキャンセルされました";
const char kOpenWithSetText[] = "選択したファイルは引数に登録されました\r\nキャンセルする場合は、"
                                "再びポップアップメニューからキャンセルしてください";
const char kMissingSubjectText[] = "指定したファイルは存在しません";
const char kDeleteQuestion[] = "項目から削除してもいいですか？";
const char kUserIconQuestion[] =
    "\"%s\"の個別アイコンが見つかりました。これを使用しますか？\r\n** Noで新しく選択 **";
const char kExplorer[] = "explorer.exe";
const char kSelectFormat[] = "/select,%s";
// Filters end with a second zero (the literal's own terminator).
const char kIconFilter[] = "ICON files {*.*}\0*.*\0";
const char kBitmapFilter[] = "Bitmap files {*.bmp}\0*.bmp\0All files {*.*}\0*.*\0";

// A file to open may have any name (it comes in as its short name where need be); a file to
// save is named in the code page, as everything the program writes.
BOOL RunSystemFileDialog(OPENFILENAMEA* request, bool save) {
    return save ? GetSaveFileNameA(request) : RunOpenFileDialog(request);
}

FileDialogRunner g_fileDialog = RunSystemFileDialog;
EntryInfoEditor g_infoEditor;

// The entry under the grid cursor of the current tab, copied without icon or count; a heap
// record freed with std::free, or null on an empty cell.
EntrySnapshot* CursorEntry(int* tab, int* index) {
    *tab = CurrentTab();
    *index = CursorEntryIndex();
    EntrySnapshot* snapshot = static_cast<EntrySnapshot*>(std::calloc(1, sizeof(EntrySnapshot)));
    if (snapshot && !GetEntrySnapshot(snapshot, *tab, *index, 0, 0)) {
        std::free(snapshot);
        return nullptr;
    }
    return snapshot;
}

void ExpandPath(char* out, const char* path) {
    ExpandEnvironmentReferences(out, kExpandedPathSize, path, static_cast<int>(std::strlen(path)));
}

// Captures the shell's icon of path into an archive, replacing what it held.
void StoreIcon(int archive, const char* folder, const char* path, const char* fileName) {
    if (RecaptureEntryIcon(archive, folder, path, fileName, kMaskSuffix) != 1)
        CaptureEntryIcon(archive, folder, path, fileName, kMaskSuffix);
}

// The file dialog's chosen name (1024 bytes), or false when it was cancelled or left empty.
bool AskFileName(char* file, const char* filter, DWORD flags, bool save) {
    file[0] = '\0';
    OPENFILENAMEA request;
    ZeroMemory(&request, sizeof request);
    request.lStructSize = sizeof request;
    request.hwndOwner = MainWindow();
    request.lpstrFilter = filter;
    request.lpstrFile = file;
    request.nMaxFile = kEntryPathSize;
    request.Flags = flags;
    return g_fileDialog(&request, save) && file[0] != '\0';
}

typedef void (*BitmapWriter)(const char* fileName, int tab, int index);

int ExportBitmap(BitmapWriter write) {
    int tab, index;
    if (CurrentTab() < 0) return 0;
    EntrySnapshot* entry = CursorEntry(&tab, &index);
    if (!entry) return 0;
    std::free(entry);
    char file[kEntryPathSize];
    if (!AskFileName(file, kBitmapFilter, OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT, true)) return 0;
    // Icons of a large catalogue are bound after start-up: this one may not be there yet.
    BindEntryIconNow(tab, index);
    write(file, tab, index);
    return 0;
}

} // namespace

void SetEntryInfoEditor(EntryInfoEditor editor) {
    g_infoEditor = editor;
}

void SetFileDialogRunner(FileDialogRunner runner) {
    g_fileDialog = runner ? runner : RunSystemFileDialog;
}

int ToggleOpenWith() {
    if (OpenWithPending()) {
        SetOpenWithPending(false);
        SetOpenWithPath("");
        MessageBoxA(MainWindow(), kOpenWithCancelledText, kNoticeCaption, MB_OK);
        return 0;
    }
    int tab, index;
    EntrySnapshot* entry = CursorEntry(&tab, &index);
    if (!entry) return 0;
    char expanded[kExpandedPathSize];
    ExpandPath(expanded, entry->FilePath);
    std::free(entry);
    SetOpenWithPending(true);
    SetOpenWithPath(expanded);
    MessageBoxA(MainWindow(), kOpenWithSetText, kNoticeCaption, MB_OK);
    return 0;
}

int OpenParentFolder() {
    int tab, index;
    EntrySnapshot* entry = CursorEntry(&tab, &index);
    if (!entry) return 0;
    char expanded[kExpandedPathSize];
    ExpandPath(expanded, entry->FilePath);
    std::free(entry);
    Launch(expanded, nullptr, nullptr, ParentFolder);
    return 0;
}

int RevealLinkTarget() {
    int tab, index;
    EntrySnapshot* entry = CursorEntry(&tab, &index);
    if (!entry) return 0;
    // Any entry may be revealed: what does not resolve as a shortcut is its own subject.
    ShortcutInfo link;
    WIN32_FIND_DATAA found;
    ZeroMemory(&link, sizeof link);
    const char* subject = entry->FilePath;
    if (ResolveShortcut(entry->FilePath, &link, &found) && link.target[0]) subject = link.target;
    char expanded[kExpandedPathSize];
    ExpandPath(expanded, subject);
    std::free(entry);
    if (GetPathAttributes(expanded) == kMissingAttributes) {
        MessageBoxA(MainWindow(), kMissingSubjectText, kErrorCaption, MB_ICONERROR);
        return 0;
    }
    char arguments[kLaunchArgumentsSize];
    std::snprintf(arguments, sizeof arguments, kSelectFormat, expanded);
    Launch(kExplorer, arguments, nullptr, Normal);
    return 0;
}

int DeleteEntryWithCheck() {
    int tab, index;
    EntrySnapshot* entry = CursorEntry(&tab, &index);
    if (!entry) return 0;
    if (GetDeleteCheck() && MessageBoxA(MainWindow(), kDeleteQuestion, kConfirmCaption,
                                        MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        std::free(entry);
        return 0;
    }
    char folder[kIconFolderSize];
    TabEntryIconFolder(folder, tab, entry->FilePath);
    // Two entries of one path in a tab share their cached icons: they stay for the other.
    if (!IconItemsShared(tab, entry->entry, folder, entry->FileName))
        RemoveIconItems(folder, entry->FileName);
    std::free(entry);
    DeleteEntry(tab, index);
    UpdateScrollRange();
    return 0;
}

int EditEntryInformation() {
    int tab, index;
    EntrySnapshot* entry = CursorEntry(&tab, &index);
    if (!entry) return 0;
    std::free(entry);
    if (g_infoEditor) g_infoEditor(MainWindow());
    return 0;
}

// The cursor entry read anew from its file, and its icon folder; null on an empty cell.
const Entry* RefreshedCursorEntry(int* tab, int* index, char* folder) {
    if (CurrentTab() < 0) return nullptr;
    EntrySnapshot* entry = CursorEntry(tab, index);
    if (!entry) return nullptr;
    std::free(entry);
    RefreshEntry(*tab, *index, 0, 0);
    const Entry* fresh = FindEntry(*tab, *index);
    if (fresh) TabEntryIconFolder(folder, *tab, fresh->FilePath);
    return fresh;
}

int RefetchIcon() {
    int tab, index;
    char folder[kIconFolderSize];
    const Entry* fresh = RefreshedCursorEntry(&tab, &index, folder);
    if (!fresh) return 0;
    StoreIcon(CacheArchiveAuto(), folder, fresh->FilePath, fresh->FileName);
    ReloadEntryIcon(tab, folder, index, 0);
    return 0;
}

int SetIndividualIcon() {
    int tab, index;
    char folder[kIconFolderSize];
    const Entry* fresh = RefreshedCursorEntry(&tab, &index, folder);
    if (!fresh) return 0;

    bool keep = false;
    if (CacheHasFile(CacheArchiveUser(), folder, fresh->FileName) == 1) {
        char question[kEntryPathSize];
        std::snprintf(question, sizeof question, kUserIconQuestion, fresh->FileName);
        keep = MessageBoxA(MainWindow(), question, kConfirmCaption, MB_YESNO | MB_ICONQUESTION) ==
               IDYES;
    }
    if (!keep) {
        char file[kEntryPathSize];
        if (!AskFileName(file, kIconFilter, OFN_FILEMUSTEXIST, false)) return 0;
        StoreIcon(CacheArchiveUser(), folder, file, fresh->FileName);
    }
    ReloadEntryIcon(tab, folder, index, 1);
    return 0;
}

int ExportIconBitmap() {
    return ExportBitmap(SaveIconBitmap);
}

int ExportMaskBitmap() {
    return ExportBitmap(SaveMaskBitmap);
}
