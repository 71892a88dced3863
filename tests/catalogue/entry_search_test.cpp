#include "catalogue/catalogue.h"
#include "catalogue/entry_search.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

struct MatchCase {
    const char* name;
    const char* text;
    bool found;
};

// Shift-JIS: "ア" is 83 41, "ャ" is 83 61 (its trail byte reads as 'a'), "表" is 95 5C.
const MatchCase kMatchCases[] = {
    {"Notepad.lnk", "note", true},
    {"NOTES.TXT", "note", true},
    {"notes.txt", "NOTE", true},
    {"readme", "", true},
    {"", "a", false},
    {"abc", "abcd", false},
    // Only A..Z fold; other bytes compare as they are.
    {"\x83\x61", "\x83\x41", false},
    {"\x83\x41", "\x83\x61", false},
    {"\x83\x61.txt", "\x83\x61", true},
    // A letter never matches the trail byte of a two-byte character.
    {"\x83\x41", "A", false},
    {"\x83\x61", "a", false},
    {"x\x83\x41"
     "A",
     "A", true},
    {"\x95\x5C.txt", "\\", false},
    {"\x95\x5C.txt", "\x95\x5C", true},
    // One-byte katakana (A1..DF) stand alone.
    {"\xB1\xB2", "\xB2", true},
    // A name cut inside its last character matches no further.
    {"ab\x83", "b\x83\x41", false},
};

TEST(EntrySearchTest, NameContainsFoldsOnlyOneByteLetters) {
    for (const MatchCase& c : kMatchCases) {
        EXPECT_EQ(c.found, NameContains(c.name, c.text)) << c.name << " / " << c.text;
    }
}

TEST(EntrySearchTest, OnlyTheFirst255BytesOfANameCount) {
    std::string name(300, 'x');
    name += "needle";
    EXPECT_FALSE(NameContains(name.c_str(), "needle"));
    name = std::string(249, 'x') + "needle";
    EXPECT_TRUE(NameContains(name.c_str(), "needle"));
}

struct HitCase {
    const char* caption;
    int position;
    const char* line;
};

const HitCase kHitCases[] = {
    {"Tools", 3, "\"Tools\", 3番目に発見"},
    {"12", 1000, "\"12\", 1000番目に発見"},
    // A caption with a double quote still reads back whole.
    {"a\"b", 7, "\"a\"b\", 7番目に発見"},
    {"", 1, "\"\", 1番目に発見"},
};

TEST(EntrySearchTest, HitLinesReadBackTheirTabAndPosition) {
    for (const HitCase& c : kHitCases) {
        char line[kHitLineSize];
        FormatHitLine(line, c.caption, c.position);
        EXPECT_STREQ(c.line, line);
        char caption[kSearchTextSize];
        int position = -1;
        ASSERT_TRUE(ParseHitLine(line, caption, &position)) << c.line;
        EXPECT_STREQ(c.caption, caption);
        EXPECT_EQ(c.position, position);
    }
}

TEST(EntrySearchTest, BrokenHitLinesGiveNoTab) {
    char caption[kSearchTextSize];
    int position = -1;
    EXPECT_FALSE(ParseHitLine("", caption, &position));
    EXPECT_FALSE(ParseHitLine("\"open", caption, &position));
    EXPECT_TRUE(ParseHitLine("\"t\" no digits", caption, &position));
    EXPECT_EQ(0, position);
    EXPECT_TRUE(ParseHitLine("\"t\", 99999999999999番目", caption, &position));
    EXPECT_GT(position, 0);
}

void Collect(void* context, int t, int k) {
    static_cast<std::vector<std::pair<int, int>>*>(context)->push_back({t, k});
}

TEST(EntrySearchTest, HitsComeInTabOrderThenListOrder) {
    SetCatalogueServices(CatalogueServices{});
    ClearCatalogue();
    const char* paths[][3] = {{"C:\\a\\Notepad.lnk", "C:\\b.txt", "C:\\NOTES.TXT"},
                              {"C:\\x.txt", nullptr, nullptr},
                              {"C:\\Notepad.lnk", nullptr, nullptr}};
    for (int t = 0; t < 3; ++t) {
        for (const char* path : paths[t]) {
            if (!path) continue;
            Entry record{};
            std::snprintf(record.FilePath, sizeof record.FilePath, "%s", path);
            AddEntry("", record, 0, t);
        }
    }
    std::vector<std::pair<int, int>> hits;
    EXPECT_EQ(3, FindMatchingEntries("note", kTabSlots, Collect, &hits));
    std::vector<std::pair<int, int>> expected = {{0, 0}, {0, 2}, {2, 0}};
    EXPECT_EQ(expected, hits);
    FreeCatalogue();
}

} // namespace
