#include "storage/entry_icons.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

TEST(EntryIconPlaces, FolderOfAnEntryInItsTab) {
    char tab[kIconFolderSize];
    TabCacheFolder(tab, "Work");
    EXPECT_STREQ("Cache\\Work", tab);
    struct Case {
        const char* path;
        const char* expected;
    } cases[] = {
        {"C:\\Tools\\app.exe", "Cache\\Work\\C:\\Tools"},
        {"D:\\", "Cache\\Work"}, // the only separator is the final character
        {"C:/a/b.txt", "Cache\\Work\\C:/a"},
        {"C:\\dir\\", "Cache\\Work\\C:"},
        {"app.exe", "Cache\\Work"},
        {"C:\\\x95\\\\x", "Cache\\Work\\C:\\\x95\\"}, // a second byte 0x5C is no separator
    };
    char out[kIconFolderSize];
    for (const Case& c : cases) {
        IconCacheFolder(out, tab, c.path);
        EXPECT_STREQ(c.expected, out) << c.path;
    }
    // A path longer than the buffer is cut before its folder is taken; the result fits.
    std::string longPath(1500, 'a');
    longPath[10] = '\\';
    longPath[1200] = '\\';
    IconCacheFolder(out, tab, longPath.c_str());
    EXPECT_LT(std::strlen(out), size_t(kIconFolderSize));

    // Mask names: the name and "_Mask" while they fit the archive's 255 bytes; longer names
    // keep their head (whole characters only) and a hash of the whole name.
    char mask[kMaskNameSize];
    MaskFileName(mask, "app.exe", kMaskSuffix);
    EXPECT_STREQ("app.exe_Mask", mask);
    std::string fits(250, 'f');
    MaskFileName(mask, fits.c_str(), kMaskSuffix);
    EXPECT_EQ(fits + "_Mask", mask);
    std::string a(251, 'a'), b = std::string(250, 'a') + "b";
    char other[kMaskNameSize];
    MaskFileName(mask, a.c_str(), kMaskSuffix);
    MaskFileName(other, b.c_str(), kMaskSuffix);
    EXPECT_EQ(255u, std::strlen(mask));
    EXPECT_EQ(std::string(241, 'a') + "~", std::string(mask, 242));
    EXPECT_STRNE(mask, other);
    std::string wide = "x"; // then 127 times 95 5C (表): 255 bytes
    for (int i = 0; i < 127; ++i)
        wide += "\x95\x5C";
    MaskFileName(mask, wide.c_str(), kMaskSuffix);
    EXPECT_EQ(std::string(wide, 0, 241), std::string(mask, 241)); // 1 + 120 characters
    EXPECT_EQ('~', mask[241]);
}

TEST(EntryIconPlaces, TypesAndTheirKeys) {
    struct Case {
        const char* name;
        bool own;
        const char* key;
    } cases[] = {
        {"a.txt", false, "txt"},
        {"b.TXT", false, "txt"},
        {"readme", false, "None"},
        {"Makefile", false, "None"},
        {"tool.EXE", true, "exe"},
        {"app.exe", true, "exe"},
        {"x.Lnk", true, "lnk"},
        {"s.scr", true, "scr"},
        {"m.msc", true, "msc"},
        {"i.ico", true, "ico"},
        {"x.lnk2", false, "lnk2"},
        {"archive.tar.GZ", false, "gz"},
        {"trailing.", false, "None"},
        {"C:\\dir.d\\file", false, "None"},
        {"\x83\x41.T\x83\x41", false, "t\x83\x41"}, // a second byte 'A' keeps its case
    };
    char key[kTypeKeySize];
    for (const Case& c : cases) {
        EXPECT_EQ(c.own, HasOwnIconType(c.name)) << c.name;
        TypeKey(key, c.name);
        EXPECT_STREQ(c.key, key) << c.name;
    }
    std::string longName = "x." + std::string(400, 'E');
    TypeKey(key, longName.c_str());
    EXPECT_EQ(size_t(kTypeKeySize - 1), std::strlen(key));
}

TEST(EntryIconPlaces, BitmapHeaders) {
    unsigned char h[kBitmapHeadersSize];
    const unsigned char colour[] = {'B', 'M', 0x36, 0x10, 0, 0, 0, 0,  0, 0, 54, 0, 0, 0,  40,
                                    0,   0,   0,    32,   0, 0, 0, 32, 0, 0, 0,  1, 0, 32, 0};
    BuildBitmapHeaders(h, 32);
    EXPECT_EQ(0, std::memcmp(colour, h, sizeof colour));
    for (size_t i = sizeof colour; i < sizeof h; ++i)
        EXPECT_EQ(0, h[i]) << i;
    BuildBitmapHeaders(h, 16);
    EXPECT_EQ(0x36, h[2]); // 2102 = 0x836
    EXPECT_EQ(0x08, h[3]);
    EXPECT_EQ(16, h[28]);
}

unsigned char* Bits(size_t n) {
    return static_cast<unsigned char*>(std::calloc(1, n));
}

TEST(TypeIconList, StaticFirstRecordThenNewRecordsBehindIt) {
    EXPECT_EQ(0, TypeIconCount());
    EXPECT_EQ(nullptr, FindTypeIcon("txt"));
    TypeIcon* txt = AddTypeIcon("txt");
    EXPECT_TRUE(IsStaticTypeIcon(txt));
    TypeIcon* doc = AddTypeIcon("doc");
    TypeIcon* ini = AddTypeIcon("ini");
    EXPECT_FALSE(IsStaticTypeIcon(doc));
    EXPECT_EQ(ini, txt->next); // inserted directly behind the static record
    EXPECT_EQ(doc, ini->next);
    EXPECT_EQ(3, TypeIconCount());
    EXPECT_EQ(doc, FindTypeIcon("doc"));

    doc->colourBits = Bits(kColourBitsSize);
    doc->maskBits = Bits(kMaskBitsSize);
    Entry* own = static_cast<Entry*>(std::calloc(1, sizeof(Entry)));
    Entry* shared = static_cast<Entry*>(std::calloc(1, sizeof(Entry)));
    own->colourBits = Bits(kColourBitsSize);
    own->maskBits = Bits(kMaskBitsSize);
    shared->colourBits = doc->colourBits;
    shared->maskBits = doc->maskBits;
    EXPECT_TRUE(IsTypeIconBits(shared->colourBits));
    EXPECT_FALSE(IsTypeIconBits(own->colourBits));
    FreeEntryIconBits(shared); // only dropped: the record keeps its bits
    FreeEntryIconBits(own);    // freed (the sanitizer would see a leak otherwise)
    EXPECT_EQ(nullptr, shared->colourBits);
    EXPECT_EQ(nullptr, own->maskBits);
    EXPECT_NE(nullptr, doc->colourBits);
    std::free(own);
    std::free(shared);

    RemoveTypeIcon(ini);
    RemoveTypeIcon(txt); // the static record is never removed
    EXPECT_EQ(2, TypeIconCount());
    FreeTypeIcons();
    EXPECT_EQ(0, TypeIconCount());
    EXPECT_TRUE(IsStaticTypeIcon(AddTypeIcon("again")));
    FreeTypeIcons();
}

} // namespace
