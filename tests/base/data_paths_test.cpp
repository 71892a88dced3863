#include "base/data_paths.h"

#include <gtest/gtest.h>

#include <string>

TEST(DataPaths, FolderOfPlainPath) {
    DataPaths p;
    DeriveDataPaths("C:\\Tools\\QDX\\QDX.exe", &p);
    EXPECT_STREQ("C:\\Tools\\QDX", p.folder);
    EXPECT_STREQ("C:\\Tools\\QDX\\qdx.ini", p.settings);
    EXPECT_STREQ("C:\\Tools\\QDX\\Cache.arc", p.cache);
    EXPECT_STREQ("C:\\Tools\\QDX\\CacheUser.arc", p.cacheUser);
}

TEST(DataPaths, TrailByte5CIsNoSeparator) {
    // "表" is 95 5C: the folder C:\表 must not be split after its first byte.
    DataPaths p;
    DeriveDataPaths("C:\\\x95\x5C\\QDX.exe", &p);
    EXPECT_STREQ("C:\\\x95\x5C", p.folder);
    EXPECT_STREQ("C:\\\x95\x5C\\qdx.ini", p.settings);
    // A file directly named 表.exe: the 5C inside the character is not the separator.
    DeriveDataPaths("C:\\\x95\x5C.exe", &p);
    EXPECT_STREQ("C:", p.folder);
    // Half-width katakana (A1..DF) are single bytes, so a following backslash separates.
    DeriveDataPaths("C:\\\xB1\\QDX.exe", &p);
    EXPECT_STREQ("C:\\\xB1", p.folder);
}

TEST(DataPaths, SlashesNoSeparatorAndTruncatedLeadByte) {
    DataPaths p;
    DeriveDataPaths("C:/a/QDX.exe", &p);
    EXPECT_STREQ("C:/a", p.folder);
    DeriveDataPaths("QDX.exe", &p);
    EXPECT_STREQ("", p.folder);
    EXPECT_STREQ("\\qdx.ini", p.settings);
    // A lead byte at the very end must not make the scan read past the terminator.
    DeriveDataPaths("C:\\dir\\\x95", &p);
    EXPECT_STREQ("C:\\dir", p.folder);
}

TEST(DataPaths, OverlongFolderIsCutNotOverrun) {
    std::string longPath(3000, 'a');
    longPath += "\\QDX.exe";
    DataPaths p;
    DeriveDataPaths(longPath.c_str(), &p);
    EXPECT_EQ(sizeof p.folder - 1, std::string(p.folder).size());
    EXPECT_LT(std::string(p.settings).size(), sizeof p.settings);
}
