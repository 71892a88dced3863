#include "dialogs/info_edit_dialog.h"

#include "base/app_state.h"
#include "base/path_utils.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "commands/wide_paths.h"
#include "dialogs/field_edits.h"
#include "dialogs/help_tips.h"
#include "res/info_edit_dialog_ids.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "view/grid.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

const char kInfoEditDialogName[] = "INFOEDIT_DIALOG";

namespace {

const char kBadWorkFolder[] = "作業領域が有効ではありません";
const char kBadWorkFolderCaption[] = "ERROR";
const char kChooseWorkFolder[] = "作業ディレクトリを選択してください";
const char kAllFilesFilter[] = "All files {*.*}\0*.*\0";

// The file dialog and its buffer outlive the dialog: the buffer pre-fills the next one.
OPENFILENAMEA g_fileDialog;
char g_fileName[kEntryPathSize];

// The state of the one open editor (it is modal).
struct InfoEditState {
    int index;
    EntrySnapshot entry;
    HWND tips;
};
InfoEditState g_state;

void SetUpFileDialog(HWND dialog) {
    std::memset(&g_fileDialog, 0, sizeof g_fileDialog);
    g_fileDialog.lStructSize = sizeof g_fileDialog;
    g_fileDialog.hwndOwner = dialog;
    g_fileDialog.lpstrFilter = kAllFilesFilter;
    g_fileDialog.nFilterIndex = 0;
    g_fileDialog.lpstrFile = g_fileName;
    g_fileDialog.nMaxFile = sizeof g_fileName;
    g_fileDialog.Flags = OFN_PATHMUSTEXIST;
}

INT_PTR OnInitDialog(HWND dialog) {
    g_state.index = CursorEntryIndex();
    SetUpFileDialog(dialog);
    if (!GetEntrySnapshot(&g_state.entry, CurrentTab(), g_state.index, 0, 0)) {
        EndDialog(dialog, 1);
        return TRUE;
    }
    SubclassPathEdit(GetDlgItem(dialog, IDC_INFO_PATH));
    SubclassArgumentEdit(GetDlgItem(dialog, IDC_INFO_ARG));
    SetDlgItemTextA(dialog, IDC_INFO_PATH, g_state.entry.FilePath);
    SetDlgItemTextA(dialog, IDC_INFO_ARG, g_state.entry.Arg);
    SetDlgItemTextA(dialog, IDC_INFO_WORK, g_state.entry.WorkPath);
    SetDlgItemTextA(dialog, IDC_INFO_COMMENT, g_state.entry.Comment);
    g_state.tips = AttachHelpTips(dialog, kInfoEditDialogName);
    return TRUE;
}

INT_PTR OnBrowsePath(HWND dialog) {
    char path[kEntryPathSize] = "";
    GetDlgItemTextA(dialog, IDC_INFO_PATH, path, sizeof path);
    // The folder with its final separator; no initial folder for a bare name.
    char folder[kEntryPathSize] = "";
    int prefix = FolderPrefixLength(path);
    if (prefix > 0) lstrcpynA(folder, path, prefix + 1);
    g_fileDialog.lpstrInitialDir = folder[0] ? folder : nullptr;
    BOOL chosen = RunOpenFileDialog(&g_fileDialog);
    g_fileDialog.lpstrInitialDir = nullptr;
    if (chosen) SetDlgItemTextA(dialog, IDC_INFO_PATH, g_fileName);
    return TRUE;
}

INT_PTR OnBrowseArgument(HWND dialog) {
    g_fileDialog.lpstrInitialDir = nullptr;
    if (!RunOpenFileDialog(&g_fileDialog)) return TRUE;
    char text[kEntryPathSize] = "";
    GetDlgItemTextA(dialog, IDC_INFO_ARG, text, sizeof text);
    char line[kEntryPathSize];
    std::snprintf(line, sizeof line, "%s \"%s\"", text, g_fileName);
    SetDlgItemTextA(dialog, IDC_INFO_ARG, line);
    return TRUE;
}

INT_PTR OnBrowseWorkFolder(HWND dialog) {
    char folder[kEntryPathSize] = "";
    if (BrowseForFolder(dialog, folder, sizeof folder, kChooseWorkFolder))
        SetDlgItemTextA(dialog, IDC_INFO_WORK, folder);
    return TRUE;
}

// The archive folder an entry's icon is kept under in the current tab.
void IconFolderOf(const char* path, char* folder) {
    char tabName[kTabNameSize];
    GetTabName(CurrentTab(), tabName);
    char tabFolder[kIconFolderSize];
    TabCacheFolder(tabFolder, tabName);
    IconCacheFolder(folder, tabFolder, path);
}

// The icon shown stays until the next start. Only an icon the user set follows the entry to
// its new folder and name: the file's own icon is captured from the new file (at the next start
// when it cannot be now), never copied, or a type without an icon of its own would take the old
// file's picture for all its entries. The old items go unless another entry keeps them.
void MoveIconItems(const Entry& edited) {
    char oldFolder[kIconFolderSize], newFolder[kIconFolderSize];
    IconFolderOf(g_state.entry.FilePath, oldFolder);
    IconFolderOf(edited.FilePath, newFolder);
    const char* oldName = g_state.entry.FileName;
    if (std::strcmp(oldFolder, newFolder) == 0 && std::strcmp(oldName, edited.FileName) == 0)
        return;
    CopyIconItems(CacheArchiveUser(), oldFolder, oldName, newFolder, edited.FileName);
    if (RecaptureEntryIcon(CacheArchiveAuto(), newFolder, edited.FilePath, edited.FileName,
                           kMaskSuffix) != 1)
        CaptureEntryIcon(CacheArchiveAuto(), newFolder, edited.FilePath, edited.FileName,
                         kMaskSuffix);
    if (!IconItemsShared(CurrentTab(), g_state.entry.entry, oldFolder, oldName))
        RemoveIconItems(oldFolder, oldName);
}

INT_PTR OnSave(HWND dialog) {
    Entry* edited = static_cast<Entry*>(std::calloc(1, sizeof(Entry)));
    if (!edited) return TRUE;
    char path[kEntryPathSize] = "", work[kEntryPathSize] = "", comment[kEntryPathSize] = "";
    char arg[kEntryNameSize] = "";
    GetDlgItemTextA(dialog, IDC_INFO_PATH, path, sizeof path);
    GetDlgItemTextA(dialog, IDC_INFO_ARG, arg, sizeof arg);
    GetDlgItemTextA(dialog, IDC_INFO_WORK, work, sizeof work);
    GetDlgItemTextA(dialog, IDC_INFO_COMMENT, comment, sizeof comment);
    uint32_t attributes = GetPathAttributes(work);
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        MessageBoxA(dialog, kBadWorkFolder, kBadWorkFolderCaption, MB_ICONERROR);
        std::free(edited);
        return TRUE;
    }
    FillEntry(edited, path, arg, work, comment, g_state.entry.Count);
    edited->Attribute = g_state.entry.Attribute;
    MoveIconItems(*edited);
    ReplaceEntry(CurrentTab(), g_state.index, *edited);
    std::free(edited);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_INFO_PATH_BROWSE: return OnBrowsePath(dialog);
    case IDC_INFO_ARG_BROWSE: return OnBrowseArgument(dialog);
    case IDC_INFO_WORK_BROWSE: return OnBrowseWorkFolder(dialog);
    case IDC_INFO_SAVE: return OnSave(dialog);
    case IDC_INFO_CANCEL: PostMessageA(dialog, WM_CLOSE, 0, 0); return TRUE;
    }
    return FALSE;
}

INT_PTR OnClose(HWND dialog) {
    DetachHelpTips(g_state.tips, dialog, kInfoEditDialogName);
    g_state.tips = nullptr;
    EndDialog(dialog, 1);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK InfoEditDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_CLOSE: return OnClose(dialog);
    }
    return FALSE;
}

void ShowEntryInfoDialog(HWND owner) {
    DialogBoxParamA(AppInstance(), kInfoEditDialogName, owner, InfoEditDialogProc, 0);
}

OPENFILENAMEA* InfoEditFileDialog() {
    return &g_fileDialog;
}

bool BrowseForFolder(HWND owner, char* out, size_t capacity, const char* title) {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator) return false;
    BROWSEINFOA browse;
    std::memset(&browse, 0, sizeof browse);
    browse.hwndOwner = owner;
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
    bool chosen = false;
    LPITEMIDLIST item = SHBrowseForFolderA(&browse);
    if (item) {
        char path[MAX_PATH] = "";
        if (SHGetPathFromIDListA(item, path) && capacity > 0) {
            lstrcpynA(out, path, static_cast<int>(capacity));
            chosen = true;
        }
        allocator->Free(item);
    }
    allocator->Release();
    return chosen;
}
