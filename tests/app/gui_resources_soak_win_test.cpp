#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "dialogs/colour_dialog.h"
#include "dialogs/gradient_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/other_colour_dialog.h"
#include "dialogs/tab_name_dialogs.h"
#include "res/command_ids.h"
#include "res/window_command_ids.h"
#include "support/gui_resources.h"
#include "support/main_window_fixture.h"
#include "view/tab_strip.h"

#include <cstdio>
#include <functional>

namespace {

const int kTabs = 30;
const int kEntriesPerTab = 300;

// Closes the innermost open dialog of this thread, the one a user could click: modal
// dialogs disable their owners.
BOOL CALLBACK CloseEnabledDialog(HWND window, LPARAM closed) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    PostMessageA(window, WM_CLOSE, 0, 0);
    *reinterpret_cast<bool*>(closed) = true;
    return FALSE;
}

// Waits for the dialog to be shown (the modal loop shows it once its queue is empty).
void CALLBACK CloseDialogSoon(HWND, UINT, UINT_PTR timer, DWORD) {
    bool closed = false;
    EnumThreadWindows(GetCurrentThreadId(), CloseEnabledDialog, reinterpret_cast<LPARAM>(&closed));
    if (closed) KillTimer(nullptr, timer);
}

// Runs `open`, which blocks in a dialog's modal loop; a thread timer dispatched by that loop
// closes the dialog as its close box does.
void OpenAndClose(const std::function<void()>& open) {
    SetTimer(nullptr, 0, 10, CloseDialogSoon);
    open();
}

void FillCatalogue() {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    for (int t = 0; t < kTabs; ++t) {
        char name[32];
        std::snprintf(name, sizeof name, "soak%02d", t);
        AppendTab(name);
        for (int k = 0; k < kEntriesPerTab; ++k) {
            Entry record = {};
            std::snprintf(record.FilePath, sizeof record.FilePath, "%s\\entry%03d.txt", windows, k);
            std::snprintf(record.FileName, sizeof record.FileName, "entry%03d.txt", k);
            record.Attribute = FILE_ATTRIBUTE_ARCHIVE;
            AddEntry("", record, 0, t);
        }
    }
}

using GuiResourcesSoak = MainWindowTest;

// A long session with a full catalogue: repaints, style and size switches, tab switches and
// every dialog, opened and closed again and again. The process ends with the GDI objects and
// windows it had after the first two rounds.
TEST_F(GuiResourcesSoak, RepaintsSwitchesAndDialogsKeepNoObjectsOrWindows) {
    ASSERT_GT(CountGdiObjects(), 0) << "the GDI handle table is readable";
    // The counter sees what is made and what is deleted.
    int before = CountGdiObjects();
    HBRUSH probes[10];
    for (HBRUSH& brush : probes)
        brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(before + 10, CountGdiObjects());
    for (HBRUSH brush : probes)
        DeleteObject(brush);
    EXPECT_EQ(before, CountGdiObjects());

    FillCatalogue();
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    HWND main = window_;
    auto dialogs = [main]() {
        OpenAndClose([] { ShowOptionsDialog(MainWindow()); });
        OpenAndClose([] { ShowColourDialog(MainWindow()); });
        OpenAndClose([] { ShowOtherColourDialog(MainWindow()); });
        OpenAndClose([] {
            GradientChoice gradient = {RGB(0, 0, 0), RGB(255, 255, 255), 0};
            EditGradient(MainWindow(), &gradient);
        });
        OpenAndClose([main] { SendMessageA(main, WM_COMMAND, IDM_ICON_DRAWING, 0); });
        OpenAndClose([main] { SendMessageA(main, WM_COMMAND, IDM_VERSION, 0); });
        OpenAndClose([main] { SendMessageA(main, WM_COMMAND, IDM_TAB_NEW, 0); });
        OpenAndClose([] {
            DialogBoxParamA(GetModuleHandleA(nullptr), kTabRenameDialogName, MainWindow(),
                            RenameTabDialogProc, 0);
        });
    };
    auto round = [&](int r) {
        for (int i = 0; i < 50; ++i) {
            InvalidateRect(main, nullptr, FALSE);
            UpdateWindow(main);
        }
        for (int i = 0; i < 10; ++i) {
            SendMessageA(main, WM_COMMAND, IDM_STYLE_STANDARD + (r + i) % 5, 0);
            SendMessageA(main, WM_COMMAND, IDM_SIZE_STANDARD + (r + i) % 3, 0);
            UpdateWindow(main);
        }
        for (int i = 0; i < 10; ++i) {
            SelectTab((r * 10 + i) % kTabs);
            UpdateWindow(main);
        }
        dialogs();
        PumpMessages();
    };
    // The first two rounds make what is made once (fonts, cached shell icons, the common
    // controls' own objects, which Wine makes at the second options dialog).
    round(0);
    round(1);
    int gdiStart = CountGdiObjects();
    int windowsStart = CountThreadWindows();
    for (int r = 2; r < 20; ++r)
        round(r);
    SendMessageA(main, WM_COMMAND, IDM_STYLE_STANDARD, 0);
    SendMessageA(main, WM_COMMAND, IDM_SIZE_STANDARD, 0);
    PumpMessages();
    int gdiEnd = CountGdiObjects();
    int windowsEnd = CountThreadWindows();
    std::printf("soak: GDI objects %d after two rounds, %d after 20 rounds; windows %d, %d\n",
                gdiStart, gdiEnd, windowsStart, windowsEnd);
    EXPECT_LE(gdiEnd, gdiStart);
    EXPECT_LE(windowsEnd, windowsStart);
}

} // namespace
