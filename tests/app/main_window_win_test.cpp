#include "app/main_window.h"
#include "res/command_ids.h"
#include "storage/settings.h"
#include "support/main_window_fixture.h"
#include "support/modal_driver.h"
#include "view/tab_strip.h"

#include <commctrl.h>
#include <imm.h>

#include <set>
#include <string>

namespace {

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

TEST_F(MainWindowTest, TableHasEachMessageOnceAndTakesTaskbarCreated) {
    ASSERT_EQ(34, MessageTableSize());
    SendMessageA(window_, WM_NULL, 0, 0); // the table is completed on the first call
    std::set<UINT> seen;
    for (int row = 0; row < MessageTableSize(); ++row) {
        EXPECT_TRUE(seen.insert(MessageTableId(row)).second) << "row " << row + 1;
    }
    EXPECT_EQ(TaskbarCreatedMessage(), MessageTableId(24));
    EXPECT_NE(0u, TaskbarCreatedMessage());
    EXPECT_EQ(UINT(WM_APP + 100), MessageTableId(25));
    EXPECT_EQ(UINT(WM_PAINT), MessageTableId(33));
}

// Stands in for a window's procedure and counts one message, answering it with 77.
struct MessageCounter {
    static WNDPROC previous;
    static UINT message;
    static int count;
    static LRESULT CALLBACK Proc(HWND window, UINT m, WPARAM wParam, LPARAM lParam) {
        if (m == message) {
            ++count;
            return 77;
        }
        return CallWindowProcA(previous, window, m, wParam, lParam);
    }
    MessageCounter(HWND window, UINT counted) : window_(window) {
        message = counted;
        count = 0;
        previous = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc)));
    }
    ~MessageCounter() {
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    HWND window_;
};
WNDPROC MessageCounter::previous;
UINT MessageCounter::message;
int MessageCounter::count;

TEST_F(MainWindowTest, RowsAnswerZeroOthersGoToDefWindowProc) {
    LPARAM point = MAKELPARAM(100, 150);
    EXPECT_EQ(DefWindowProcA(window_, WM_NCHITTEST, 0, point),
              SendMessageA(window_, WM_NCHITTEST, 0, point));
    // An input-method notification of code 0 goes on to DefWindowProcA, which hands it to the
    // input method's window; that answers 77 here, yet the row answers 0.
    HWND ime = ImmGetDefaultIMEWnd(window_);
    ASSERT_NE(nullptr, ime);
    MessageCounter counter(ime, WM_IME_NOTIFY);
    ASSERT_EQ(77, DefWindowProcA(window_, WM_IME_NOTIFY, 0, 0));
    ASSERT_EQ(1, MessageCounter::count);
    EXPECT_EQ(0, SendMessageA(window_, WM_IME_NOTIFY, 0, 0));
    EXPECT_EQ(2, MessageCounter::count); // passed on
    EXPECT_EQ(0, SendMessageA(window_, WM_IME_NOTIFY, 3, 0));
    EXPECT_EQ(2, MessageCounter::count); // codes 1 to 5 are swallowed
    // WM_SYSCOMMAND other than minimise is passed on, yet the row still answers 0.
    EXPECT_EQ(0, SendMessageA(window_, WM_SYSCOMMAND, SC_RESTORE, 0));
    EXPECT_EQ(0, SendMessageA(window_, WM_MOVE, 0, 0));
}

TEST_F(MainWindowTest, NotificationsGoToTheTabStripByTheirSender) {
    MessageCounter counter(TabControl(), WM_NOTIFY);
    // The tooltip asks for the text of the 17th cell, whose tool id is the tab strip's id.
    NMTTDISPINFOA tip;
    ZeroMemory(&tip, sizeof tip);
    tip.hdr.hwndFrom = ToolTip();
    tip.hdr.idFrom = kTabStripId;
    tip.hdr.code = TTN_NEEDTEXTA;
    EXPECT_EQ(0, SendMessageA(window_, WM_NOTIFY, kTabStripId, reinterpret_cast<LPARAM>(&tip)));
    EXPECT_EQ(0, MessageCounter::count);

    NMHDR change = {TabControl(), UINT_PTR(kTabStripId), UINT(TCN_SELCHANGE)};
    SendMessageA(window_, WM_NOTIFY, kTabStripId, reinterpret_cast<LPARAM>(&change));
    EXPECT_EQ(1, MessageCounter::count);
}

TEST_F(MainWindowTest, MinimiseHidesInsteadOfIconising) {
    ShowWindow(window_, SW_SHOW);
    ASSERT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(0, SendMessageA(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0));
    EXPECT_FALSE(IsWindowVisible(window_));
    EXPECT_FALSE(IsIconic(window_));
}

TEST_F(MainWindowTest, TimerOfAnyIdInvalidates) {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    ValidateRect(window_, nullptr);
    RECT dirty;
    ASSERT_FALSE(GetUpdateRect(window_, &dirty, FALSE));
    SendMessageA(window_, WM_TIMER, 12345, 0);
    EXPECT_TRUE(GetUpdateRect(window_, &dirty, FALSE));
}

TEST_F(MainWindowTest, CreateBuildsTheChildren) {
    HWND status = StatusBar();
    ASSERT_NE(nullptr, status);
    EXPECT_EQ("msctls_statusbar32", ClassOf(status));
    EXPECT_EQ(kStatusBarId, GetDlgCtrlID(status));
    EXPECT_TRUE(GetWindowLongA(status, GWL_STYLE) & SBARS_SIZEGRIP);

    ASSERT_NE(nullptr, ToolTip());
    EXPECT_EQ("tooltips_class32", ClassOf(ToolTip()));
    EXPECT_EQ(window_, GetWindow(ToolTip(), GW_OWNER));

    HWND tabs = TabControl();
    ASSERT_NE(nullptr, tabs);
    EXPECT_EQ("SysTabControl32", ClassOf(tabs));
    EXPECT_EQ(16, GetDlgCtrlID(tabs));
    LONG tabStyle = GetWindowLongA(tabs, GWL_STYLE);
    EXPECT_TRUE(tabStyle & TCS_OWNERDRAWFIXED);
    EXPECT_TRUE(tabStyle & WS_CLIPSIBLINGS);

    HWND scroll = ScrollBar();
    ASSERT_NE(nullptr, scroll);
    EXPECT_EQ("ScrollBar", ClassOf(scroll));
    EXPECT_EQ(kScrollBarId, GetDlgCtrlID(scroll));
    RECT r;
    GetWindowRect(scroll, &r);
    MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(390, r.left);
    EXPECT_EQ(30, r.top);
    EXPECT_EQ(18, r.right - r.left);
    EXPECT_EQ(325, r.bottom - r.top);

    EXPECT_EQ(GetMenu(window_), MainMenu());
    EXPECT_NE(nullptr, MainMenu());
}

TEST_F(MainWindowTest, WindowHasTheClassAndFrameOfTheLauncher) {
    char title[32] = "";
    GetWindowTextA(window_, title, sizeof title);
    EXPECT_STREQ("Varrowin", title);
    EXPECT_EQ("VARROW", ClassOf(window_));
    LONG ex = GetWindowLongA(window_, GWL_EXSTYLE);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(ex & WS_EX_ACCEPTFILES);
    // Wine reports Windows 7 here (code 0): no layered style, so the window is visible.
    EXPECT_EQ(GetOsVersionCode() >= 8, (ex & WS_EX_LAYERED) != 0);
    LONG style = GetWindowLongA(window_, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    RECT r;
    GetWindowRect(window_, &r);
    EXPECT_EQ(30, r.left);
    EXPECT_EQ(30, r.top);
    EXPECT_EQ(414, r.right - r.left);
    EXPECT_GE(r.bottom - r.top, 420); // taller where the menu bar takes two lines
    WNDCLASSA wc;
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "VARROW", &wc));
    EXPECT_EQ(UINT(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS), wc.style);
    EXPECT_STREQ("VARROW_MENU", wc.lpszMenuName);
}

TEST_F(MainWindowTest, CloseSavesPositionDestroysAndQuitsWithZero) {
    SetWindowPos(window_, nullptr, 120, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SendMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(0, PumpMessages());
    int32_t x = 0, y = 0;
    GetMainWindowPos(0, &x, &y);
    EXPECT_EQ(120, x);
    EXPECT_EQ(140, y);
}

TEST_F(MainWindowTest, EndSessionClosesLikeClose) {
    SendMessageA(window_, WM_ENDSESSION, FALSE, 0);
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_EQ(0, PumpMessages());
}

TEST_F(MainWindowTest, ExitCommandPostsClose) {
    SendMessageA(window_, WM_COMMAND, IDM_EXIT, 0);
    EXPECT_TRUE(IsWindow(window_));
    EXPECT_EQ(0, PumpMessages());
    EXPECT_FALSE(IsWindow(window_));
}

} // namespace

namespace {

TEST(ModalDriver, AnswersAMessageBoxByItsTitle) {
    ModalDriver driver;
    driver.ExpectMessageBox("確認", IDNO);
    driver.Start();
    int answer = MessageBoxA(nullptr, "本当に？", "確認", MB_YESNO | MB_DEFBUTTON2);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(IDNO, answer);
    ASSERT_EQ(1u, driver.Seen().size());
    EXPECT_EQ("本当に？", driver.Seen()[0].text);
}

} // namespace
