#include "commands/command_dispatch.h"

#include "app/app_state.h"
#include "catalogue/catalogue.h"
#include "catalogue/sorting.h"
#include "catalogue/tab_names.h"
#include "dialogs/colour_dialog.h"
#include "dialogs/icon_draw_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/other_colour_dialog.h"
#include "dialogs/tab_name_dialogs.h"
#include "dialogs/version_dialog.h"
#include "res/command_ids.h"
#include "res/window_command_ids.h"
#include "storage/settings.h"
#include "view/grid_view.h"

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

LRESULT BackgroundColours(int) {
    ShowColourDialog(MainWindow());
    return 0;
}

LRESULT OtherColours(int) {
    ShowOtherColourDialog(MainWindow());
    return 0;
}

LRESULT IconDrawing(int) {
    ShowIconDrawDialog(MainWindow());
    return 0;
}

LRESULT Version(int) {
    ShowVersionDialog(MainWindow());
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
    {IDM_BACKGROUND_COLOUR, BackgroundColours},
    {IDM_OTHER_COLOURS, OtherColours},
    {IDM_ICON_DRAWING, IconDrawing},
    {IDM_VERSION, Version},
};

// Commands of the grid's pop-up menu.
const CommandRow kWindowCommands[] = {
    {IDM_STYLE_STANDARD, SwitchStyle},  {IDM_STYLE_TALL, SwitchStyle},
    {IDM_STYLE_WIDE, SwitchStyle},      {IDM_STYLE_HALF_TALL, SwitchStyle},
    {IDM_STYLE_HALF_WIDE, SwitchStyle}, {IDM_SIZE_STANDARD, SwitchSize},
    {IDM_SIZE_SMALL, SwitchSize},       {IDM_SIZE_SMALLEST, SwitchSize},
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
    // Entry commands and user commands are routed here later.
    return 0;
}
