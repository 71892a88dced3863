#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "dialogs/tab_name_dialogs.h"
#include "res/command_ids.h"
#include "res/tab_dialog_ids.h"
#include "support/main_window_fixture.h"
#include "support/modal_driver.h"
#include "dialogs/refusal.h"

#include <shlobj.h>

#include <string>

namespace {

const char kCreateTitle[] = "作成するタブ名を入力してください";
const char kRenameTitle[] = "新しいタブ名を入力してください";
const char kLeadingSpaceText[] = "タブ名の“先頭”に“空白”を入れることはできません";
const char kDuplicateText[] = "その名前は既に登録されています";

using TabNameDialogTest = MainWindowTest;

TEST_F(TabNameDialogTest, CreateRefusesLeadingSpaceAndDuplicateThenClosesOnEmpty) {
    AppendTab("Work");
    std::vector<Refusal> refusals;
    HWND owner = nullptr;
    ModalDriver driver;
    driver.Expect(kCreateTitle, [&refusals, &owner](HWND dialog) {
        owner = GetWindow(dialog, GW_OWNER);
        refusals.push_back(RefuseName(dialog, IDC_TAB_CREATE_NAME, IDC_TAB_CREATE_OK, " x"));
        refusals.push_back(RefuseName(dialog, IDC_TAB_CREATE_NAME, IDC_TAB_CREATE_OK, "Work"));
        SetDlgItemTextA(dialog, IDC_TAB_CREATE_NAME, "");
        PressButton(dialog, IDC_TAB_CREATE_OK);
    });
    driver.Start();
    SendMessageA(MainWindow(), WM_COMMAND, IDM_TAB_NEW, 0);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(MainWindow(), owner);
    ASSERT_EQ(2u, refusals.size());
    EXPECT_EQ("Error", refusals[0].caption);
    EXPECT_EQ(kLeadingSpaceText, refusals[0].text);
    EXPECT_EQ(" x", refusals[0].fieldAfter) << "the dialog stays open with the typed text";
    EXPECT_EQ("お知らせ", refusals[1].caption);
    EXPECT_EQ(kDuplicateText, refusals[1].text);
    EXPECT_EQ(1, TabNameCount()) << "OK on an empty field creates nothing";
}

TEST_F(TabNameDialogTest, CreateAppendsATabAndEnterActsAsOk) {
    AppendTab("Work");
    ModalDriver driver;
    driver.Expect(kCreateTitle, [](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_TAB_CREATE_NAME);
        SetWindowTextA(edit, "\x81\x40Games"); // a full-width space may lead
        SetFocus(edit);
        PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    });
    driver.Start();
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), kTabCreateDialogName, MainWindow(),
                                     CreateTabDialogProc, 0);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(1, result);
    ASSERT_EQ(2, TabNameCount());
    EXPECT_EQ(1, FindTab("\x81\x40Games"));
    EXPECT_EQ(0, EntryCount(1));
}

TEST_F(TabNameDialogTest, LongNamesAreCutWithoutHalfACharacter) {
    std::string wide;
    for (int i = 0; i < 128; ++i)
        wide += "\x82\xA0"; // 256 bytes of two-byte characters
    ModalDriver driver;
    driver.Expect(kCreateTitle, [&wide](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_TAB_CREATE_NAME, wide.c_str());
        PressButton(dialog, IDC_TAB_CREATE_OK);
    });
    driver.Start();
    SendMessageA(MainWindow(), WM_COMMAND, IDM_TAB_NEW, 0);
    ASSERT_TRUE(driver.Finish());
    ASSERT_EQ(1, TabNameCount());
    char name[kTabNameSize];
    GetTabName(0, name);
    EXPECT_EQ(wide.substr(0, 254), name);
}

TEST_F(TabNameDialogTest, CreateWithThirtyTabsShowsTheLimitOnceAndCloses) {
    for (int t = 0; t < 30; ++t)
        AppendTab(("tab" + std::to_string(t)).c_str());
    ModalDriver driver;
    driver.ExpectMessageBox("Error", IDOK);
    driver.Start();
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), kTabCreateDialogName, MainWindow(),
                                     CreateTabDialogProc, 0);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(7, result) << "closed by its own WM_CLOSE";
    ASSERT_EQ(1u, driver.Seen().size());
    EXPECT_EQ("作成出来るタブ数がいっぱいです。タブは最大30個迄となっております",
              driver.Seen()[0].text);
    EXPECT_EQ(30, TabNameCount());
    EXPECT_EQ(nullptr, FindOwnWindow("#32770", "Error"));
}

TEST_F(TabNameDialogTest, NameFieldDropsALeadingSpaceAndTakesADroppedPath) {
    std::string typed, dropped;
    ModalDriver driver;
    driver.Expect(kRenameTitle, [&typed, &dropped](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_TAB_RENAME_NAME);
        for (char c : std::string(" a b"))
            SendMessageA(edit, WM_CHAR, c, 0);
        typed = FieldText(dialog, IDC_TAB_RENAME_NAME);

        const char path[] = "C:\\Tools\\app.exe\0";
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + sizeof path + 1);
        DROPFILES* files = static_cast<DROPFILES*>(GlobalLock(memory));
        files->pFiles = sizeof(DROPFILES);
        CopyMemory(reinterpret_cast<char*>(files) + sizeof(DROPFILES), path, sizeof path);
        GlobalUnlock(memory);
        SendMessageA(edit, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
        dropped = FieldText(dialog, IDC_TAB_RENAME_NAME);
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    });
    driver.Start();
    AppendTab("Work");
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), kTabRenameDialogName, MainWindow(),
                                     RenameTabDialogProc, 0);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(7, result);
    EXPECT_EQ("a b", typed) << "only a space typed into the empty field is dropped";
    EXPECT_EQ("C:\\Tools\\app.exe", dropped);
}

TEST_F(TabNameDialogTest, RenameSetsTheCurrentTabOnlyAndRefusesLikeCreate) {
    AppendTab("Work");
    AppendTab("Games");
    SendMessageA(TabControl(), TCM_SETCURSEL, 1, 0);
    std::vector<Refusal> refusals;
    ModalDriver driver;
    driver.Expect(kRenameTitle, [&refusals](HWND dialog) {
        refusals.push_back(RefuseName(dialog, IDC_TAB_RENAME_NAME, IDC_TAB_RENAME_OK, "  y"));
        refusals.push_back(RefuseName(dialog, IDC_TAB_RENAME_NAME, IDC_TAB_RENAME_OK, "Work"));
        SetDlgItemTextA(dialog, IDC_TAB_RENAME_NAME, "work"); // letter case counts
        PressButton(dialog, IDC_TAB_RENAME_OK);
    });
    driver.Start();
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), kTabRenameDialogName, MainWindow(),
                                     RenameTabDialogProc, 0);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(1, result);
    ASSERT_EQ(2u, refusals.size());
    EXPECT_EQ("Error", refusals[0].caption);
    EXPECT_EQ(kLeadingSpaceText, refusals[0].text);
    EXPECT_EQ("お知らせ", refusals[1].caption);
    EXPECT_EQ(2, TabNameCount());
    EXPECT_EQ(0, FindTab("Work"));
    EXPECT_EQ(1, FindTab("work"));
}

TEST_F(TabNameDialogTest, TemplatesHaveTheirTitlesControlsAndNoCloseBox) {
    struct Case {
        const char* resource;
        DLGPROC proc;
        const char* title;
        int edit, ok;
    } cases[] = {
        {kTabCreateDialogName, CreateTabDialogProc, kCreateTitle, IDC_TAB_CREATE_NAME,
         IDC_TAB_CREATE_OK},
        {kTabRenameDialogName, RenameTabDialogProc, kRenameTitle, IDC_TAB_RENAME_NAME,
         IDC_TAB_RENAME_OK},
    };
    for (const Case& c : cases) {
        HWND dialog =
            CreateDialogParamA(GetModuleHandleA(nullptr), c.resource, MainWindow(), c.proc, 0);
        ASSERT_NE(nullptr, dialog) << c.resource;
        EXPECT_EQ(c.title, WindowText(dialog));
        LONG style = GetWindowLongA(dialog, GWL_STYLE);
        EXPECT_EQ(LONG(WS_CAPTION), style & WS_CAPTION);
        EXPECT_FALSE(style & WS_SYSMENU) << "no close box";
        HWND edit = GetDlgItem(dialog, c.edit);
        ASSERT_NE(nullptr, edit);
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(TabNameEditProc),
                  GetWindowLongPtrA(edit, GWLP_WNDPROC));
        HWND ok = GetDlgItem(dialog, c.ok);
        ASSERT_NE(nullptr, ok);
        EXPECT_EQ("OK", WindowText(ok));
        EXPECT_EQ(LONG(BS_DEFPUSHBUTTON), GetWindowLongA(ok, GWL_STYLE) & 0xF);
        HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
        LOGFONTA logFont;
        ASSERT_TRUE(GetObjectA(font, sizeof logFont, &logFont));
        EXPECT_STREQ("ＭＳ 明朝", logFont.lfFaceName);
        DestroyWindow(dialog);
    }
}

TEST_F(TabNameDialogTest, NamesTheSettingsFileCannotGiveBackAreRefused) {
    const std::string longName(252, 'n');
    AppendTab(longName.c_str());
    const struct {
        std::string name;
        const char* caption;
        const char* text;
    } cases[] = {
        {"[x", "Error", "タブ名の“先頭”に“[”を入れることはできません"},
        {"a=b", "Error", "タブ名に“=”を入れることはできません"},
        // Equal to the first tab as far as the settings file can tell.
        {longName + "xyz", "お知らせ", kDuplicateText},
    };
    std::vector<Refusal> refusals;
    ModalDriver driver;
    driver.Expect(kCreateTitle, [&](HWND dialog) {
        for (const auto& c : cases)
            refusals.push_back(
                RefuseName(dialog, IDC_TAB_CREATE_NAME, IDC_TAB_CREATE_OK, c.name.c_str()));
        SetDlgItemTextA(dialog, IDC_TAB_CREATE_NAME, "ゾーン");
        PressButton(dialog, IDC_TAB_CREATE_OK);
    });
    driver.Start();
    SendMessageA(MainWindow(), WM_COMMAND, IDM_TAB_NEW, 0);
    ASSERT_TRUE(driver.Finish());
    ASSERT_EQ(3u, refusals.size());
    for (size_t i = 0; i < refusals.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(cases[i].caption, refusals[i].caption);
        EXPECT_EQ(cases[i].text, refusals[i].text);
        EXPECT_EQ(cases[i].name, refusals[i].fieldAfter);
    }
    // A second byte 5D, as in many katakana, is no reason to refuse.
    EXPECT_EQ(1, FindTab("ゾーン"));
}

} // namespace
