#include "base/app_state.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "storage/settings.h"
#include "support/input_state.h"
#include "support/main_window_fixture.h"
#include "support/modal_driver.h"
#include "view/tab_strip.h"
#include "view/entry_tooltips.h"
#include "view/grid.h"

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>

namespace {

class EntryTooltipTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ClearCatalogue();
        AppendTab("Work");
        SendMessageA(TabControl(), TCM_SETCURSEL, 0, 0);
    }
    void TearDown() override {
        ClearCatalogue();
        MainWindowTest::TearDown();
    }
    static void Add(const std::string& path, const std::string& arg, const std::string& work,
                    const std::string& comment, int count) {
        std::unique_ptr<Entry> record(new Entry());
        FillEntry(record.get(), path.c_str(), arg.c_str(), work.c_str(), comment.c_str(), count);
        AddEntry("", *record, 0, 0);
    }
    // The text the tooltip gets for a client point, as its TTN_NEEDTEXTA asks for it.
    static std::string TipAt(int x, int y) {
        NMTTDISPINFOA info;
        ZeroMemory(&info, sizeof info);
        info.hdr.hwndFrom = ToolTip();
        info.hdr.code = TTN_NEEDTEXTA;
        POINT pointer = {x, y};
        ComposeEntryTooltip(&info, pointer);
        EXPECT_EQ(AppInstance(), info.hinst);
        return info.lpszText ? info.lpszText : "(none)";
    }
    // The tip on screen once one shows (within three seconds), else "".
    static std::string ShownTip() {
        for (int tries = 0; tries < 120 && !IsWindowVisible(ToolTip()); ++tries, Sleep(25))
            PumpMessages();
        PumpMessages();
        return IsWindowVisible(ToolTip()) ? WindowText(ToolTip()) : "";
    }
};

const char kFirstEntryTip[] = "ファイルパス: C:\\a.exe\r\nファイル名: a.exe\r\n引数: \r\n"
                              "起動回数: 3回\r\n作業パス: C:\\\r\nコメント\r\n";
const char kSeventhEntryTip[] = "ファイルパス: C:\\g.exe\r\nファイル名: g.exe\r\n引数: -g\r\n"
                                "起動回数: 0回\r\n作業パス: \r\nコメント\r\n";
const char kTabTip[] = "Tab->\"Work\"";

TEST_F(EntryTooltipTest, TheTextFollowsThePointsCell) {
    Add("C:\\a.exe", "", "C:\\", "", 3);
    for (char c = 'b'; c <= 'g'; ++c)
        Add(std::string("C:\\") + c + ".exe", std::string("-") + c, "", "", 0);
    const struct {
        const char* name;
        int x, y;
        const char* tip;
    } cases[] = {
        {"first cell", 10, GridTop() + 10, kFirstEntryTip},
        {"40 pixels below the strip's top is the first row", 10, 40, kFirstEntryTip},
        {"first cell of the second row", 10, GridTop() + CellHeight() + 10, kSeventhEntryTip},
        {"an empty cell names the tab", 10, GridTop() + 2 * CellHeight() + 10, kTabTip},
        {"beside the last column is no entry of the next row", ColumnCount() * CellWidth() + 5,
         GridTop() + 10, kTabTip},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.tip, TipAt(c.x, c.y));
    }
}

TEST_F(EntryTooltipTest, TheTooltipOptionSwitchesTheTextsOff) {
    Add("C:\\a.exe", "", "C:\\", "", 3);
    for (int on : {0, 1}) {
        SetTooltip(on);
        NMTTDISPINFOA info;
        ZeroMemory(&info, sizeof info);
        info.hdr.hwndFrom = ToolTip();
        info.hdr.idFrom = 0;
        info.hdr.code = TTN_NEEDTEXTA;
        SendMessageA(window_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        if (on) {
            ASSERT_NE(nullptr, info.lpszText) << "the request is answered";
        } else {
            EXPECT_EQ(nullptr, info.lpszText) << "the request is left unanswered";
        }
    }
}

// Hovered until its tip shows, a still pointer's tip follows the cell under it when the grid
// scrolls or the tab changes, instead of naming the entry that was there.
TEST_F(EntryTooltipTest, AShownTipFollowsTheCellUnderAStillPointer) {
    for (int i = 10; i < 50; ++i)
        Add("C:\\e" + std::to_string(i) + ".exe", "", "", "", 0);
    AppendTab("Empty");
    UpdateScrollRange();
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    POINT p = {10, GridTop() + 10};
    ClientToScreen(window_, &p);
    PlacePointer(p.x, p.y);
    SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(10, GridTop() + 10));
    const struct {
        std::function<void()> act;
        const char* tip;
    } rows[] = {{[] {}, "e10.exe"},
                {[this] { SendMessageA(window_, WM_VSCROLL, SB_LINEDOWN, 0); }, "e16.exe"},
                {[] { SelectTab(1); }, "Tab->\"Empty\""}};
    for (const auto& row : rows) {
        row.act();
        EXPECT_NE(std::string::npos, ShownTip().find(row.tip)) << row.tip;
    }
}

} // namespace
