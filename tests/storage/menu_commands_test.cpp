#include "storage/menu_commands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class MenuCommands : public ::testing::Test {
  protected:
    void SetUp() override { ClearMenuCommands(); }
    static std::string NameAt(int i) {
        MenuCommand line;
        return GetMenuCommand(i, &line) ? line.MenuName : "<none>";
    }
};

TEST_F(MenuCommands, DefaultListHasTheTenLinesInOrder) {
    FillDefaultMenuCommands();
    ASSERT_EQ(10, MenuCommandCount());
    const struct {
        const char* name;
        int id;
    } expected[] = {
        {"リンク先を開く", 3},
        {"親ディレクトリを開く", 2},
        {"登録されている他のアプリを使って開く", 1},
        {"---セパレータ---", -1},
        {"項目から削除", 4},
        {"---セパレータ---", -1},
        {"アイコンを再取得", 6},
        {"個別にアイコンを設定する", 7},
        {"---セパレータ---", -1},
        {"登録情報の編集", 5},
    };
    for (int i = 0; i < 10; ++i) {
        MenuCommand line;
        ASSERT_EQ(1, GetMenuCommand(i, &line));
        EXPECT_STREQ(expected[i].name, line.MenuName) << i;
        EXPECT_EQ(expected[i].id, line.MenuID) << i;
        EXPECT_STREQ("", line.MenuPath);
        EXPECT_STREQ("", line.MenuArg);
    }
    EXPECT_EQ(0, HasMenuCommandId(8));
    EXPECT_EQ(0, HasMenuCommandId(9));
    EXPECT_EQ(3, FindMenuCommand(-1)); // the first separator
}

TEST_F(MenuCommands, ListHoldsThirtyAndRefusesMore) {
    EXPECT_EQ(30, MenuCommandCapacity());
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(i, AddMenuCommand("x", "", "", 96 + i));
    EXPECT_EQ(-1, AddMenuCommand("y", "", "", 200));
    EXPECT_EQ(30, MenuCommandCount());
    EXPECT_EQ(-1, FindMenuCommand(200));
    EXPECT_EQ(29, FindMenuCommand(125));
}

TEST_F(MenuCommands, TextsAreCutToTheirFieldsAtCharacterBoundaries) {
    std::string longName(300, 'n');
    std::string longPath(1100, 'p');
    // 128 two-byte characters: 256 bytes, one too many for the name field.
    std::string wide;
    for (int i = 0; i < 128; ++i)
        wide += "表";
    ASSERT_EQ(0, AddMenuCommand(longName.c_str(), longPath.c_str(), wide.c_str(), 96));
    MenuCommand line;
    ASSERT_EQ(1, GetMenuCommand(0, &line));
    EXPECT_EQ(255u, std::string(line.MenuName).size());
    EXPECT_EQ(1023u, std::string(line.MenuPath).size());
    EXPECT_EQ(254u, std::string(line.MenuArg).size()); // no half character at the end
}

TEST_F(MenuCommands, RemoveClosesTheGapAndZeroesTheFreedSlot) {
    AddMenuCommand("a", "", "", 1);
    AddMenuCommand("b", "", "", 2);
    AddMenuCommand("c", "", "", 3);
    EXPECT_EQ(0, RemoveMenuCommand(3));
    EXPECT_EQ(0, RemoveMenuCommand(-1));
    EXPECT_EQ(1, RemoveMenuCommand(0));
    ASSERT_EQ(2, MenuCommandCount());
    EXPECT_EQ("b", NameAt(0));
    EXPECT_EQ("c", NameAt(1));
    EXPECT_EQ("<none>", NameAt(2));
    // The freed slot is zero: swapping it in brings an empty line.
    ASSERT_EQ(1, SwapMenuCommands(1, 2));
    EXPECT_EQ("", NameAt(1));
}

TEST_F(MenuCommands, ReplaceAndSwapRespectTheirBounds) {
    AddMenuCommand("a", "pa", "xa", 96);
    AddMenuCommand("b", "pb", "xb", 97);
    MenuCommand line = {};
    std::string name = "new";
    name.copy(line.MenuName, name.size());
    line.MenuID = 98;
    EXPECT_EQ(0, ReplaceMenuCommand(2, line));
    EXPECT_EQ(1, ReplaceMenuCommand(1, line));
    EXPECT_EQ("new", NameAt(1));
    EXPECT_EQ(1, FindMenuCommand(98));
    EXPECT_EQ(-1, FindMenuCommand(97));

    EXPECT_EQ(0, SwapMenuCommands(0, 30));
    EXPECT_EQ(0, SwapMenuCommands(-1, 0));
    EXPECT_EQ(1, SwapMenuCommands(0, 1));
    EXPECT_EQ("new", NameAt(0));
    EXPECT_EQ("a", NameAt(1));

    // A record without terminators is bounded by its fields.
    MenuCommand full;
    std::memset(&full, 'z', sizeof full);
    full.MenuID = 99;
    EXPECT_EQ(1, ReplaceMenuCommand(0, full));
    MenuCommand back;
    ASSERT_EQ(1, GetMenuCommand(0, &back));
    EXPECT_EQ(255u, std::string(back.MenuName).size());
    EXPECT_EQ(1023u, std::string(back.MenuPath).size());
    EXPECT_EQ(255u, std::string(back.MenuArg).size());
}

TEST_F(MenuCommands, GetOutsideTheCountGivesNothing) {
    MenuCommand line;
    EXPECT_EQ(0, GetMenuCommand(0, &line));
    AddMenuCommand("a", "", "", 1);
    EXPECT_EQ(0, GetMenuCommand(1, &line));
    EXPECT_EQ(0, GetMenuCommand(-1, &line));
    ClearMenuCommands();
    EXPECT_EQ(0, MenuCommandCount());
    EXPECT_EQ(0, HasMenuCommandId(1));
}

} // namespace
