#include "base/app_state.h"
#include "app/tray_icon.h"
#include "res/command_ids.h"
#include "support/main_window_fixture.h"

#include <shellapi.h>

#include <string>

namespace {

using TrayIconTest = MainWindowTest;

void ExpectMainRecord(HWND window) {
    const NOTIFYICONDATAA& record = TrayIconRecord();
    EXPECT_EQ(DWORD(NOTIFYICONDATAA_V1_SIZE), record.cbSize);
    if (sizeof(void*) == 4) {
        EXPECT_EQ(88u, record.cbSize);
    }
    EXPECT_EQ(window, record.hWnd);
    EXPECT_EQ(3u, record.uID);
    EXPECT_EQ(UINT(NIF_MESSAGE | NIF_ICON | NIF_TIP), record.uFlags);
    EXPECT_EQ(0x8064u, record.uCallbackMessage);
    EXPECT_NE(nullptr, record.hIcon);
    EXPECT_STREQ("Varrowin - Ver1.20", record.szTip);
}

TEST_F(TrayIconTest, CreationAddsTheIconAndATaskbarRebuildAddsItAgain) {
    ExpectMainRecord(window_);
    // Another icon in the record shows that the rebuild adds the launcher's own again.
    AddTrayIcon(window_, WM_APP + 7, 9, nullptr, "other");
    ASSERT_NE(0u, TaskbarCreatedMessage());
    EXPECT_EQ(0, SendMessageA(window_, TaskbarCreatedMessage(), 0, 0));
    ExpectMainRecord(window_);
}

TEST_F(TrayIconTest, LeftClickShowsAndRestoresOtherClicksDoNothing) {
    const struct {
        const char* name;
        int show; // how the window is before the click
        LPARAM mouse;
        bool visibleAfter;
    } cases[] = {
        {"left click on the hidden window", SW_HIDE, WM_LBUTTONDOWN, true},
        {"left click on the iconic window", SW_SHOWMINNOACTIVE, WM_LBUTTONDOWN, true},
        {"double click", SW_HIDE, WM_LBUTTONDBLCLK, false},
        {"button release", SW_HIDE, WM_LBUTTONUP, false},
        {"pointer move", SW_HIDE, WM_MOUSEMOVE, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ShowWindow(window_, SW_SHOWNORMAL);
        ShowWindow(window_, c.show);
        EXPECT_EQ(0, SendMessageA(window_, kTrayCallbackMessage, kTrayIconId, c.mouse));
        EXPECT_EQ(c.visibleAfter, IsWindowVisible(window_) != 0);
        if (c.visibleAfter) {
            EXPECT_FALSE(IsIconic(window_));
        }
    }
}

struct MenuWatch {
    HMENU shown = nullptr;
};

BOOL CALLBACK FindOwnMenu(HWND window, LPARAM param) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
        std::string(name) != "#32768")
        return TRUE;
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
}

DWORD WINAPI CloseTrayMenu(void* param) {
    MenuWatch* watch = static_cast<MenuWatch*>(param);
    for (int tries = 0; tries < 200; ++tries) {
        HWND menu = nullptr;
        EnumWindows(FindOwnMenu, reinterpret_cast<LPARAM>(&menu));
        if (menu) {
            watch->shown = reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0));
            PostMessageA(MainWindow(), WM_KEYDOWN, VK_ESCAPE, 0);
            return 0;
        }
        Sleep(25);
    }
    return 1;
}

TEST_F(TrayIconTest, RightClickOpensTheTrayMenuAndPostsTheClosingNull) {
    ASSERT_NE(nullptr, TrayMenu());
    EXPECT_NE(UINT(-1), GetMenuState(TrayMenu(), IDM_OPTIONS, MF_BYCOMMAND))
        << "the options dialog is reached from the tray menu";
    MSG stale;
    while (PeekMessageA(&stale, window_, WM_NULL, WM_NULL, PM_REMOVE)) {
    }
    MenuWatch watch;
    HANDLE watcher = CreateThread(nullptr, 0, CloseTrayMenu, &watch, 0, nullptr);
    EXPECT_EQ(0, SendMessageA(window_, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONDOWN));
    WaitForSingleObject(watcher, 10000);
    CloseHandle(watcher);
    EXPECT_EQ(TrayMenu(), watch.shown);
    MSG null;
    EXPECT_TRUE(PeekMessageA(&null, window_, WM_NULL, WM_NULL, PM_REMOVE));
}

} // namespace
