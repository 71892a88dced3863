#include "base/path_utils.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>

namespace {

// A small environment whose names match without regard to letter case.
int TestEnvironment(const char* name, char* out, int capacity) {
    static const struct {
        const char* name;
        const char* value;
    } kVariables[] = {
        {"WINDIR", "C:\\WINDOWS"}, {"TOOLS", "D:\\Tools"}, {"EMPTY", ""},
        {"SELF", "%SELF%"},        {"LONG", "0123456789"},
    };
    std::string upper = name;
    for (auto& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const auto& v : kVariables) {
        if (upper != v.name) continue;
        int n = static_cast<int>(std::strlen(v.value));
        if (n < capacity) std::memcpy(out, v.value, static_cast<size_t>(n) + 1);
        return n;
    }
    return -1;
}

struct Expanded {
    int result;
    std::string text;
};

Expanded Expand(const std::string& source, int capacity = 2048) {
    std::string dest(static_cast<size_t>(capacity) + 16, '#');
    int result = ExpandReferencesWith(TestEnvironment, &dest[0], capacity, source.data(),
                                      static_cast<int>(source.size()));
    // Nothing may be written past the capacity.
    for (size_t i = static_cast<size_t>(capacity); i < dest.size(); ++i)
        EXPECT_EQ('#', dest[i]);
    return {result, dest.c_str()};
}

TEST(FindEnvironmentReference, FindsTheFirstCompleteReference) {
    struct Case {
        const char* text;
        int index;
        int length;
    } cases[] = {
        {"%WINDIR%\\notepad.exe", 0, 8},
        {"x%A%", 1, 3},
        {"%%", 0, 2},
        {"100%", -1, 0},
        {"a%b\\c%", -1, 0}, // a separator ends the candidate name
        {"a%b/c%d%", 5, 3}, // scanning goes on after the separator
        {"\x95%x%", -1, 0}, // '%' as the second byte of a two-byte character
        {"\xB1%x%", 1, 3},  // a one-byte katakana is a character of its own
        {"", -1, 0},
    };
    for (const Case& c : cases) {
        int length = 0;
        EXPECT_EQ(c.index,
                  FindEnvironmentReference(c.text, static_cast<int>(std::strlen(c.text)), &length))
            << c.text;
        if (c.index >= 0) {
            EXPECT_EQ(c.length, length) << c.text;
        }
    }
    int length = 0;
    EXPECT_EQ(-1, FindEnvironmentReference("%AB%", 3, &length)); // the length bounds the walk
    EXPECT_EQ(-1, FindEnvironmentReference("\x95", 1, &length)); // a lead byte at the end
}

TEST(ExpandReferences, ReplacesKnownNamesAndKeepsTheRest) {
    struct Case {
        const char* source;
        const char* expected;
    } cases[] = {
        {"%WINDIR%\\notepad.exe", "C:\\WINDOWS\\notepad.exe"},
        {"%windir%\\x", "C:\\WINDOWS\\x"},
        {"%UNDEFINED%\\x", "%UNDEFINED%\\x"},
        {"100%", "100%"},
        {"a%b\\c%", "a%b\\c%"},
        {"%%WINDIR%", "%%WINDIR%"},
        {"[%EMPTY%]", "[]"},
        {"%SELF%%TOOLS%", "%SELF%D:\\Tools"}, // values are never scanned again
        {"", ""},
    };
    for (const Case& c : cases) {
        Expanded e = Expand(c.source);
        EXPECT_EQ(1, e.result) << c.source;
        EXPECT_EQ(c.expected, e.text) << c.source;
    }
}

TEST(ExpandReferences, KeepsOnlyWholePiecesThatFit) {
    struct Case {
        const char* source;
        int capacity;
        int result;
        const char* text;
    } cases[] = {
        {"ab%LONG%", 13, 1, "ab0123456789"}, // exactly fits with its terminator
        {"ab%LONG%", 12, -1, "ab"},          // the value is left out whole
        {"abcdef%LONG%", 6, -1, ""},         // the text before the reference
        {"%TOOLS%\\x.exe", 12, -1, "D:\\Tools"},
        {"x%NOPE%", 5, -1, "x"}, // an undefined reference kept as written must fit too
        {"abc", 1, -1, ""},
        {"abc", 4, 1, "abc"},
    };
    for (const Case& c : cases) {
        Expanded e = Expand(c.source, c.capacity);
        EXPECT_EQ(c.result, e.result) << c.source << " in " << c.capacity;
        EXPECT_EQ(c.text, e.text) << c.source << " in " << c.capacity;
    }
}

TEST(ExpandReferences, ANameTooLongForItsBufferStaysAsWritten) {
    std::string source = "%" + std::string(300, 'N') + "%\\x";
    Expanded e = Expand(source);
    EXPECT_EQ(1, e.result);
    EXPECT_EQ(source, e.text);
}

TEST(PathParts, FolderPrefixLength) {
    struct Case {
        const char* path;
        int expected;
    } cases[] = {
        {"C:\\dir\\file.txt", 7},
        {"file.txt", -1},
        {"C:/a/b", 5},
        {"C:\\dir\\", 3},
        {"\\", -1},
        {"", -1},
        {"a\\\\", 2},
        {"C:\\\x95\\\\x", 6}, // the backslash after 0x95 is the second byte of a character
        {"C:\\\x95", 3},      // a lead byte at the very end
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, FolderPrefixLength(c.path)) << c.path;
}

TEST(PathParts, ExtensionPosition) {
    struct Case {
        const char* path;
        int expected;
    } cases[] = {
        {"C:\\dir\\file.txt", 12},
        {"C:\\dir.x\\file", -1},
        {"name.", 5},
        {"noext", -1},
        {"", -1},
        {".profile", 1},
        {"\\a", -1},
        {"C:\\\x95\\x.y", 7}, // the separator is the second byte of a character
        {"a\x95\\b", -1},     // ... but a separator at index 1 or 0 ends the walk
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ExtensionPosition(c.path)) << c.path;
}

TEST(PathParts, ShortcutNames) {
    EXPECT_TRUE(IsShortcutPath("C:\\a\\b.lnk"));
    EXPECT_TRUE(IsShortcutPath("C:\\a\\B.LNK"));
    EXPECT_TRUE(IsShortcutPath("x.lnk2"));
    EXPECT_FALSE(IsShortcutPath("lnk"));
    EXPECT_FALSE(IsShortcutPath("x.ln"));
    EXPECT_FALSE(IsShortcutPath("x.lnk\\y"));
    EXPECT_FALSE(IsShortcutPath(""));
}

TEST(PathParts, FolderPartOfAPath) {
    char out[16];
    CopyFolderPart(out, sizeof out, "C:\\file.txt");
    EXPECT_STREQ("C:\\", out) << "the root, not the drive's current folder";
    CopyFolderPart(out, sizeof out, "\\file.txt");
    EXPECT_STREQ("\\", out);
    CopyFolderPart(out, sizeof out, "C:\\dir\\sub\\file.txt");
    EXPECT_STREQ("C:\\dir\\sub", out);
    CopyFolderPart(out, sizeof out, "explorer.exe");
    EXPECT_STREQ("explorer.exe", out);
    CopyFolderPart(out, 5, "C:\\dir\\sub\\file.txt");
    EXPECT_STREQ("C:\\d", out);
}

} // namespace
