#include "storage/cache_archive.h"

#include "storage_test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const unsigned char* Bytes(const std::string& s) {
    return reinterpret_cast<const unsigned char*>(s.data());
}

std::string Save(const CacheArchive& archive) {
    std::string out;
    EXPECT_TRUE(CacheSaveBytes(archive, &out));
    return out;
}

// Loads from a buffer of exactly the file's size, so reads past it are caught.
void Load(CacheArchive* archive, const std::string& file) {
    std::vector<unsigned char> exact(file.begin(), file.end());
    CacheLoadBytes(*archive, exact.data(), exact.size());
}

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char b : bytes) {
        if (!out.empty()) out += ' ';
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

uint32_t At(const std::string& file, size_t offset) {
    const unsigned char* p = Bytes(file) + offset;
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void Put32(std::string* file, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        (*file)[offset + i] = static_cast<char>(v >> (8 * i));
}

void Reseal(std::string* file) {
    Put32(file, 4, CacheChecksum(Bytes(*file) + 8, file->size() - 8, kCacheChecksumStart));
}

std::string Listing(const CacheArchive& archive) {
    std::vector<CacheFolderRecord> folders;
    CacheFlatten(archive, &folders);
    std::string out;
    for (const CacheFolderRecord& r : folders) {
        out += (out.empty() ? "[" : " [") + r.path + "]";
        const CacheFileList* files = CacheFolderFiles(*r.folder);
        if (!files || !files->first) continue;
        const CacheFile* f = files->first;
        do {
            out += " " + std::string(f->name) + ":" +
                   std::string(reinterpret_cast<const char*>(f->data), f->size);
            f = f->next;
        } while (f != files->first);
    }
    return out;
}

int Add(CacheArchive& a, const char* path, const char* name, const std::string& data) {
    return CacheAddFile(a, path, name, static_cast<int32_t>(data.size()), data.data());
}

} // namespace

TEST(CacheChecksum, KnownVectors) {
    const unsigned char abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(0x6741EC52u, CacheChecksum(abc, 3, 0));
    uint32_t d0, d1;
    CacheDigest(abc, 3, &d0, &d1);
    EXPECT_EQ(0xAC5218A2u, d0);
    EXPECT_EQ(0xC4BB9D58u, d1);
    CacheDigest(abc, 0, &d0, &d1);
    EXPECT_EQ(0u, d0);
    EXPECT_EQ(0u, d1);
    EXPECT_EQ(0x12345678u, CacheChecksum(abc, 0, 0x12345678u));
    // T[0] has its top bit set: after it the checksum shifts ones in (arithmetic), the digest
    // zeros (logical). Bytes 0 and 2 feed digest word 0 as bytes 0 and 1 feed the checksum.
    const unsigned char zeros[] = {0, 0, 0};
    CacheDigest(zeros, 3, &d0, &d1);
    EXPECT_EQ(CacheChecksum(zeros, 2, 0) ^ 0xFF000000u, d0);
}

TEST(CacheLayout, RootOnlyArchiveIsThirtyBytes) {
    CacheArchive a;
    std::string file = Save(a);
    EXPECT_EQ(
        "DF 18 A9 36 9E 5C 6C D1 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
        Hex(file));
    EXPECT_EQ(1, CacheValidateBytes(Bytes(file), file.size()));

    std::string changed = file;
    changed[12] = 1;
    EXPECT_EQ(0, CacheValidateBytes(Bytes(changed), changed.size()));

    // A wrong magic keeps the checksum right but loads nothing.
    std::string foreign = file;
    foreign[0] = 0;
    EXPECT_EQ(1, CacheValidateBytes(Bytes(foreign), foreign.size()));
    CacheArchive b;
    Add(b, "Keep", "x", "1");
    Load(&b, foreign);
    EXPECT_EQ("[] [Keep] x:1", Listing(b));
}

TEST(CacheLayout, RecordsDigestsAndSharedData) {
    CacheArchive a;
    ASSERT_EQ(1, Add(a, "Cache\\Work", "abc", "abc"));
    ASSERT_EQ(1, Add(a, "Other", "same", "abc"));
    ASSERT_EQ(1, Add(a, "Other", "empty", ""));
    ASSERT_EQ(1, Add(a, "Other", "empty2", ""));
    std::string file = Save(a);
    // Folders in pre-order: root, Cache, Cache\Work, Other.
    EXPECT_EQ(4u, At(file, 8));
    EXPECT_EQ(4u, At(file, 12));
    size_t p = 24;
    EXPECT_EQ(std::string("\0\0\0\0\0\0", 6), file.substr(p, 6)); // root: empty path, no files
    p += 6;
    EXPECT_EQ(std::string("\x05\0Cache\0\0\0\0", 11), file.substr(p, 11));
    p += 11;
    EXPECT_EQ(std::string("\x0A\0Cache\\Work\x01\0\0\0", 16), file.substr(p, 16));
    p += 16;
    EXPECT_EQ(std::string("\x03\0abc\x03\0\0\0", 9), file.substr(p, 9));
    EXPECT_EQ(0xAC5218A2u, At(file, p + 9));
    EXPECT_EQ(0xC4BB9D58u, At(file, p + 13));
    size_t abcData = p + 21;
    EXPECT_EQ(abcData, At(file, p + 17));
    EXPECT_EQ("abc", file.substr(abcData, 3));
    p = abcData + 3;
    EXPECT_EQ(std::string("\x05\0Other\x03\0\0\0", 11), file.substr(p, 11));
    p += 11;
    // The same content again: its D points at the first copy and no data follows.
    EXPECT_EQ(std::string("\x04\0same", 6), file.substr(p, 6));
    EXPECT_EQ(abcData, At(file, p + 6 + 12));
    p += 6 + 16;
    // A file of size 0 points right after its own D field; the next empty one points there too.
    EXPECT_EQ(std::string("\x05\0empty\0\0\0\0", 11), file.substr(p, 11));
    size_t emptyTarget = p + 7 + 16;
    EXPECT_EQ(emptyTarget, At(file, p + 7 + 12));
    p = emptyTarget;
    EXPECT_EQ(emptyTarget, At(file, p + 8 + 12));
    EXPECT_EQ(p + 8 + 16, file.size());
    EXPECT_EQ(1, CacheValidateBytes(Bytes(file), file.size()));

    // Loading gives each file its own copy, and saving again gives the same bytes.
    CacheArchive b;
    Load(&b, file);
    EXPECT_EQ("[] [Cache] [Cache\\Work] abc:abc [Other] same:abc empty: empty2:", Listing(b));
    EXPECT_EQ(nullptr,
              CacheListFind(*CacheFolderFiles(*CacheFindFolder(b, "Other")), "empty")->data);
    EXPECT_EQ(file, Save(b));
    EXPECT_FALSE(b.modified);
    // Files loaded with one content stay independent: replacing or deleting one leaves the other.
    EXPECT_EQ(1, CacheReplaceFile(b, "Other", "same", 3, "xyz"));
    EXPECT_EQ(1, CacheDeleteFile(b, "Other", "empty"));
    EXPECT_EQ("[] [Cache] [Cache\\Work] abc:abc [Other] same:xyz empty2:", Listing(b));
    EXPECT_EQ(1, CacheDeleteFolder(b, "Cache"));
    EXPECT_EQ("[] [Other] same:xyz empty2:", Listing(b));
}

TEST(CacheLayout, EqualDigestsWithDifferentBytesAreBothStored) {
    // Two contents of one size whose digests collide must not share one copy.
    const std::string first("\x01\x00\x4A\x00\x2D\x00", 6), second("\x02\x00\x0C\x00\x7B\x00", 6);
    uint32_t a0, a1, b0, b1;
    CacheDigest(Bytes(first), 6, &a0, &a1);
    CacheDigest(Bytes(second), 6, &b0, &b1);
    ASSERT_EQ(a0, b0);
    ASSERT_EQ(a1, b1);
    CacheArchive a;
    ASSERT_EQ(1, Add(a, "F", "one", first));
    ASSERT_EQ(1, Add(a, "F", "two", second));
    ASSERT_EQ(1, Add(a, "F", "three", first));
    std::string file = Save(a);
    EXPECT_EQ(24u + 6 + 7 + (2 + 3 + 16 + 6) + (2 + 3 + 16 + 6) + (2 + 5 + 16), file.size());
    CacheArchive b;
    Load(&b, file);
    EXPECT_EQ("[] [F] one:" + first + " two:" + second + " three:" + first, Listing(b));
}

TEST(CacheLayout, LoadedCopiesAreSharedOnlyWhereTheBytesAgree) {
    CacheArchive a;
    ASSERT_EQ(1, Add(a, "F", "x", "abc"));
    ASSERT_EQ(1, Add(a, "F", "y", "abc"));
    std::string file = Save(a);
    // y points at x's data; a damaged size makes it the shorter "ab" at the same address.
    size_t ySize = file.size() - 16;
    ASSERT_EQ(3u, At(file, ySize));
    Put32(&file, ySize, 2);
    Reseal(&file);
    CacheArchive b;
    Load(&b, file);
    ASSERT_EQ("[] [F] x:abc y:ab", Listing(b));
    ASSERT_EQ(1, Add(b, "G", "z", "abc")); // a copy of its own with loaded bytes
    std::string again = Save(b);
    CacheArchive c;
    Load(&c, again);
    EXPECT_EQ("[] [F] x:abc y:ab [G] z:abc", Listing(c));
    // Only "abc" and "ab" are stored: z shares x's copy.
    EXPECT_EQ(24u + 6 + 7 + (2 + 1 + 16 + 3) + (2 + 1 + 16 + 2) + 7 + (2 + 1 + 16), again.size());
    EXPECT_EQ(again, Save(c));
}

TEST(CacheLayout, ShiftJisNamesAndPathsRoundTrip) {
    CacheArchive a;
    // Second bytes 5C, 5B, 5D, and 2F never split a path.
    const char* tab = "Cache\\\x95\x5C\x83\x5B\x83\x5D\x81\x2F";
    ASSERT_EQ(1, Add(a, tab, "\x95\x5C.exe", "icon"));
    ASSERT_EQ(1, Add(a, "Cache\\a/b", "n", "x"));
    std::string file = Save(a);
    CacheArchive b;
    Load(&b, file);
    EXPECT_EQ(file, Save(b));
    EXPECT_EQ(1, CacheHasFile(b, tab, "\x95\x5C.exe"));
    // The slash nests folders.
    EXPECT_EQ(1, CacheHasFile(b, "Cache\\a\\b", "n"));
    EXPECT_NE(nullptr, CacheFindFolder(b, "Cache/a"));
}

TEST(CacheLoading, DamagedFilesStopAtTheBadRecord) {
    CacheArchive a;
    Add(a, "A", "one", "1111");
    Add(a, "A", "two", "2222");
    Add(a, "B", "three", "3333");
    const std::string good = Save(a);
    // Offsets inside the good file: root record at 24, "A" at 30.
    const size_t folderA = 30, fileOne = folderA + 7;
    struct Case {
        const char* what;
        std::string file;
        std::string listing;
    };
    auto patched = [&](size_t offset, uint32_t v) {
        std::string f = good;
        Put32(&f, offset, v);
        return f;
    };
    std::string longPath = good;
    longPath[folderA] = '\xFF'; // path length 0x01FF
    longPath[folderA + 1] = '\x03';
    std::string longName = good;
    longName[fileOne] = '\x00';
    longName[fileOne + 1] = '\x01'; // name length 256
    std::vector<Case> cases = {
        {"intact", good, "[] [A] one:1111 two:2222 [B] three:3333"},
        {"shorter than the header", good.substr(0, 23), "[]"},
        {"empty", "", "[]"},
        {"cut inside a record", good.substr(0, fileOne + 10), "[] [A]"},
        {"cut inside data", good.substr(0, fileOne + 2 + 3 + 16 + 2), "[] [A]"},
        {"too many folders announced", patched(8, 0xFFFFFFFF),
         "[] [A] one:1111 two:2222 [B] three:3333"},
        {"too many files announced", patched(folderA + 3, 0x7FFFFFFF), "[] [A] one:1111 two:2222"},
        {"path over 1023 bytes", longPath, "[]"},
        {"name over 255 bytes", longName, "[] [A]"},
        {"negative size", patched(fileOne + 5, 0x80000000), "[] [A]"},
        {"size beyond the end", patched(fileOne + 5, 0x7FFFFFF0), "[] [A]"},
        {"offset beyond the end", patched(fileOne + 17, 0xFFFFFFF0), "[] [A]"},
        {"offset near the end", patched(fileOne + 17, static_cast<uint32_t>(good.size() - 2)),
         "[] [A]"},
        {"offset into the header", patched(fileOne + 17, 0), "[] [A] one:\xDF\x18\xA9\x36"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CacheArchive b;
        Load(&b, c.file);
        EXPECT_EQ(c.listing, Listing(b));
    }
}

TEST(CacheLoading, DuplicateNamesInAFileKeepTheFirst) {
    CacheArchive a;
    Add(a, "A", "one", "1");
    Add(a, "A", "two", "2");
    std::string file = Save(a);
    size_t two = file.find("two");
    file[two] = 'o';
    file[two + 1] = 'n';
    file[two + 2] = 'e';
    Reseal(&file);
    CacheArchive b;
    Load(&b, file);
    EXPECT_EQ("[] [A] one:1", Listing(b));
}

// A loaded folder's files are made only when first asked for. A folder named twice in one
// file gets its first record's files made when the second comes, which adds only what the
// first lacks, as a load that made them at once would. (The fuzz target changes loaded trees
// before their files are made.)
TEST(CacheLoading, FilesMadeWhenFirstAskedForAreTheLoadedOnes) {
    CacheArchive a;
    Add(a, "A", "one", "1");
    Add(a, "A", "two", "2");
    Add(a, "B", "three", "3");
    Add(a, "C", "two", "X");
    Add(a, "C", "four", "4");
    std::string twice = Save(a);
    twice[twice.find(std::string("\x01\x00", 2) + "C") + 2] = 'A';
    Reseal(&twice);
    CacheArchive b;
    Load(&b, twice);
    // Saved first: the save makes the files of the folders nothing asked for yet.
    CacheArchive reloaded;
    Load(&reloaded, Save(b));
    const char* listing = "[] [A] one:1 two:2 four:4 [B] three:3";
    EXPECT_EQ(listing, Listing(b));
    EXPECT_EQ(listing, Listing(reloaded));
}

TEST(CacheTree, FoldersFilesAndIndexes) {
    CacheArchive a;
    EXPECT_EQ(1, Add(a, "Cache\\Work\\C:\\Tools", "app.exe", std::string(4096, 'c')));
    EXPECT_EQ(0, Add(a, "Cache\\Work\\C:\\Tools", "app.exe", "other"));
    EXPECT_EQ(1, Add(a, "Cache\\Work\\C:\\Tools\\", "app.exe_Mask", std::string(2048, 'm')));
    EXPECT_EQ(1, Add(a, "Cache\\Work", "b", "b"));
    EXPECT_EQ(1, Add(a, "Cache\\Work", "c", "c"));
    EXPECT_EQ(1, Add(a, "Cache\\Play", "p", "p"));
    EXPECT_EQ(1, Add(a, "", "atroot", "r"));

    CacheFolder* cache = CacheFindFolder(a, "Cache");
    EXPECT_EQ(1, cache->position);
    EXPECT_EQ(1, CacheFindFolder(a, "Cache\\Work")->position);
    EXPECT_EQ(2, CacheFindFolder(a, "Cache\\Play")->position);
    EXPECT_EQ(nullptr, CacheFindFolder(a, "cache"));
    EXPECT_EQ(&a.root, CacheFindFolder(a, ""));

    CacheFileList* tools = CacheFolderFiles(*CacheFindFolder(a, "Cache/Work/C:/Tools"));
    EXPECT_EQ(2, tools->count);
    EXPECT_EQ(6144, tools->totalSize);
    EXPECT_EQ(7 + 8 + 4096 + 12 + 8 + 2048, tools->recordSize);
    EXPECT_EQ(4096, CacheListLargestSize(*tools));

    CacheFile got;
    ASSERT_EQ(1, CacheGetFile(a, &got, "Cache\\Work\\C:\\Tools", "app.exe_Mask"));
    EXPECT_EQ(2048, got.size);
    EXPECT_EQ(CacheChecksum(got.data, 2048, 0), got.dataHash);
    EXPECT_EQ(0, got.data[2048]);
    std::free(got.data);
    EXPECT_EQ(0, CacheGetFile(a, &got, "Cache\\Work\\C:", "app.exe"));
    EXPECT_EQ(0, CacheGetFile(a, &got, "Nowhere", "app.exe"));

    EXPECT_EQ(1, CacheReplaceFile(a, "Cache\\Work\\C:\\Tools", "app.exe", 3, "new"));
    EXPECT_EQ(3 + 2048, tools->totalSize);
    EXPECT_EQ(0, CacheReplaceFile(a, "Cache\\Work\\C:\\Tools", "missing", 3, "new"));
    EXPECT_EQ(0, CacheReplaceFile(a, "Cache\\Work\\None", "app.exe", 3, "new"));

    // Indexes stay dense after a removal; lookup by index walks from either end.
    CacheArchive l;
    for (int i = 0; i < 9; ++i)
        Add(l, "L", std::to_string(i).c_str(), "x");
    CacheFileList* list = CacheFolderFiles(*CacheFindFolder(l, "L"));
    EXPECT_EQ(1, CacheDeleteFile(l, "L", "3"));
    for (int i = 0; i < 8; ++i) {
        CacheFile* f = CacheListFindIndex(*list, i);
        ASSERT_NE(nullptr, f);
        EXPECT_EQ(i, f->index);
        EXPECT_EQ(std::to_string(i < 3 ? i : i + 1), f->name);
    }
    EXPECT_EQ(nullptr, CacheListFindIndex(*list, 8));
}

TEST(CacheTree, DeletingAndRenaming) {
    CacheArchive a;
    Add(a, "Cache\\A", "f", "1");
    Add(a, "Cache\\B", "f", "2");
    Add(a, "Cache\\C", "f", "3");
    Add(a, "Cache\\B\\Sub", "g", "4");
    Add(a, "Cache", "top", "5");

    // The last file of a leaf folder takes the folder with it.
    EXPECT_EQ(1, CacheDeleteFile(a, "Cache\\A", "f"));
    EXPECT_EQ(nullptr, CacheFindFolder(a, "Cache\\A"));
    EXPECT_EQ(1, CacheFindFolder(a, "Cache\\B")->position);
    EXPECT_EQ(2, CacheFindFolder(a, "Cache\\C")->position);
    // A folder with subfolders stays when its own last file goes.
    EXPECT_EQ(1, CacheDeleteFile(a, "Cache\\B", "f"));
    EXPECT_EQ(1, CacheHasFile(a, "Cache\\B\\Sub", "g"));
    EXPECT_EQ(0, CacheDeleteFile(a, "Cache\\B", "f"));

    EXPECT_EQ(0, CacheRenameFolder(a, "Cache\\C", "x\\y"));
    EXPECT_EQ(0, CacheRenameFolder(a, "Cache\\C", "x/y"));
    EXPECT_EQ(0, CacheRenameFolder(a, "Cache\\C", "B"));
    EXPECT_EQ(0, CacheRenameFolder(a, "Cache\\C", ""));
    EXPECT_EQ(0, CacheRenameFolder(a, "", "Root"));
    EXPECT_EQ(0, CacheRenameFolder(a, "Cache\\Missing", "X"));
    // A second byte 5C inside a two-byte character is no backslash.
    EXPECT_EQ(1, CacheRenameFolder(a, "Cache\\C", "\x95\x5C"));
    EXPECT_EQ(1, CacheHasFile(a, "Cache\\\x95\x5C", "f"));
    EXPECT_EQ(1, CacheRenameFolder(a, "Cache\\B", "B"));
    // Long names are cut to 255 bytes, between characters.
    std::string longName;
    for (int i = 0; i < 200; ++i)
        longName += "\x83\x5C";
    EXPECT_EQ(1, CacheRenameFolder(a, "Cache\\B", longName.c_str()));
    EXPECT_EQ(254u,
              std::strlen(CacheFindFolder(a, ("Cache\\" + longName.substr(0, 254)).c_str())->name));

    EXPECT_EQ(0, CacheDeleteFolder(a, ""));
    EXPECT_EQ(0, CacheDeleteFolder(a, "\\"));
    EXPECT_EQ(0, CacheDeleteFolder(a, "Nope"));
    EXPECT_EQ(1, CacheDeleteFolder(a, "Cache"));
    EXPECT_EQ("[]", Listing(a));
    EXPECT_TRUE(a.modified);
}

TEST(CacheTree, OverlongNamesAndPathsAreRefused) {
    CacheArchive a;
    std::string name255(255, 'n'), name256(256, 'n');
    std::string path1023(1023, 'p');
    path1023[100] = '\\'; // components of 100 and 922 bytes: the second is too long
    EXPECT_EQ(1, Add(a, "F", name255.c_str(), "x"));
    EXPECT_EQ(0, Add(a, "F", name256.c_str(), "x"));
    EXPECT_EQ(0, Add(a, path1023.c_str(), "x", "x"));
    EXPECT_EQ(nullptr, CacheFindFolder(a, path1023.substr(0, 100).c_str()));
    std::string deep;
    for (int i = 0; i < 255; ++i)
        deep += "abc\\";
    deep += "abc"; // 1023 bytes
    EXPECT_EQ(1, Add(a, deep.c_str(), "x", "x"));
    EXPECT_EQ(0, Add(a, (deep + "\\d").c_str(), "x", "x"));
    // Renaming may not push a path below it past 1023 bytes.
    EXPECT_EQ(0, CacheRenameFolder(a, "abc", "abcd"));
    EXPECT_EQ(1, CacheRenameFolder(a, "abc", "ab"));
    EXPECT_EQ(0, CacheAddFile(a, "F", "neg", -1, "x"));
    EXPECT_EQ(0, CacheAddFile(a, "F", "null", 4, nullptr));
    std::string file = Save(a);
    CacheArchive b;
    Load(&b, file);
    EXPECT_EQ(file, Save(b));
    EXPECT_EQ(Listing(a), Listing(b)); // every path written whole, the deepest of 1022 bytes too
}

TEST(CacheTree, ClearEmptiesEverything) {
    CacheArchive a;
    Add(a, "", "r", "1");
    Add(a, "A\\B", "x", "2");
    Add(a, "A\\B", "y", "3");
    Add(a, "C", "z", "4");
    EXPECT_EQ(4, CacheClear(a));
    EXPECT_EQ("[]", Listing(a));
    EXPECT_EQ(30u, Save(a).size());
    EXPECT_EQ(0, CacheClear(a));
}

TEST(CacheProcessWide, IndexesFilesAndStartUpRules) {
    std::string folder = TestFolder();
    std::string path = folder + "/Cache.arc";
    EXPECT_EQ(0, CacheArchiveAuto());
    EXPECT_EQ(1, CacheArchiveUser());
    EXPECT_EQ(-1, CacheAddFile(2, "A", "n", 1, "x"));
    EXPECT_EQ(-1, CacheHasFile(-1, "A", "n"));
    EXPECT_EQ(0, CacheDeleteFile(2, "A", "n"));
    EXPECT_EQ(-1, CacheValidate(2, path.c_str()));
    EXPECT_EQ(0, CacheIsModified(5));

    // No file: validation says so, loading keeps the archive as it is.
    EXPECT_EQ(-1, CacheValidate(0, path.c_str()));
    EXPECT_EQ(1, CacheLoad(0, path.c_str(), kCacheMagic));
    EXPECT_EQ(0, CacheIsModified(0));

    ASSERT_EQ(1, CacheAddFile(0, "Cache\\Work", "a", 3, "abc"));
    EXPECT_EQ(1, CacheIsModified(0));
    int written = CacheSave(0, path.c_str(), kCacheMagic);
    EXPECT_EQ(static_cast<int>(ReadBytes(path).size()), written);
    EXPECT_FALSE(FileExists(path + ".tmp~"));
    EXPECT_EQ(1, CacheValidate(1, path.c_str()));
    EXPECT_EQ(1, CacheLoad(1, path.c_str(), kCacheMagic));
    EXPECT_EQ(1, CacheHasFile(1, "Cache/Work", "a"));
    EXPECT_EQ(0, CacheIsModified(1));

    // A file shorter than the header counts as changed.
    WriteBytes(folder + "/short.arc", "short");
    EXPECT_EQ(0, CacheValidate(0, (folder + "/short.arc").c_str()));

    // A failed save leaves the previous file.
    std::string before = ReadBytes(path);
    CacheAddFile(0, "Cache\\Work", "b", 1, "b");
    MakeFolder(path + ".tmp~");
    EXPECT_EQ(0, CacheSave(0, path.c_str(), kCacheMagic));
    EXPECT_EQ(before, ReadBytes(path));
    RemoveFolder(path + ".tmp~");

    CacheClear(0);
    CacheClear(1);
}

namespace {
int questions = 0;
bool Answer(void* yes) {
    ++questions;
    return *static_cast<bool*>(yes);
}
} // namespace

TEST(CacheProcessWide, StartUpAsksOnlyForAChangedFileAndShutDownSavesOnlyChanges) {
    std::string folder = TestFolder();
    std::string good = folder + "/Cache.arc", changed = folder + "/changed.arc";
    CacheArchive a;
    Add(a, "Cache\\Work", "a", "abc");
    std::string bytes = Save(a);
    WriteBytes(good, bytes);
    bytes[bytes.size() - 1] ^= 1;
    WriteBytes(changed, bytes);
    bool yes = true, no = false;
    questions = 0;

    EXPECT_EQ(-1, CacheStartUp(1, (folder + "/missing.arc").c_str(), Answer, &yes));
    EXPECT_EQ(1, CacheStartUp(1, good.c_str(), Answer, &yes));
    EXPECT_EQ(0, questions);
    EXPECT_EQ(1, CacheHasFile(1, "Cache\\Work", "a"));
    CacheClear(1);

    EXPECT_EQ(0, CacheStartUp(1, changed.c_str(), Answer, &no));
    EXPECT_EQ(1, questions);
    EXPECT_EQ(0, CacheHasFile(1, "Cache\\Work", "a"));
    EXPECT_EQ(0, CacheStartUp(1, changed.c_str(), Answer, &yes));
    EXPECT_EQ(2, questions);
    // Loaded anyway: the damaged last byte is the content of the file.
    EXPECT_EQ(1, CacheHasFile(1, "Cache\\Work", "a"));

    // In two steps the file is read once: what the read found is loaded after the question,
    // even when the file is gone by then; a right checksum loads at the read already.
    CacheClear(1);
    CacheStartUpRead read;
    CacheReadAtStartUp(1, changed.c_str(), &read);
    EXPECT_EQ(0, read.verdict);
    std::remove(changed.c_str());
    EXPECT_EQ(0, CacheFinishStartUp(1, &read, Answer, &yes));
    EXPECT_EQ(1, CacheHasFile(1, "Cache\\Work", "a"));
    EXPECT_EQ(nullptr, read.bytes.get());
    CacheClear(1);
    CacheReadAtStartUp(1, good.c_str(), &read);
    EXPECT_EQ(1, CacheHasFile(1, "Cache\\Work", "a"));
    EXPECT_EQ(1, CacheFinishStartUp(1, &read, Answer, &no));
    EXPECT_EQ(3, questions);

    // An archive changed during the run is written at shutdown; an unchanged one is not.
    EXPECT_EQ(1, CacheShutDown(1, good.c_str()));
    EXPECT_EQ(1, CacheValidate(1, good.c_str()));
    CacheArchive fresh;
    EXPECT_FALSE(fresh.modified);
    EXPECT_EQ(-1, CacheShutDown(7, good.c_str()));
    CacheClear(1);
}

TEST(CacheProcessWide, UnchangedArchiveIsNotRewritten) {
    std::string path = TestFolder() + "/CacheUser.arc";
    WriteBytes(path, "not an archive");
    // The flag is never cleared during a run; CTest runs each test in a process of its own,
    // where archive 0 starts unchanged.
    if (CacheIsModified(0)) GTEST_SKIP() << "archive 0 was changed earlier in this process";
    EXPECT_EQ(0, CacheShutDown(0, path.c_str()));
    EXPECT_EQ("not an archive", ReadBytes(path));
}

TEST(CacheLoading, ManyFoldersAndFilesLoadWholeAndInOrderOntoAnExistingTree) {
    CacheArchive a;
    for (int i = 0; i < 2000; ++i) {
        std::string folder = "F" + std::to_string(i);
        Add(a, folder.c_str(), "n", std::to_string(i));
        if (i % 100 == 0) Add(a, (folder + "\\sub").c_str(), "m", "x");
    }
    for (int i = 0; i < 2000; ++i)
        Add(a, "Many", ("f" + std::to_string(i)).c_str(), "y");
    const std::string file = Save(a);
    CacheArchive b;
    Load(&b, file);
    EXPECT_EQ(file, Save(b));
    // Loaded over folders and files that are already there: those are met, not doubled.
    CacheArchive c;
    Add(c, "F5", "n", "kept");
    Add(c, "Many", "own", "z");
    Load(&c, file);
    EXPECT_EQ(1, CacheHasFile(c, "F5", "n"));
    CacheFile got{};
    ASSERT_EQ(1, CacheGetFile(c, &got, "F5", "n"));
    EXPECT_EQ("kept", std::string(reinterpret_cast<char*>(got.data), 4));
    std::free(got.data);
    EXPECT_EQ(2001, CacheFolderFiles(*CacheFindFolder(c, "Many"))->count);
    EXPECT_EQ(1, CacheHasFile(c, "F1900\\sub", "m"));
    // A tree that holds files in its root alone is met as well.
    CacheArchive rootOnly;
    Add(rootOnly, "", "r", "mine");
    CacheArchive withRoot;
    Add(withRoot, "", "r", "theirs");
    Load(&rootOnly, Save(withRoot));
    EXPECT_EQ("[] r:mine", Listing(rootOnly));
}

TEST(CacheTree, HalfWidthKatakanaEndAtTheSeparator) {
    CacheArchive a;
    // "ﾂｰﾙ": one-byte katakana; the backslash after them separates.
    const char* tab = "Cache\\\xC2\xB0\xD9";
    const std::string icons = std::string(tab) + "\\C:";
    ASSERT_EQ(1, Add(a, icons.c_str(), "a.exe", "icon"));
    EXPECT_NE(nullptr, CacheFindFolder(a, tab));
    EXPECT_EQ(1, CacheRenameFolder(a, tab, "\xC2\xB0\xD9\xBD"));
    EXPECT_EQ(1, CacheHasFile(a, "Cache\\\xC2\xB0\xD9\xBD\\C:", "a.exe"));
    EXPECT_EQ(1, CacheDeleteFolder(a, "Cache\\\xC2\xB0\xD9\xBD"));
    EXPECT_EQ("[] [Cache]", Listing(a));
    // A two-byte character keeps its second byte 5C.
    ASSERT_EQ(1, Add(a, "Cache\\\x83\x5C\\C:", "b.exe", "icon"));
    EXPECT_NE(nullptr, CacheFindFolder(a, "Cache\\\x83\x5C"));
}

TEST(CacheProcessWide, AnArchiveThatCouldNotBeReadIsNotSavedOver) {
    std::string path = TestFolder() + "/CacheUser.arc";
    // A folder of that name stands for a file that is there and cannot be read.
    MakeFolder(path);
    EXPECT_EQ(-1, CacheStartUp(1, path.c_str(), Answer, nullptr));
    CacheAddFile(1, "Cache\\T", "x", 1, "x");
    EXPECT_EQ(0, CacheShutDown(1, path.c_str()));
    RemoveFolder(path);
    EXPECT_EQ(-1, CacheStartUp(1, path.c_str(), Answer, nullptr));
    EXPECT_EQ(1, CacheShutDown(1, path.c_str()));
    CacheClear(1);
}
