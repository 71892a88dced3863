#include "app/command_dispatch.h"

#include "base/app_state.h"
#include "base/path_utils.h"
#include "catalogue/catalogue.h"
#include "catalogue/sorting.h"
#include "catalogue/tab_names.h"
#include "commands/entry_commands.h"
#include "commands/launch.h"
#include "commands/shortcuts.h"
#include "dialogs/colour_dialog.h"
#include "dialogs/icon_draw_dialog.h"
#include "dialogs/info_edit_dialog.h"
#include "dialogs/menu_edit_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/other_colour_dialog.h"
#include "dialogs/rebuild_dialog.h"
#include "dialogs/search_dialog.h"
#include "dialogs/tab_name_dialogs.h"
#include "dialogs/version_dialog.h"
#include "res/command_ids.h"
#include "res/window_command_ids.h"
#include "storage/menu_commands.h"
#include "storage/settings.h"
#include "view/grid.h"
#include "view/grid_view.h"
#include "view/tab_strip.h"
#include "view/window_behaviours.h"

#include <cstdio>
#include <cstdlib>

namespace {

typedef LRESULT (*CommandHandler)(int id);

struct CommandRow {
    int id;
    CommandHandler run;
};

LRESULT NewTab(int) {
    DialogBoxParamA(AppInstance(), kTabCreateDialogName, MainWindow(), CreateTabDialogProc, 0);
    return 0;
}

void RunRenameTabDialog(HWND owner) {
    DialogBoxParamA(AppInstance(), kTabRenameDialogName, owner, RenameTabDialogProc, 0);
}

LRESULT Exit(int) {
    PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
    return 0;
}

// The menu bar and the tray menu share their sort pop-up; both are marked all the same.
void MarkSortItem(HMENU menu, int id) {
    if (!menu) return;
    for (int item = IDM_SORT_NAME; item <= IDM_SORT_NONE; ++item)
        CheckMenuItem(menu, item, MF_BYCOMMAND | (item == id ? MF_CHECKED : MF_UNCHECKED));
}

LRESULT SetSortMode(int id) {
    MarkSortItem(MainMenu(), id);
    MarkSortItem(TrayMenu(), id);
    int mode = id == IDM_SORT_NAME         ? SortByName
               : id == IDM_SORT_COUNT      ? SortByCount
               : id == IDM_SORT_COUNT_NAME ? SortByCountThenName
                                           : SortNone;
    if (mode != SortNone) {
        int tab = CurrentTab();
        SortTab(0, EntryCount(tab) - 1, tab, mode);
    }
    SetSort(mode);
    return 0;
}

LRESULT Options(int) {
    ShowOptionsDialog(MainWindow());
    return 0;
}

// The dialogs of the menu bar, each opened by its own entry point with the main window as owner.
typedef void (*DialogEntryPoint)(HWND owner);
struct DialogRow {
    int id;
    DialogEntryPoint show;
};
const DialogRow kDialogs[] = {
    {IDM_MENU_EDIT, ShowMenuEditorDialog},
    {IDM_BACKGROUND_COLOUR, ShowColourDialog},
    {IDM_OTHER_COLOURS, ShowOtherColourDialog},
    {IDM_ICON_DRAWING, ShowIconDrawDialog},
    {IDM_SEARCH, ShowSearchDialog},
    {IDM_REBUILD, ShowRebuildDialog},
    {IDM_VERSION, ShowVersionDialog},
};

LRESULT OpenDialog(int id) {
    for (const DialogRow& row : kDialogs) {
        if (row.id == id) row.show(MainWindow());
    }
    return 0;
}

const char kHelpFileName[] = "QDX.chm";
const char kHelpMissingFormat[] = "ヘルプファイル\"%s\"が見つかりません";
const char kErrorCaption[] = "Error";

LRESULT Help(int) {
    ShowHelp();
    return 0;
}

LRESULT EntryCommand(int id) {
    switch (id) {
    case kToggleOpenWithId: return ToggleOpenWith();
    case kOpenParentFolderId: return OpenParentFolder();
    case kRevealLinkTargetId: return RevealLinkTarget();
    case kDeleteEntryId: return DeleteEntryWithCheck();
    case kEditEntryInformationId: return EditEntryInformation();
    case kRefetchIconId: return RefetchIcon();
    case kSetIndividualIconId: return SetIndividualIcon();
    case kExportIconBitmapId: return ExportIconBitmap();
    case kExportMaskBitmapId: return ExportMaskBitmap();
    default: return 0;
    }
}

LRESULT TopMost(int) {
    ToggleTopMost();
    return 0;
}

LRESULT MoveLock(int) {
    ToggleMoveLock();
    return 0;
}

LRESULT AutoHide(int) {
    ToggleAutoHide();
    return 0;
}

LRESULT SwitchStyle(int id) {
    SwitchDisplayStyle(id - IDM_STYLE_STANDARD);
    return 0;
}

LRESULT SwitchSize(int id) {
    SwitchCellSize(id - IDM_SIZE_STANDARD);
    return 0;
}

// Commands of the menu bar.
const CommandRow kMainMenuCommands[] = {
    {IDM_TAB_NEW, NewTab},
    {IDM_EXIT, Exit},
    {IDM_SORT_NAME, SetSortMode},
    {IDM_SORT_COUNT, SetSortMode},
    {IDM_SORT_COUNT_NAME, SetSortMode},
    {IDM_SORT_NONE, SetSortMode},
    {IDM_OPTIONS, Options},
    {IDM_MENU_EDIT, OpenDialog},
    {IDM_BACKGROUND_COLOUR, OpenDialog},
    {IDM_OTHER_COLOURS, OpenDialog},
    {IDM_ICON_DRAWING, OpenDialog},
    {IDM_SEARCH, OpenDialog},
    {IDM_REBUILD, OpenDialog},
    {IDM_HELP, Help},
    {IDM_VERSION, OpenDialog},
};

// Commands of the grid's pop-up menu.
const CommandRow kWindowCommands[] = {
    {IDM_STYLE_STANDARD, SwitchStyle},
    {IDM_STYLE_TALL, SwitchStyle},
    {IDM_STYLE_WIDE, SwitchStyle},
    {IDM_STYLE_HALF_TALL, SwitchStyle},
    {IDM_STYLE_HALF_WIDE, SwitchStyle},
    {IDM_SIZE_STANDARD, SwitchSize},
    {IDM_SIZE_SMALL, SwitchSize},
    {IDM_SIZE_SMALLEST, SwitchSize},
    {kToggleOpenWithId, EntryCommand},
    {kOpenParentFolderId, EntryCommand},
    {kRevealLinkTargetId, EntryCommand},
    {kDeleteEntryId, EntryCommand},
    {kEditEntryInformationId, EntryCommand},
    {kRefetchIconId, EntryCommand},
    {kSetIndividualIconId, EntryCommand},
    {kExportIconBitmapId, EntryCommand},
    {kExportMaskBitmapId, EntryCommand},
    {IDM_TOP_MOST, TopMost},
    {IDM_MOVE_LOCK, MoveLock},
    {IDM_AUTO_HIDE, AutoHide},
};

template <size_t N> const CommandRow* FindCommand(const CommandRow (&table)[N], int id) {
    for (const CommandRow& row : table) {
        if (row.id == id) return &row;
    }
    return nullptr;
}

LRESULT RunAndRepaint(const CommandRow& row, int id) {
    LRESULT result = row.run(id);
    InvalidateRect(MainWindow(), nullptr, FALSE);
    return result;
}

} // namespace

LRESULT DispatchCommand(WPARAM wParam, LPARAM) {
    int id = LOWORD(wParam);
    if (const CommandRow* row = FindCommand(kMainMenuCommands, id)) return RunAndRepaint(*row, id);
    if (const CommandRow* row = FindCommand(kWindowCommands, id)) return RunAndRepaint(*row, id);
    RunUserCommand(id);
    return 1;
}

bool IsRoutedCommand(int id) {
    return FindCommand(kMainMenuCommands, id) || FindCommand(kWindowCommands, id);
}

void RunUserCommand(int id) {
    int line = FindMenuCommand(id);
    MenuCommand command;
    if (line < 0 || !GetMenuCommand(line, &command)) return;
    EntrySnapshot* entry = static_cast<EntrySnapshot*>(std::calloc(1, sizeof(EntrySnapshot)));
    if (!entry) return;
    if (GetEntrySnapshot(entry, CurrentTab(), CursorEntryIndex(), 0, 0)) {
        // The entry's path is always quoted; an empty argument leaves the leading space.
        char arguments[kLaunchArgumentsSize];
        std::snprintf(arguments, sizeof arguments, "%s \"%s\"", command.MenuArg, entry->FilePath);
        char folder[kLaunchTextSize] = "";
        StartFolderOf(folder, sizeof folder, command.MenuPath);
        Launch(command.MenuPath, arguments, folder, Normal);
    }
    std::free(entry);
}

void ToggleTopMost() {
    SetTopMost(GetTopMost() ? 0 : 1);
    PlaceMainWindow(MainWindow(), 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void ToggleMoveLock() {
    SetMoveLock(GetMoveLock() ? 0 : 1);
}

void ToggleAutoHide() {
    SetAutoHide(GetAutoHide() ? 0 : 1);
    if (GetAutoHide())
        StartAutoHide();
    else
        StopAutoHide();
}

void ShowHelp() {
    // The test is relative to the current folder, which start-up sets to the program's own.
    if (GetPathAttributes(kHelpFileName) == kMissingAttributes) {
        char text[kLaunchTextSize];
        std::snprintf(text, sizeof text, kHelpMissingFormat, kHelpFileName);
        MessageBoxA(MainWindow(), text, kErrorCaption, MB_OK);
        return;
    }
    char module[kLaunchTextSize] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    int folder = FolderPrefixLength(module);
    module[folder > 0 ? folder : 0] = '\0';
    char path[kLaunchArgumentsSize];
    std::snprintf(path, sizeof path, "%s%s", module, kHelpFileName);
    Launch(path, nullptr, nullptr, Normal);
}

void InstallDialogRunners() {
    SetTabRenameDialogRunner(RunRenameTabDialog);
    SetEntryInfoEditor(ShowEntryInfoDialog);
}
