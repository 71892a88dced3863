#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "dialogs/refusal.h"
#include "res/command_ids.h"
#include "res/search_dialog_ids.h"
#include "storage/settings.h"
#include "support/input_state.h"
#include "support/main_window_fixture.h"
#include "support/modal_driver.h"
#include "view/grid.h"
#include "view/window_behaviours.h"

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char kSearchTitle[] = "検索";

using SearchDialogTest = MainWindowTest;

void AddMissingEntry(int t, const char* path) {
    Entry record{};
    std::snprintf(record.FilePath, sizeof record.FilePath, "%s", path);
    record.Attribute = kMissingAttributes;
    AddEntry("", record, 0, t);
}

std::vector<std::string> HitLines(HWND dialog) {
    std::vector<std::string> lines;
    HWND list = GetDlgItem(dialog, IDC_SEARCH_HITS);
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char line[1024] = "";
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line));
        lines.push_back(line);
    }
    return lines;
}

// Selects a hit as a click does: the list changes its selection and tells the dialog.
void ChooseHit(HWND dialog, int index) {
    HWND list = GetDlgItem(dialog, IDC_SEARCH_HITS);
    SendMessageA(list, LB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SEARCH_HITS, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
}

TEST_F(SearchDialogTest, FindsAcrossTabsAndJumpsToTheChosenHit) {
    AppendTab("Tools");
    AppendTab("a");
    AppendTab("a\"b");
    AddMissingEntry(0, "C:\\bin\\Notepad.lnk");
    AddMissingEntry(0, "C:\\bin\\calc.exe");
    AddMissingEntry(0, "C:\\doc\\NOTES.TXT");
    AddMissingEntry(1, "C:\\x\\other.txt");
    AddMissingEntry(1, "C:\\x\\more.txt");
    AddMissingEntry(2, "C:\\y\\y.txt");
    AddMissingEntry(2, "C:\\y\\notebook");
    SetAutoHide(1);
    Refusal empty;
    std::vector<std::string> lines;
    int tabAfterTools = -1, cellAfterTools = -1, tabAfterQuoted = -1, cellAfterQuoted = -1;
    ModalDriver driver;
    driver.Expect(kSearchTitle, [&](HWND dialog) {
        empty = RefuseName(dialog, IDC_SEARCH_TEXT, IDC_SEARCH_RUN, "");
        SetDlgItemTextA(dialog, IDC_SEARCH_TEXT, "NoTe");
        SendMessageA(dialog, WM_COMMAND, IDC_SEARCH_RUN, 0);
        lines = HitLines(dialog);
        ChooseHit(dialog, 1);
        tabAfterTools = CurrentTab();
        cellAfterTools = CursorEntryIndex();
        ChooseHit(dialog, 2);
        tabAfterQuoted = CurrentTab();
        cellAfterQuoted = CursorEntryIndex();
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    driver.Start();
    SendMessageA(MainWindow(), WM_COMMAND, IDM_SEARCH, 0);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ("Error", empty.caption);
    EXPECT_EQ("検索ワードを入力してください", empty.text);
    std::vector<std::string> expected = {"\"Tools\", 1番目に発見", "\"Tools\", 3番目に発見",
                                         "\"a\"b\", 2番目に発見"};
    EXPECT_EQ(expected, lines);
    EXPECT_EQ(0, tabAfterTools);
    EXPECT_EQ(2, cellAfterTools);
    EXPECT_EQ(2, tabAfterQuoted) << "a caption with a quote still names its own tab";
    EXPECT_EQ(1, cellAfterQuoted);
    // Auto-hide was stopped for the dialog and runs again after it.
    EXPECT_TRUE(KillTimer(MainWindow(), kAutoHideTimerId));
    SetAutoHide(0);
}

TEST_F(SearchDialogTest, AHitWhoseTabWasRenamedDoesNothing) {
    AppendTab("Tools");
    AppendTab("Work");
    AddMissingEntry(0, "C:\\bin\\tool.exe");
    int tabAfter = -1;
    size_t hits = 0;
    ModalDriver driver;
    driver.Expect(kSearchTitle, [&](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_SEARCH_TEXT, "tool");
        SendMessageA(dialog, WM_COMMAND, IDC_SEARCH_RUN, 0);
        hits = HitLines(dialog).size();
        SetTabName(0, "Renamed");
        SendMessageA(TabControl(), TCM_SETCURSEL, 1, 0);
        ChooseHit(dialog, 0);
        tabAfter = CurrentTab();
        PostMessageA(dialog, WM_CLOSE, 0, 0);
    });
    driver.Start();
    SendMessageA(MainWindow(), WM_COMMAND, IDM_SEARCH, 0);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(1u, hits);
    EXPECT_EQ(1, tabAfter);
    EXPECT_FALSE(KillTimer(MainWindow(), kAutoHideTimerId)) << "auto-hide was off";
}

} // namespace

namespace {

TEST_F(SearchDialogTest, SAndHOpenTheSearchAndShiftROpensTheRebuild) {
    struct Case {
        int key;
        bool shift;
        const char* title;
    } cases[] = {{'S', false, kSearchTitle}, {'H', false, kSearchTitle}, {'R', true, "再構築"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        ModalDriver driver;
        driver.Expect(c.title, [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); });
        driver.Start();
        {
            HeldKeys held(c.shift ? std::vector<int>{VK_SHIFT} : std::vector<int>{});
            SendMessageA(MainWindow(), WM_KEYDOWN, c.key, 0);
        }
        SendMessageA(MainWindow(), WM_KEYUP, c.key, 0);
        EXPECT_TRUE(driver.Finish());
    }
}

} // namespace
