#include "view/tooltip_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// True when the text parses into whole Shift-JIS characters to its end.
bool EndsOnWholeCharacter(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        bool lead = b >= 0x80 && (b < 0xA1 || b > 0xDF);
        i += lead ? 2 : 1;
    }
    return i == text.size();
}

std::string Repeat(const char* unit, size_t bytes) {
    std::string s;
    while (s.size() + std::strlen(unit) <= bytes)
        s += unit;
    return s;
}

std::string EntryText(const TooltipFields& fields) {
    char text[kTooltipTextSize + 16];
    std::memset(text, 'Z', sizeof text);
    ComposeEntryTooltipText(text, fields);
    // Nothing is written past the buffer the view owns.
    for (size_t i = kTooltipTextSize; i < sizeof text; ++i)
        EXPECT_EQ('Z', text[i]);
    return text;
}

TEST(TooltipText, AnEntryGivesSixItemsInOrder) {
    TooltipFields fields = {"C:\\a.exe", "a.exe", "", 3, "C:\\", ""};
    EXPECT_EQ("ファイルパス: C:\\a.exe\r\nファイル名: a.exe\r\n引数: \r\n起動回数: 3回\r\n"
              "作業パス: C:\\\r\nコメント\r\n",
              EntryText(fields));
}

TEST(TooltipText, TheCommentKeepsItsLineBreaks) {
    TooltipFields fields = {"p", "n", "-x", -1, "w", "one\r\ntwo"};
    std::string text = EntryText(fields);
    EXPECT_NE(std::string::npos, text.find("起動回数: -1回\r\n"));
    EXPECT_EQ("コメント\r\none\r\ntwo", text.substr(text.find("コメント")));
}

TEST(TooltipText, AnEmptyCellNamesTheTab) {
    char text[kTooltipTextSize];
    ComposeTabTooltipText(text, "Work");
    EXPECT_STREQ("Tab->\"Work\"", text);
}

// Long fields: the tip never holds more than 1023 bytes, ends on a whole character, and keeps
// the early lines whole where they fit.
struct LongCase {
    const char* name;
    std::string path, fileName, arg, workPath, comment;
    const char* lastWholeLine; // the last label that is still there, or null
    const char* lostLabel;     // a label that no longer fits, or null
};

TEST(TooltipText, LongFieldsAreCutAtAWholeCharacter) {
    const std::string sjisPath = Repeat("\x82\xA0", 1022); // 511 two-byte characters
    const LongCase cases[] = {
        {"a 1000-byte path loses the comment", std::string(1000, 'p'), "n", "", "w", "c",
         "ファイルパス", "コメント"},
        {"every field at its maximum", std::string(1023, 'p'), std::string(255, 'n'),
         std::string(255, 'a'), std::string(1023, 'w'), std::string(1023, 'c'), "ファイルパス",
         "ファイル名"},
        {"two-byte characters at the boundary", sjisPath, "n", "", "w", "c", "ファイルパス",
         "ファイル名"},
        {"two-byte comment across the end", "p", "n", "", "w", Repeat("\x88\x9F", 1022), "コメント",
         nullptr},
        {"a lone lead byte at a field's end", std::string(1000, 'p') + "\x82", "n", "", "w", "c",
         "ファイルパス", "コメント"},
    };
    for (const LongCase& c : cases) {
        SCOPED_TRACE(c.name);
        TooltipFields fields = {c.path.c_str(),     c.fileName.c_str(), c.arg.c_str(), 7,
                                c.workPath.c_str(), c.comment.c_str()};
        std::string text = EntryText(fields);
        EXPECT_LE(text.size(), size_t(kTooltipStepSize - 1));
        EXPECT_GE(text.size(), size_t(kTooltipStepSize - 2));
        EXPECT_TRUE(EndsOnWholeCharacter(text));
        if (c.lastWholeLine) {
            EXPECT_NE(std::string::npos, text.find(c.lastWholeLine));
        }
        if (c.lostLabel) {
            EXPECT_EQ(std::string::npos, text.find(c.lostLabel));
        }
    }
}

TEST(TooltipText, AHalfCharacterIsNeverWrittenAtTheCut) {
    // "ファイルパス: " takes 14 bytes; 504 whole characters leave one byte, too small for the
    // next one, which stays out whole.
    TooltipFields fields = {"", "", "", 0, "", ""};
    std::string path = Repeat("\x82\xA0", 1022);
    fields.filePath = path.c_str();
    std::string text = EntryText(fields);
    EXPECT_EQ(size_t(14 + 504 * 2), text.size());
}

} // namespace
