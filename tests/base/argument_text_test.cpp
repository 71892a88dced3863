#include "base/argument_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct AppendCase {
    const char* before;
    const char* path;
    size_t capacity;
    bool appended;
    const char* after;
};

const AppendCase kAppendCases[] = {
    {"", "C:\\a.txt", 1024, true, "C:\\a.txt"},
    {"C:\\a.txt", "C:\\My Files\\b.txt", 1024, true, "C:\\a.txt \"C:\\My Files\\b.txt\""},
    {"-x", "C:\\b", 1024, true, "-x C:\\b"},
    // Exactly full: "ab" + " " + "cd" + zero.
    {"ab", "cd", 6, true, "ab cd"},
    {"ab", "cde", 6, false, "ab"},
    {"", "a b", 5, false, ""},
    {"", "a b", 6, true, "\"a b\""},
};

TEST(ArgumentTextTest, DroppedPathsAreQuotedWithASpaceAndNeverCut) {
    for (const AppendCase& c : kAppendCases) {
        std::string text(c.before);
        text.resize(1024, '\0');
        EXPECT_EQ(c.appended, AppendArgumentPath(&text[0], c.capacity, c.path)) << c.path;
        EXPECT_STREQ(c.after, text.c_str());
    }
}

} // namespace
