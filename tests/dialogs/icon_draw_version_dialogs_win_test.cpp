#include "dialogs/icon_draw_dialog.h"
#include "dialogs/version_dialog.h"
#include "res/command_ids.h"
#include "res/icon_draw_dialog_ids.h"
#include "res/version_dialog_ids.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "storage/settings.h"
#include "support/dialog_fixture.h"
#include "support/gui_resources.h"

#include <vector>

namespace {

const char kIconDrawTitle[] = "設定";
const char kVersionTitle[] = "バージョン情報";

using IconDrawDialogTest = DialogTest;

// Each radio saves its mode; the close box saves nothing. Run as Windows XP too: an unknown
// stored mode becomes the system's default at once.
TEST_F(IconDrawDialogTest, EachRadioSavesItsModeTheCloseBoxNothing) {
    const int fallback = GetOsVersionCode() >= 8 ? 1 : 2;
    const struct {
        int stored, click, shown, saved;
    } cases[] = {
        {1, IDC_ICON_DRAW_FROM_FILE, IDC_ICON_DRAW_ICON, 3},
        {3, IDC_ICON_DRAW_BITBLT, IDC_ICON_DRAW_FROM_FILE, 2},
        {2, IDC_ICON_DRAW_ICON, IDC_ICON_DRAW_BITBLT, 1},
        {2, 0, IDC_ICON_DRAW_BITBLT, 2},                     // closed by its close box
        {0, 0, IDC_ICON_DRAW_ICON - 1 + fallback, fallback}, // the same
        {9, IDC_ICON_DRAW_FROM_FILE, IDC_ICON_DRAW_ICON - 1 + fallback, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        SetIconDraw(c.stored);
        int shown = 0;
        WithDialog(IDM_ICON_DRAWING, kIconDrawTitle, [&](HWND dialog) {
            for (int id = IDC_ICON_DRAW_ICON; id <= IDC_ICON_DRAW_FROM_FILE; ++id)
                if (IsTicked(dialog, id)) shown = id;
            if (!c.click) {
                ClickButton(dialog, IDC_ICON_DRAW_FROM_FILE);
                PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
                return;
            }
            ClickButton(dialog, c.click);
            PressButton(dialog, IDC_ICON_DRAW_SAVE);
        });
        EXPECT_EQ(c.shown, shown);
        EXPECT_EQ(c.saved, GetIconDraw());
    }
    std::string ini = CloseAndReadSettings();
    EXPECT_EQ("3", SettingsValue(ini, "IconDraw"));
}

// The grid paints in every mode, and switching modes again and again keeps no icon handles.
TEST_F(IconDrawDialogTest, TheGridRepaintsInTheNewModeWithoutKeepingHandles) {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    Entry record = {};
    std::snprintf(record.FilePath, sizeof record.FilePath, "%s\\notepad.exe", windows);
    record.Attribute = FILE_ATTRIBUTE_ARCHIVE;
    if (CurrentTab() < 0) AppendTab("t");
    AddEntry("", record, 0, CurrentTab());
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    std::vector<int> objects;
    for (int round = 0; round < 4; ++round) {
        for (int mode : {IDC_ICON_DRAW_ICON, IDC_ICON_DRAW_BITBLT, IDC_ICON_DRAW_FROM_FILE}) {
            WithDialog(IDM_ICON_DRAWING, kIconDrawTitle, [mode](HWND dialog) {
                ClickButton(dialog, mode);
                PressButton(dialog, IDC_ICON_DRAW_SAVE);
            });
            UpdateWindow(window_);
            PumpMessages();
        }
        objects.push_back(CountGdiObjects());
    }
    EXPECT_EQ(3, GetIconDraw());
    EXPECT_GT(objects.front(), 0);
    EXPECT_EQ(objects[1], objects.back());
}

using VersionDialogTest = DialogTest;

// The dialog's texts and the version block of the module are one and the same.
TEST_F(VersionDialogTest, NameAndVersionComeFromTheVersionBlock) {
    VersionTexts texts;
    ReadVersionTexts(GetModuleHandleA(nullptr), &texts);
    EXPECT_STREQ("Ver1.20", texts.version);
    EXPECT_STREQ("Brenmoor - Varrowin", texts.title);
    EXPECT_NE(0, texts.rights[0]);
    std::string version, contact;
    bool readOnly = false;
    WithDialog(IDM_VERSION, kVersionTitle, [&](HWND dialog) {
        version = WindowText(GetDlgItem(dialog, IDC_VERSION_TEXT));
        contact = WindowText(GetDlgItem(dialog, IDC_VERSION_CONTACT));
        readOnly =
            (GetWindowLongA(GetDlgItem(dialog, IDC_VERSION_TEXT), GWL_STYLE) & ES_READONLY) != 0;
        PressButton(dialog, IDC_VERSION_OK);
    });
    EXPECT_EQ(texts.version, version);
    EXPECT_FALSE(contact.empty());
    EXPECT_TRUE(readOnly);
}

} // namespace
