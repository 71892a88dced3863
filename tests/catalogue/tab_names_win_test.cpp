#include "catalogue/tab_names.h"

#include "base/app_state.h"
#include "support/main_window_fixture.h"

#include <commctrl.h>

#include <string>

namespace {

using TabNamesTest = MainWindowTest;

TEST_F(TabNamesTest, AppendFindSwapAndRenameOnTheTabStrip) {
    EXPECT_EQ(-1, CurrentTab());
    EXPECT_EQ(-1, FindTab("Work"));
    AppendTab("Work");
    AppendTab("Games");
    AppendTab("\x95\x5C"); // a name whose second byte is a backslash
    ASSERT_EQ(3, TabNameCount());
    EXPECT_EQ(0, CurrentTab());
    EXPECT_EQ(1, FindTab("Games"));
    EXPECT_EQ(2, FindTab("\x95\x5C"));
    EXPECT_EQ(1, TabNameExists("Work"));
    EXPECT_EQ(0, TabNameExists("work")); // letter case counts

    SwapTabNames(0, 2);
    char name[kTabNameSize];
    GetTabName(0, name);
    EXPECT_STREQ("\x95\x5C", name);
    GetTabName(2, name);
    EXPECT_STREQ("Work", name);

    SetTabName(1, "Tools");
    EXPECT_EQ(-1, FindTab("Games"));
    EXPECT_EQ(1, FindTab("Tools"));

    SendMessageA(TabControl(), TCM_SETCURSEL, 2, 0);
    EXPECT_EQ(2, CurrentTab());
}

// Many at once: the same items in order, and the strip keeps the theme it had.
TEST_F(TabNamesTest, AppendingManyKeepsOrderAndTheme) {
    typedef HANDLE(WINAPI * GetWindowThemeFunction)(HWND);
    HMODULE uxtheme = LoadLibraryA("uxtheme.dll");
    GetWindowThemeFunction theme =
        uxtheme ? reinterpret_cast<GetWindowThemeFunction>(
                      reinterpret_cast<void*>(GetProcAddress(uxtheme, "GetWindowTheme")))
                : nullptr;
    bool themed = theme && theme(TabControl()) != nullptr;
    const char* names[] = {"a", "b", "\x95\x5C", "a"};
    AppendTab("first");
    AppendTabs(names, 4);
    ASSERT_EQ(5, TabNameCount());
    char name[kTabNameSize];
    for (int i = 0; i < 4; ++i) {
        GetTabName(i + 1, name);
        EXPECT_STREQ(names[i], name);
    }
    if (theme) {
        EXPECT_EQ(themed, theme(TabControl()) != nullptr);
    }
    if (uxtheme) FreeLibrary(uxtheme);
}

TEST_F(TabNamesTest, LongNamesAreCutToTheirField) {
    std::string longName(400, 'n');
    AppendTab(longName.c_str());
    char name[kTabNameSize];
    GetTabName(0, name);
    EXPECT_EQ(std::string(255, 'n'), name);
    EXPECT_EQ(-1, FindTab(longName.c_str()));
    EXPECT_EQ(0, FindTab(std::string(255, 'n').c_str()));
}

TEST_F(TabNamesTest, MissingItemsGiveEmptyNames) {
    char name[kTabNameSize] = "junk";
    GetTabName(5, name);
    EXPECT_STREQ("", name);
    SwapTabNames(0, 5); // nothing to swap
    EXPECT_EQ(0, TabNameCount());
}

} // namespace
