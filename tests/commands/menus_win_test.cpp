#include "base/app_state.h"
#include "commands/launch.h"
#include "commands/menus.h"
#include "res/window_command_ids.h"
#include "storage/menu_commands.h"
#include "storage/settings.h"
#include "support/gdi_count.h"
#include "support/main_window_fixture.h"

#include <string>
#include <vector>

namespace {

// One item of a menu as GetMenuItemInfoA reads it back.
struct ReadItem {
    UINT id;
    std::string text;
    UINT state;
    bool separator;
    HMENU subMenu;
};

std::vector<ReadItem> ReadMenu(HMENU menu) {
    std::vector<ReadItem> items;
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        char text[256] = "";
        MENUITEMINFOA info;
        ZeroMemory(&info, sizeof info);
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof text;
        GetMenuItemInfoA(menu, position, TRUE, &info);
        items.push_back(
            {info.wID, text, info.fState, (info.fType & MFT_SEPARATOR) != 0, info.hSubMenu});
    }
    return items;
}

// What the tracker saw: the menu and its sub-menus, read before it would be shown.
struct SeenMenu {
    HMENU menu = nullptr;
    std::vector<ReadItem> top, other, styles, sizes;
};
SeenMenu g_seen;

BOOL ReadInsteadOfTracking(HMENU menu, HWND) {
    g_seen = SeenMenu();
    g_seen.menu = menu;
    g_seen.top = ReadMenu(menu);
    for (const ReadItem& item : g_seen.top) {
        if (item.text != "その他" || !item.subMenu) continue;
        g_seen.other = ReadMenu(item.subMenu);
        if (g_seen.other.size() >= 2) {
            g_seen.styles = ReadMenu(g_seen.other[0].subMenu);
            g_seen.sizes = ReadMenu(g_seen.other[1].subMenu);
        }
    }
    return FALSE;
}

std::vector<HMENU> g_built;
BOOL RememberOnly(HMENU menu, HWND) {
    HMENU other = GetSubMenu(menu, GetMenuItemCount(menu) - 3); // "その他"
    g_built = {menu, other, GetSubMenu(other, 0), GetSubMenu(other, 1)};
    return FALSE;
}

class GridMenuTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ClearMenuCommands();
        AddMenuCommand("リンク先を開く", "", "", 3);
        AddMenuCommand("開く", "", "", 1);
        AddMenuCommand("---セパレータ---", "", "", -1);
        AddMenuCommand("Viewer", "C:\\viewer.exe", "-v", 96);
        AddMenuCommand("もう一度", "", "", 1);
        SetGridMenuTracker(ReadInsteadOfTracking);
    }
    void TearDown() override {
        SetOpenWithPending(false);
        MainWindowTest::TearDown();
    }
    void RightClick() { SendMessageA(window_, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 40)); }
};

TEST_F(GridMenuTest, LinesThenOtherThenTheMainMenuAndTheCancelText) {
    RightClick();
    const std::vector<ReadItem>& top = g_seen.top;
    ASSERT_EQ(9u, top.size());
    const struct {
        UINT id;
        const char* text;
        bool separator;
    } expected[] = {
        {3, "リンク先を開く", false}, {1, "開く", false},     {0, "", true},
        {96, "Viewer", false},        {1, "もう一度", false}, {0, "", true},
        {0, "その他", false},         {0, "", true},          {0, "メインメニュー", false},
    };
    for (size_t i = 0; i < top.size(); ++i) {
        EXPECT_EQ(expected[i].separator, top[i].separator) << i;
        EXPECT_EQ(expected[i].text, top[i].text) << i;
        if (!top[i].subMenu) {
            EXPECT_EQ(expected[i].id, top[i].id) << i;
        }
    }
    EXPECT_EQ(TrayMenu(), top[8].subMenu);

    // A pending open-with renames every line of id 1, wherever it stands.
    SetOpenWithPending(true);
    RightClick();
    EXPECT_EQ("他のアプリで開くをキャンセル", g_seen.top[1].text);
    EXPECT_EQ("他のアプリで開くをキャンセル", g_seen.top[4].text);
    EXPECT_EQ("リンク先を開く", g_seen.top[0].text);
}

TEST_F(GridMenuTest, OtherBlockMarksStyleSizeAndSwitches) {
    const struct {
        int style, size, topMost, moveLock, autoHide;
    } cases[] = {{0, 1, 0, 0, 0}, {2, 1, 1, 0, 1}, {4, 2, 0, 1, 0}};
    for (const auto& c : cases) {
        SetStyle(c.style);
        SetSize(c.size);
        SetTopMost(c.topMost);
        SetMoveLock(c.moveLock);
        SetAutoHide(c.autoHide);
        RightClick();
        ASSERT_EQ(7u, g_seen.other.size());
        EXPECT_EQ("表示スタイル", g_seen.other[0].text);
        EXPECT_EQ("サイズ", g_seen.other[1].text);
        ASSERT_EQ(6u, g_seen.styles.size());
        EXPECT_TRUE(g_seen.styles[3].separator);
        for (const ReadItem& item : g_seen.styles) {
            if (item.separator) continue;
            bool current = item.id == UINT(IDM_STYLE_STANDARD + c.style);
            EXPECT_EQ(current, (item.state & MFS_CHECKED) != 0) << c.style << " " << item.id;
        }
        ASSERT_EQ(3u, g_seen.sizes.size());
        EXPECT_EQ("最小", g_seen.sizes[2].text);
        for (const ReadItem& item : g_seen.sizes) {
            bool current = c.style != 0 && item.id == UINT(IDM_SIZE_STANDARD + c.size);
            EXPECT_EQ(current, (item.state & MFS_CHECKED) != 0) << c.style << " " << item.id;
            EXPECT_EQ(c.style == 0, (item.state & MFS_GRAYED) != 0) << c.style << " " << item.id;
        }
        const struct {
            size_t position;
            UINT id;
            const char* text;
            int on;
        } switches[] = {{3, IDM_TOP_MOST, "最前面にする", c.topMost},
                        {4, IDM_MOVE_LOCK, "位置を固定", c.moveLock},
                        {6, IDM_AUTO_HIDE, "自動的に隠す", c.autoHide}};
        for (const auto& s : switches) {
            const ReadItem& item = g_seen.other[s.position];
            EXPECT_EQ(s.id, item.id);
            EXPECT_EQ(s.text, item.text);
            EXPECT_EQ(s.on != 0, (item.state & MFS_CHECKED) != 0) << s.text;
        }
        EXPECT_TRUE(g_seen.other[2].separator && g_seen.other[5].separator);
    }
}

TEST_F(GridMenuTest, TwoHundredMenusLeaveNoMenuOrGdiObjectBehind) {
    // The counter really counts: one brush more is one object more.
    int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the process has no GDI handle table to count";
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    EXPECT_EQ(before + 1, CountGdiObjects());
    DeleteObject(brush);
    ASSERT_EQ(before, CountGdiObjects());

    RightClick(); // the first menu may make what later menus share
    PumpMessages();
    int start = CountGdiObjects();
    SetGridMenuTracker(RememberOnly);
    int alive = 0;
    for (int i = 0; i < 200; ++i) {
        g_built.clear();
        RightClick();
        ASSERT_EQ(4u, g_built.size());
        for (HMENU menu : g_built)
            alive += IsMenu(menu) ? 1 : 0;
    }
    PumpMessages();
    EXPECT_EQ(start, CountGdiObjects());
    EXPECT_EQ(0, alive) << "the menu and its three sub-menus are destroyed after each click";
    EXPECT_TRUE(IsMenu(TrayMenu()));
    EXPECT_EQ(8, GetMenuItemCount(TrayMenu()));
}

} // namespace
