#include "catalogue/catalogue.h"
#include "storage/menu_commands.h"
#include "storage/settings.h"
#include "storage/settings_catalogue.h"
#include "storage/settings_file.h"
#include "storage/settings_options.h"

#include "storage/entry_icons.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>
#include <string>

namespace {

// The process-wide document filled from text, as start-up reads it.
class SettingsContents : public ::testing::Test {
  protected:
    void SetUp() override {
        SettingsRelease();
        SettingsPrepare();
        ResetSettings();
        ApplyDefaultSettingValues(0x808080, 0);
        ClearMenuCommands();
        FreeCatalogue();
        ClearCatalogue();
        SetCatalogueServices(CatalogueServices{});
        Attributes().clear();
    }
    void TearDown() override {
        FreeCatalogue();
        SetCatalogueServices(CatalogueServices{});
        SettingsRelease();
    }
    static void Read(const std::string& text) {
        SettingsDocument().LoadBytes(text.data(), text.size());
    }
    static std::string Rendered() {
        std::string out;
        SettingsDocument().Render(&out);
        return out;
    }
    // File attributes the fake platform reports; every other path is missing.
    static std::map<std::string, uint32_t>& Attributes() {
        static std::map<std::string, uint32_t> known;
        return known;
    }
    static uint32_t FakeAttributes(const char* path) {
        auto it = Attributes().find(path);
        return it == Attributes().end() ? kMissingAttributes : it->second;
    }
    static bool FakeShortcut(const char* path, ShortcutTarget* out) {
        std::string p = path;
        if (p == "C:\\links\\withfolder.lnk") {
            std::strcpy(out->target, "D:\\tools\\app.exe");
            std::strcpy(out->workingFolder, "E:\\work");
            return true;
        }
        if (p == "C:\\links\\nofolder.LNK") {
            std::strcpy(out->target, "D:\\tools\\bin\\app.exe");
            return true;
        }
        return false;
    }
    static void UseFakePlatform() {
        CatalogueServices services{};
        services.pathAttributes = FakeAttributes;
        services.resolveShortcut = FakeShortcut;
        SetCatalogueServices(services);
    }
};

TEST_F(SettingsContents, OptionsAreWrittenInFileOrderWithTheirTypes) {
    SetMainWindowPos(2, -5, 7000);
    SetTopMost(0x101); // a flag written as a byte keeps its low byte
    SetHotKey(0x0241);
    SaveOptions();
    std::string expected =
        "[Info]\r\n"
        "MainWindowPosX_0 = 30\r\nMainWindowPosY_0 = 30\r\n"
        "MainWindowPosX_1 = 30\r\nMainWindowPosY_1 = 30\r\n"
        "MainWindowPosX_2 = -5\r\nMainWindowPosY_2 = 7000\r\n"
        "MainWindowPosX_3 = 30\r\nMainWindowPosY_3 = 30\r\n"
        "MainWindowPosX_4 = 30\r\nMainWindowPosY_4 = 30\r\n"
        "Sort = 3\r\nAlpha = 255\r\nTopMost = 1\r\nMoveLock = 0\r\nAutoHide = 0\r\n"
        "Multi = 1\r\nAutoHideTimer = 1000\r\nDeadLink = 0\r\nTooltip = 1\r\n"
        "DeleteCheck = 1\r\nFileNotCheck = 0\r\nShortcutFull = 0\r\nHotKey = 577\r\n"
        "Style = 0\r\nSize = 0\r\nIconDraw = 2\r\nColor = 8421504\r\nBackGround = 0\r\n"
        "Grid = 0\r\nGridType = 0\r\nGridColor = 0\r\nCursorColor = 16777215\r\n"
        "CursorGround = 0\r\nCursorGradWay = 0\r\nCursorGColorStart = 3153936\r\n"
        "CursorGColorEnd = 16777215\r\nGradWay = 0\r\nGColorStart = 3153936\r\n"
        "GColorEnd = 16777215\r\nVersion = 1\r\nVersionMiner = 20\r\n";
    EXPECT_EQ(expected, Rendered());
}

TEST_F(SettingsContents, EveryOptionSurvivesSaveAndLoad) {
    for (int s = 0; s < kDisplayStyles; ++s)
        SetMainWindowPos(s, 100 + s, 200 + s);
    SetSort(1);
    SetAlpha(90);
    SetTopMost(1);
    SetMoveLock(1);
    SetAutoHide(1);
    SetMulti(0);
    SetAutoHideTimer(2500);
    SetDeadLink(1);
    SetTooltip(0);
    SetDeleteCheck(0);
    SetFileNotCheck(1);
    SetShortcutFull(1);
    SetHotKey(0x0370);
    SetStyle(3);
    SetSize(2);
    SetIconDraw(3);
    SetColor(0x112233);
    SetBackGround(2);
    SetGrid(1);
    SetGridType(4);
    SetGridColor(0x445566);
    SetCursorColor(0x778899);
    SetCursorGround(1);
    SetCursorGradWay(1);
    SetCursorGColorStart(0xAABBCC);
    SetCursorGColorEnd(0xDDEEFF);
    SetGradWay(1);
    SetGColorStart(0x010203);
    SetGColorEnd(0x040506);
    SaveOptions();
    std::string text = Rendered();
    SettingsRelease();
    SettingsPrepare();
    ResetSettings();
    Read(text);
    LoadOptions();
    for (int s = 0; s < kDisplayStyles; ++s) {
        int32_t x = 0, y = 0;
        GetMainWindowPos(s, &x, &y);
        EXPECT_EQ(100 + s, x);
        EXPECT_EQ(200 + s, y);
    }
    EXPECT_EQ(1, GetSort());
    EXPECT_EQ(90, GetAlpha());
    EXPECT_EQ(1, GetTopMost());
    EXPECT_EQ(1, GetMoveLock());
    EXPECT_EQ(1, GetAutoHide());
    EXPECT_EQ(0, GetMulti());
    EXPECT_EQ(2500, GetAutoHideTimer());
    EXPECT_EQ(1, GetDeadLink());
    EXPECT_EQ(0, GetTooltip());
    EXPECT_EQ(0, GetDeleteCheck());
    EXPECT_EQ(1, GetFileNotCheck());
    EXPECT_EQ(1, GetShortcutFull());
    EXPECT_EQ(0x0370, GetHotKey());
    EXPECT_EQ(3, GetStyle());
    EXPECT_EQ(2, GetSize());
    EXPECT_EQ(3, GetIconDraw());
    EXPECT_EQ(0x112233u, GetColor());
    EXPECT_EQ(2, GetBackGround());
    EXPECT_EQ(1, GetGrid());
    EXPECT_EQ(4, GetGridType());
    EXPECT_EQ(0x445566u, GetGridColor());
    EXPECT_EQ(0x778899u, GetCursorColor());
    EXPECT_EQ(1, GetCursorGround());
    EXPECT_EQ(1, GetCursorGradWay());
    EXPECT_EQ(0xAABBCCu, GetCursorGColorStart());
    EXPECT_EQ(0xDDEEFFu, GetCursorGColorEnd());
    EXPECT_EQ(1, GetGradWay());
    EXPECT_EQ(0x010203u, GetGColorStart());
    EXPECT_EQ(0x040506u, GetGColorEnd());
}

TEST_F(SettingsContents, MissingKeysKeepValuesAndPositionsNeedBothHalves) {
    Read("[Info]\r\n"
         "MainWindowPosX_0 = 400\r\n" // no Y: the pair is not taken
         "MainWindowPosX_1 = 10\r\nMainWindowPosY_1 = 20\r\n"
         "Alpha = 10\r\n"       // kept as read; applying is start-up's choice
         "Style = 7\r\n"        // start-up turns it into 0, loading keeps it
         "TopMost = 258\r\n"    // a byte key keeps the low byte
         "Sort = \"abc\"\r\n"); // a text where a number belongs
    LoadOptions();
    int32_t x = 0, y = 0;
    GetMainWindowPos(0, &x, &y);
    EXPECT_EQ(30, x);
    EXPECT_EQ(30, y);
    GetMainWindowPos(1, &x, &y);
    EXPECT_EQ(10, x);
    EXPECT_EQ(20, y);
    EXPECT_EQ(10, GetAlpha());
    EXPECT_EQ(7, GetStyle());
    EXPECT_EQ(2, GetTopMost());
    EXPECT_EQ(1000, GetAutoHideTimer());
    EXPECT_EQ(1, GetDeleteCheck());
}

TEST_F(SettingsContents, CommandListFromTheFile) {
    struct Case {
        const char* name;
        std::string text;
        int count;
        const char* firstName;
        int firstId;
    } cases[] = {
        {"missing MenuTotal gives the defaults", "[Info]\r\nSort = 1\r\n", 10, "リンク先を開く", 3},
        {"MenuTotal 0 gives an empty list", "[Info]\r\nMenuTotal = 0\r\n", 0, nullptr, 0},
        {"negative MenuTotal gives an empty list", "[Info]\r\nMenuTotal = -4\r\n", 0, nullptr, 0},
        {"missing keys give empty texts and 0", "[Info]\r\nMenuTotal = 2\r\nMenuName_1 = \"b\"\r\n",
         2, "", 0},
        {"lines are read as stored",
         "[Info]\r\nMenuTotal = 1\r\nMenuName_0 = \"メモ帳\"\r\nMenuPath_0 = "
         "\"C:\\\\w\\\\n.exe\"\r\n"
         "MenuArg_0 = \"/a \\\"q\\\"\"\r\nMenuID_0 = 96\r\n",
         1, "メモ帳", 96},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRelease();
        SettingsPrepare();
        ClearMenuCommands();
        Read(c.text);
        LoadMenuCommands();
        ASSERT_EQ(c.count, MenuCommandCount());
        if (c.firstName) {
            MenuCommand line;
            ASSERT_EQ(1, GetMenuCommand(0, &line));
            EXPECT_STREQ(c.firstName, line.MenuName);
            EXPECT_EQ(c.firstId, line.MenuID);
        }
    }
    MenuCommand line;
    ASSERT_EQ(1, GetMenuCommand(0, &line));
    EXPECT_STREQ("C:\\w\\n.exe", line.MenuPath);
    EXPECT_STREQ("/a \"q\"", line.MenuArg);
}

TEST_F(SettingsContents, CommandCountsOverThirtyAreCut) {
    std::string text = "[Info]\r\nMenuTotal = 45\r\n";
    for (int i = 0; i < 45; ++i) {
        text += "MenuName_" + std::to_string(i) + " = \"c" + std::to_string(i) + "\"\r\n";
        text += "MenuID_" + std::to_string(i) + " = " + std::to_string(96 + i) + "\r\n";
    }
    Read(text);
    LoadMenuCommands();
    ASSERT_EQ(30, MenuCommandCount());
    MenuCommand line;
    ASSERT_EQ(1, GetMenuCommand(29, &line));
    EXPECT_STREQ("c29", line.MenuName);
    EXPECT_EQ(125, line.MenuID);
}

TEST_F(SettingsContents, CommandListIsWrittenAfterItsTotal) {
    AddMenuCommand("名前", "C:\\a b\\c.exe", "-x \"y\"", 97);
    AddMenuCommand("---セパレータ---", "", "", -1);
    SaveMenu();
    EXPECT_EQ("[Info]\r\nMenuTotal = 2\r\n"
              "MenuName_0 = \"名前\"\r\nMenuPath_0 = \"C:\\\\a b\\\\c.exe\"\r\n"
              "MenuArg_0 = \"-x \\\"y\\\"\"\r\nMenuID_0 = 97\r\n"
              "MenuName_1 = \"---セパレータ---\"\r\nMenuPath_1 = \"\"\r\nMenuArg_1 = \"\"\r\n"
              "MenuID_1 = -1\r\n",
              Rendered());
}

TEST_F(SettingsContents, SectionAndKeyNamesOfTabs) {
    char out[kSettingsNameField];
    TabSectionName(out, "Tools");
    EXPECT_STREQ("[Tab_Tools]", out);
    EntryKeyName(out, "Tools", "FilePath", 12);
    EXPECT_STREQ("Tools_FilePath_12", out);
    // The index is written as a signed decimal number over its whole range.
    const struct {
        int n;
        const char* name;
    } numbers[] = {{0, "T_Count_0"},
                   {10, "T_Count_10"},
                   {-7, "T_Count_-7"},
                   {2147483647, "T_Count_2147483647"},
                   {-2147483647 - 1, "T_Count_-2147483648"}};
    for (const auto& c : numbers) {
        EntryKeyName(out, "T", "Count", c.n);
        EXPECT_STREQ(c.name, out);
    }

    // A 250-byte name: the section keeps 249 bytes of it and its closing bracket.
    std::string longName(250, 'a');
    TabSectionName(out, longName.c_str());
    EXPECT_EQ(255u, std::strlen(out));
    EXPECT_EQ("[Tab_" + std::string(249, 'a') + "]", std::string(out));
    // Two-byte characters are never split: 125 of them are 250 bytes, 124 fit.
    std::string wide;
    for (int i = 0; i < 125; ++i)
        wide += "表";
    TabSectionName(out, wide.c_str());
    EXPECT_EQ("[Tab_" + wide.substr(0, 248) + "]", std::string(out));

    // Keys of such a tab keep their field word and index, so they stay distinct.
    char first[kSettingsNameField];
    char second[kSettingsNameField];
    EntryKeyName(first, longName.c_str(), "FilePath", 0);
    EntryKeyName(second, longName.c_str(), "FilePath", 1);
    EXPECT_EQ(255u, std::strlen(first));
    EXPECT_STRNE(first, second);
    EXPECT_EQ("_FilePath_1", std::string(second).substr(255 - 11));
    EntryKeyName(first, wide.c_str(), "Comment", 3);
    EXPECT_EQ(wide.substr(0, 244) + "_Comment_3", std::string(first));
}

TEST_F(SettingsContents, IconFoldersFollowThePathsFolder) {
    struct Case {
        const char* tab;
        const char* path;
        const char* folder;
    } cases[] = {
        {"T", "C:\\Tools\\app.exe", "Cache\\T\\C:\\Tools"},
        {"T", "C:/Tools/app.exe", "Cache\\T\\C:/Tools"},
        {"T", "C:\\Tools\\", "Cache\\T\\C:"}, // a closing separator does not count
        {"T", "app.exe", "Cache\\T"},
        {"T", "", "Cache\\T"},
        {"表", "C:\\表\\a.txt", "Cache\\表\\C:\\表"},
        {"T", "C:\\ソ\\a", "Cache\\T\\C:\\ソ"}, // "ソ" ends in byte 5C
        {"T", "C:\\dir\\ソ", "Cache\\T\\C:\\dir"},
    };
    for (const Case& c : cases) {
        char tabFolder[kIconFolderSize];
        char out[kIconFolderSize];
        TabCacheFolder(tabFolder, c.tab);
        IconCacheFolder(out, tabFolder, c.path);
        EXPECT_STREQ(c.folder, out) << c.path;
    }
}

TEST_F(SettingsContents, WorkingFolderOfAnEntryWithoutOne) {
    UseFakePlatform();
    struct Case {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Tools\\app.exe", "C:\\Tools"},           {"app.exe", ""}, {"C:\\ソ\\x.txt", "C:\\ソ"},
        {"C:\\links\\withfolder.lnk", "E:\\work"},     // the shortcut's own folder
        {"C:\\links\\nofolder.LNK", "D:\\tools\\bin"}, // else its target's folder
        {"C:\\links\\broken.lnk", "C:\\links"},        // unresolved: where it lies
    };
    for (const Case& c : cases) {
        char out[kEntryPathSize];
        DerivedWorkPath(out, sizeof out, c.path);
        EXPECT_STREQ(c.folder, out) << c.path;
    }
}

std::string EntryKeys(const std::string& tab, int n, const std::string& path,
                      const std::string& attribute, bool withWorkPath = true) {
    std::string i = std::to_string(n);
    std::string text = tab + "_FilePath_" + i + " = \"" + path + "\"\r\n" + tab + "_FileName_" + i +
                       " = \"f\"\r\n" + tab + "_Arg_" + i + " = \"-a\"\r\n";
    if (withWorkPath) text += tab + "_WorkPath_" + i + " = \"W:\\\\w\"\r\n";
    if (!attribute.empty()) text += tab + "_Attribute_" + i + " = " + attribute + "\r\n";
    text += tab + "_IconType_" + i + " = 257\r\n" + tab + "_Count_" + i + " = 9\r\n" + tab +
            "_Comment_" + i + " = \"c\"\r\n";
    return text;
}

TEST_F(SettingsContents, EntriesFollowTheLoadingRules) {
    UseFakePlatform();
    Attributes()["C:\\here.exe"] = 0x20;
    Attributes()["C:\\dir"] = 0x10;
    std::string text = "[Tab_T]\r\n" + EntryKeys("T", 0, "C:\\\\here.exe", "33") +
                       "T_FileName_1 = \"no path key\"\r\n" +
                       EntryKeys("T", 2, "C:\\\\gone.exe", "32") +
                       EntryKeys("T", 3, "C:\\\\dir", "", false);
    struct Case {
        const char* name;
        int deadLink, fileNotCheck;
        int entries;
        uint32_t firstAttribute, goneAttribute;
    } cases[] = {
        {"attributes read anew", 0, 0, 3, 0x20, kMissingAttributes},
        {"stored attributes used", 0, 1, 3, 33, 32},
        {"missing files dropped", 1, 0, 2, 0x20, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsRelease();
        SettingsPrepare();
        FreeCatalogue();
        Read(text);
        SetDeadLink(c.deadLink);
        SetFileNotCheck(c.fileNotCheck);
        LoadTabEntries(4, "T", 4);
        ASSERT_EQ(c.entries, EntryCount(4));
        Entry* first = FindEntry(4, 0);
        ASSERT_NE(nullptr, first);
        EXPECT_STREQ("C:\\here.exe", first->FilePath);
        EXPECT_STREQ("here.exe", first->FileName);
        EXPECT_STREQ("-a", first->Arg);
        EXPECT_STREQ("W:\\w", first->WorkPath);
        EXPECT_EQ(c.firstAttribute, first->Attribute);
        EXPECT_EQ(1, first->IconType); // a byte key: 257 keeps its low byte
        EXPECT_EQ(9, first->Count);
        EXPECT_STREQ("c", first->Comment);
        if (!c.deadLink) {
            EXPECT_EQ(c.goneAttribute, FindEntry(4, 1)->Attribute);
        }
        Entry* folder = FindEntry(4, c.entries - 1);
        EXPECT_STREQ("C:\\dir", folder->FilePath);
        EXPECT_STREQ("C:", folder->WorkPath); // derived from the path
        EXPECT_EQ(0x10u, folder->Attribute);  // no stored attributes: read anew
    }
}

TEST_F(SettingsContents, WithoutTheExistenceTestNothingIsDroppedOrForgotten) {
    Read("[Tab_T]\r\n" + EntryKeys("T", 0, "C:\\\\gone.exe", "32"));
    SetDeadLink(1);
    LoadTabEntries(0, "T", 1);
    ASSERT_EQ(1, EntryCount(0));
    // Nor can attributes be read anew: the stored ones stay.
    EXPECT_EQ(32u, FindEntry(0, 0)->Attribute);
}

TEST_F(SettingsContents, MissingTextKeysAndOverlongValues) {
    std::string longPath = "C:\\\\" + std::string(1500, 'p');
    Read("[Tab_T]\r\nT_FilePath_0 = \"" + longPath + "\"\r\nT_FilePath_1 = \"x\"\r\n");
    SetFileNotCheck(1);
    LoadTabEntries(0, "T", 2);
    ASSERT_EQ(2, EntryCount(0));
    Entry* e = FindEntry(0, 0);
    EXPECT_EQ(1023u, std::strlen(e->FilePath));
    EXPECT_STREQ("", e->Arg);
    EXPECT_STREQ("", e->Comment);
    EXPECT_EQ(0, e->Count);
    EXPECT_EQ(0, e->IconType);
    EXPECT_EQ(kMissingAttributes, e->Attribute); // no platform: not known to exist
    EXPECT_STREQ("C:", e->WorkPath);
}

TEST_F(SettingsContents, EntriesAreWrittenInListOrderAndComeBack) {
    Entry record;
    std::memset(&record, 0, sizeof record);
    std::strcpy(record.FilePath, "C:\\表\\a \"b\".exe");
    std::strcpy(record.Arg, "--x \\\"");
    std::strcpy(record.WorkPath, "C:\\表");
    std::strcpy(record.Comment, "一言どうぞ～");
    record.Attribute = kMissingAttributes;
    record.Count = 42;
    AddEntry("", record, 1, 2);
    std::strcpy(record.FilePath, "D:\\b.txt");
    record.Attribute = 0x20;
    AddEntry("", record, 0, 2);
    SaveTabEntries(2, "表");
    SaveTabEntries(3, "empty"); // no entries, no section
    std::string text = Rendered();
    EXPECT_EQ(0u, text.find("[Tab_表]\r\n表_FilePath_0 = \"C:\\\\表\\\\a b.exe\"\r\n"
                            "表_FileName_0 = \"a b.exe\"\r\n表_Arg_0 = \"--x \\\\\\\"\"\r\n"
                            "表_WorkPath_0 = \"C:\\\\表\"\r\n表_Attribute_0 = -1\r\n"
                            "表_IconType_0 = 1\r\n表_Count_0 = 42\r\n"
                            "表_Comment_0 = \"一言どうぞ～\"\r\n表_FilePath_1 = "))
        << text;
    EXPECT_EQ(std::string::npos, text.find("[Tab_empty]"));

    FreeCatalogue();
    SettingsRelease();
    SettingsPrepare();
    Read(text);
    SetFileNotCheck(1);
    LoadTabEntries(0, "表", 2);
    ASSERT_EQ(2, EntryCount(0));
    EXPECT_STREQ("--x \\\"", FindEntry(0, 0)->Arg);
    EXPECT_EQ(kMissingAttributes, FindEntry(0, 0)->Attribute);
    EXPECT_STREQ("D:\\b.txt", FindEntry(0, 1)->FilePath);
    EXPECT_EQ(0x20u, FindEntry(0, 1)->Attribute);
}

TEST_F(SettingsContents, EntriesOfATabWithAVeryLongNameComeBack) {
    std::string name(255, 'n');
    Entry record;
    std::memset(&record, 0, sizeof record);
    for (int i = 0; i < 3; ++i) {
        std::snprintf(record.FilePath, sizeof record.FilePath, "C:\\f%d.exe", i);
        AddEntry("", record, 0, 0);
    }
    SaveTabEntries(0, name.c_str());
    std::string text = Rendered();
    FreeCatalogue();
    SettingsRelease();
    SettingsPrepare();
    Read(text);
    LoadTabEntries(1, name.c_str(), 3);
    ASSERT_EQ(3, EntryCount(1));
    EXPECT_STREQ("C:\\f2.exe", FindEntry(1, 2)->FilePath);
}

// Damaged tab sections: loading is bounded by the FilePath keys the section holds, whatever
// count the file claims; a text field never runs past its end, whatever type the file stored;
// and a later tab of a name that an earlier tab also has reads its own group of keys.
// Records are made ahead for what the file can give: each listed tab's count, bounded by the
// paths its section holds; a load takes them zero-filled, and what it leaves is freed.
TEST_F(SettingsContents, RecordsMadeAheadAreBoundedByTheFileAndTakenByTheLoad) {
    const struct {
        const char* what;
        const char* info;
        int expected;
    } cases[] = {
        {"no tab list", "", 0},
        {"counts bounded by the paths there are",
         "TabCount = 3\r\nTab_0 = \"A\"\r\nTab_0_Count = 2147483647\r\nTab_1 = \"B\"\r\n"
         "Tab_1_Count = 1\r\nTab_2 = \"C\"\r\nTab_2_Count = -5\r\n",
         3},
        {"a tab without a count",
         "TabCount = 2\r\nTab_0 = \"A\"\r\nTab_1 = \"B\"\r\nTab_1_Count = 1\r\n", 1},
    };
    const std::string sections =
        "[Tab_A]\r\nA_FilePath_0 = \"C:\\\\a\"\r\nA_FilePath_1 = \"C:\\\\b\"\r\n"
        "[Tab_B]\r\nB_FilePath_0 = \"C:\\\\c\"\r\nB_FilePath_1 = \"C:\\\\d\"\r\n"
        "[Tab_C]\r\nC_FilePath_0 = \"C:\\\\e\"\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsRelease();
        SettingsPrepare();
        Read("[Info]\r\n" + std::string(c.info) + sections);
        EXPECT_EQ(c.expected, StoredEntryCount());
    }

    PrepareSpareEntries(3);
    EXPECT_EQ(3, SpareEntryCount());
    LoadTabEntries(0, "A", 2);
    EXPECT_EQ(1, SpareEntryCount());
    const Entry* first = FindEntry(0, 0);
    ASSERT_NE(nullptr, first);
    EXPECT_STREQ("C:\\a", first->FilePath);
    EXPECT_EQ(first, first->next->next); // two entries linked to each other, nothing else
    EXPECT_EQ(0, first->iconPending);
    EXPECT_EQ(nullptr, first->colourBits);
    FreeSpareEntries();
    EXPECT_EQ(0, SpareEntryCount());
    LoadTabEntries(1, "B", 2); // with none left, records are allocated as usual
    EXPECT_EQ(2, EntryCount(1));
}

TEST_F(SettingsContents, DamagedTabSectionsLoadWhatTheyHoldAndNoMore) {
    std::string seventy = "{";
    for (int i = 0; i < 70; ++i)
        seventy += "1094795585, ";
    seventy += "}";
    const std::string twoGroups = "[Tab_T]\r\nT_FilePath_0 = \"C:\\\\a\"\r\n\r\n"
                                  "[Tab_T]\r\nT_FilePath_0 = \"C:\\\\b\"\r\n"
                                  "T_FilePath_1 = \"C:\\\\c\"\r\n";
    struct Case {
        const char* what;
        std::string text;
        int count; // as the file claims it
        int occurrence;
        std::vector<std::string> paths;
        const char* firstComment;
    } cases[] = {
        {"a huge count stops at the keys there are",
         "[Tab_T]\r\nT_FilePath_0 = \"C:\\\\a\"\r\nT_FilePath_1 = \"C:\\\\b\"\r\n",
         2147483647,
         0,
         {"C:\\a", "C:\\b"},
         ""},
        {"gaps skipped, indexes from the count on and odd spellings ignored",
         "[Tab_T]\r\nT_FilePath_3 = \"C:\\\\d\"\r\nT_FilePath_0 = \"C:\\\\a\"\r\n"
         "T_FilePath_9 = \"C:\\\\j\"\r\nT_FilePath_03 = \"C:\\\\x\"\r\nU_FilePath_1 = \"u\"\r\n",
         5,
         0,
         {"C:\\a", "C:\\d"},
         ""},
        {"a negative count", "[Tab_T]\r\nT_FilePath_0 = \"C:\\\\a\"\r\n", -1, 0, {}, ""},
        {"a list where a text belongs",
         "[Tab_T]\r\nT_FilePath_0 = \"C:\\\\a\"\r\nT_Comment_0 = " + seventy + "\r\n",
         1,
         0,
         {"C:\\a"},
         ""},
        {"a number where a text belongs",
         "[Tab_T]\r\nT_FilePath_0 = \"C:\\\\a\"\r\nT_Comment_0 = 42\r\n",
         1,
         0,
         {"C:\\a"},
         "42"},
        {"the first of two tabs of one name", twoGroups, 1, 0, {"C:\\a"}, ""},
        {"the second of two tabs of one name", twoGroups, 2, 1, {"C:\\b", "C:\\c"}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsRelease();
        SettingsPrepare();
        FreeCatalogue();
        Read(c.text);
        SetFileNotCheck(1);
        LoadTabEntries(0, "T", c.count, c.occurrence);
        ASSERT_EQ(static_cast<int>(c.paths.size()), EntryCount(0));
        for (size_t i = 0; i < c.paths.size(); ++i) {
            Entry* e = FindEntry(0, static_cast<int>(i));
            EXPECT_EQ(c.paths[i], e->FilePath);
            EXPECT_LT(std::strlen(e->Comment), sizeof e->Comment);
        }
        if (!c.paths.empty()) {
            EXPECT_STREQ(c.firstComment, FindEntry(0, 0)->Comment);
        }
    }
}

} // namespace
