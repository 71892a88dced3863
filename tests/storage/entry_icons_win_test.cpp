#include "catalogue/catalogue.h"
#include "app/catalogue_services.h"
#include "base/path_utils.h"
#include "catalogue/tab_names.h"
#include "commands/scratch_folder.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "support/main_window_fixture.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class EntryIconTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ClearCatalogue();
        InstallCatalogueServices();
        AppendTab("Icons");
        TabCacheFolder(tabFolder_, "Icons");
        IconCacheFolder(folder_, tabFolder_, scratch_.File("x").c_str());
    }

    int Add(const std::string& path, int iconType = 0) {
        Entry record;
        ZeroMemory(&record, sizeof record);
        lstrcpynA(record.FilePath, path.c_str(), sizeof record.FilePath);
        record.Attribute = GetPathAttributes(path.c_str());
        char folder[kIconFolderSize];
        IconCacheFolder(folder, tabFolder_, path.c_str());
        return AddEntry(folder, record, iconType, 0);
    }

    static int32_t StoredSize(int archive, const char* folder, const std::string& name) {
        CacheFile file;
        ZeroMemory(&file, sizeof file);
        if (CacheGetFile(archive, &file, folder, name.c_str()) != 1) return -1;
        std::free(file.data);
        return file.size;
    }

    static bool IsMaskFrame(const unsigned char* mask) {
        for (int i = 0; i < kMaskBitsSize; i += 2) {
            unsigned pixel = mask[i] | mask[i + 1] << 8;
            if (pixel != 0x0000 && pixel != 0x7FFF) return false;
        }
        return true;
    }

    ScratchFolder scratch_;
    char tabFolder_[kIconFolderSize];
    char folder_[kIconFolderSize];
};

TEST_F(EntryIconTest, CapturedFramesAndSharedTypeIcons) {
    std::string a = scratch_.Write("a.txt", "a");
    std::string b = scratch_.Write("b.TXT", "b");
    std::string tool = scratch_.InstallRecorder("tool.EXE");
    std::string app = scratch_.InstallRecorder("app.exe");
    ASSERT_EQ(0, Add(a));
    ASSERT_EQ(1, Add(b));
    ASSERT_EQ(2, Add(tool));
    ASSERT_EQ(3, Add(app));

    for (const char* name : {"a.txt", "b.TXT", "tool.EXE", "app.exe"}) {
        EXPECT_EQ(kColourBitsSize, StoredSize(0, folder_, name)) << name;
        EXPECT_EQ(kMaskBitsSize, StoredSize(0, folder_, std::string(name) + "_Mask")) << name;
    }
    Entry* ea = FindEntry(0, 0);
    Entry* eb = FindEntry(0, 1);
    Entry* et = FindEntry(0, 2);
    Entry* ex = FindEntry(0, 3);
    ASSERT_NE(nullptr, ea->colourBits);
    EXPECT_EQ(ea->colourBits, eb->colourBits); // one record for the type "txt"
    EXPECT_EQ(ea->maskBits, eb->maskBits);
    EXPECT_TRUE(IsTypeIconBits(ea->colourBits));
    EXPECT_EQ(1, TypeIconCount());
    ASSERT_NE(nullptr, et->colourBits);
    EXPECT_FALSE(IsTypeIconBits(et->colourBits)); // executables keep their own
    EXPECT_NE(et->colourBits, ex->colourBits);
    EXPECT_TRUE(IsMaskFrame(et->maskBits));
    EXPECT_TRUE(IsMaskFrame(ea->maskBits));
    EXPECT_EQ(0, ea->noIcon);

    // Freeing the shared entry leaves the record's bits to the other one.
    DeleteEntry(0, 0);
    EXPECT_NE(nullptr, FindEntry(0, 0)->colourBits);
    EXPECT_TRUE(IsTypeIconBits(FindEntry(0, 0)->colourBits));
}

// A program shows the icon inside it: this test program has the launcher's, the recording
// helper none (without the .exe file type both got the generic document icon).
TEST_F(EntryIconTest, ProgramsShowTheirOwnIcons) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    ASSERT_EQ(0, Add(self));
    ASSERT_EQ(1, Add(scratch_.InstallRecorder("plain.exe")));
    ASSERT_TRUE(FindEntry(0, 0)->colourBits && FindEntry(0, 1)->colourBits);
    EXPECT_NE(
        0, std::memcmp(FindEntry(0, 0)->colourBits, FindEntry(0, 1)->colourBits, kColourBitsSize));
}

TEST_F(EntryIconTest, MissingFilesAndPathsWithoutIcon) {
    ASSERT_EQ(0, Add(scratch_.File("gone.exe")));
    Entry* e = FindEntry(0, 0);
    EXPECT_EQ(1, e->noIcon);
    EXPECT_EQ(nullptr, e->colourBits);
    EXPECT_EQ(0, CacheHasFile(0, folder_, "gone.exe"));

    EXPECT_EQ(-1, CaptureEntryIcon(0, folder_, scratch_.File("none.bin").c_str(), "none.bin",
                                   kMaskSuffix));
    EXPECT_EQ(0, CacheHasFile(0, folder_, "none.bin"));
    EXPECT_EQ(-1, RecaptureEntryIcon(0, folder_, scratch_.File("none.bin").c_str(), "none.bin",
                                     kMaskSuffix));
}

bool RefuseToConvert(HICON, unsigned char*, unsigned char*) {
    return false;
}

TEST_F(EntryIconTest, LongNamesAndFailedConversionsLeaveNoBrokenIcon) {
    // A 251-byte file name: with "_Mask" its mask would need a 256-byte archive name. The
    // folder is short, so the whole path stays within MAX_PATH.
    const std::string shortFolder = "C:\\ql";
    CreateDirectoryA(shortFolder.c_str(), nullptr);
    std::string longName = shortFolder + "\\" + std::string(247, 'n') + ".txt";
    ScratchFolder::WriteTo(longName, "long");
    std::string other = scratch_.Write("other.txt", "other");
    EXPECT_EQ(0, Add(longName));
    EXPECT_EQ(1, Add(other));
    for (int k : {0, 1}) { // the first of its type gives the icon to the others
        ASSERT_NE(nullptr, FindEntry(0, k)->colourBits) << k;
        EXPECT_NE(nullptr, FindEntry(0, k)->maskBits) << k;
    }
    DeleteFileA(longName.c_str());
    RemoveDirectoryA(shortFolder.c_str());

    // A conversion that fails stores nothing, so a later capture can still succeed.
    std::string tool = scratch_.InstallRecorder("tool.exe");
    SetIconFrameConverter(RefuseToConvert);
    EXPECT_EQ(-1, CaptureEntryIcon(0, folder_, tool.c_str(), "tool.exe", kMaskSuffix));
    SetIconFrameConverter(nullptr);
    EXPECT_EQ(0, CacheHasFile(0, folder_, "tool.exe"));
    EXPECT_EQ(1, CaptureEntryIcon(0, folder_, tool.c_str(), "tool.exe", kMaskSuffix));
}

TEST_F(EntryIconTest, RecaptureReplacesOnlyWhatExists) {
    std::string tool = scratch_.InstallRecorder("tool.exe");
    EXPECT_EQ(0, RecaptureEntryIcon(0, folder_, tool.c_str(), "tool.exe", kMaskSuffix));
    EXPECT_EQ(1, CaptureEntryIcon(0, folder_, tool.c_str(), "tool.exe", kMaskSuffix));
    EXPECT_EQ(1, CaptureEntryIcon(0, folder_, tool.c_str(), "tool.exe", kMaskSuffix));
    EXPECT_EQ(1, RecaptureEntryIcon(0, folder_, tool.c_str(), "tool.exe", kMaskSuffix));
    // References in the path are expanded before the shell is asked.
    SetEnvironmentVariableA("QDX_ICON_HOME", scratch_.Path().c_str());
    EXPECT_EQ(1, CaptureEntryIcon(1, folder_, "%QDX_ICON_HOME%\\tool.exe", "t2", kMaskSuffix));
    EXPECT_EQ(kColourBitsSize, StoredSize(1, folder_, "t2"));
}

TEST_F(EntryIconTest, ReloadingASharedTypeChangesItForAllItsEntries) {
    ASSERT_EQ(0, Add(scratch_.Write("a.txt", "a")));
    ASSERT_EQ(1, Add(scratch_.Write("b.TXT", "b")));
    unsigned char* shared = FindEntry(0, 0)->colourBits;
    std::string colour(kColourBitsSize, '\x42');
    std::string mask(kMaskBitsSize, '\0');
    ASSERT_EQ(1, CacheReplaceFile(0, folder_, "b.TXT", kColourBitsSize, colour.data()));
    ASSERT_EQ(1, CacheReplaceFile(0, folder_, "b.TXT_Mask", kMaskBitsSize, mask.data()));

    ReloadEntryIcon(0, folder_, 1, 0);
    EXPECT_EQ(shared, FindEntry(0, 0)->colourBits); // overwritten in place
    EXPECT_EQ(shared, FindEntry(0, 1)->colourBits);
    EXPECT_EQ(0, std::memcmp(shared, colour.data(), kColourBitsSize));
}

TEST_F(EntryIconTest, UserIconsComeFromTheUserArchiveAndBadSizesCountAsMissing) {
    std::string tool = scratch_.InstallRecorder("tool.exe");
    ASSERT_EQ(0, Add(tool));
    Entry* e = FindEntry(0, 0);
    std::string colour(kColourBitsSize, '\x11');
    std::string mask(kMaskBitsSize, '\0');
    ASSERT_EQ(1, CacheAddFile(1, folder_, "tool.exe", kColourBitsSize, colour.data()));
    ASSERT_EQ(1, CacheAddFile(1, folder_, "tool.exe_Mask", kMaskBitsSize, mask.data()));
    ReloadEntryIcon(0, folder_, 0, 1);
    EXPECT_EQ(1, e->IconType);
    ASSERT_NE(nullptr, e->colourBits);
    EXPECT_EQ(0, std::memcmp(e->colourBits, colour.data(), kColourBitsSize));

    // A damaged archive file (too short) is never handed out as bits.
    ASSERT_EQ(1, CacheReplaceFile(1, folder_, "tool.exe", 10, "0123456789"));
    ASSERT_EQ(1, CacheReplaceFile(0, folder_, "tool.exe", 10, "0123456789"));
    ReloadEntryIcon(0, folder_, 0, 1);
    EXPECT_EQ(nullptr, e->colourBits);
    EXPECT_EQ(nullptr, e->maskBits);
    EXPECT_EQ(0, LoadEntryIconBits(folder_, e));
}

TEST_F(EntryIconTest, ExportedBitmapsHaveTheirSizesAndHeaders) {
    ASSERT_EQ(0, Add(scratch_.InstallRecorder("tool.exe")));
    ASSERT_EQ(1, Add(scratch_.File("missing.exe")));
    std::string colourFile = scratch_.File("icon.bmp");
    std::string maskFile = scratch_.File("mask.bmp");
    scratch_.Write("icon.bmp", std::string(9000, 'x')); // an existing file is replaced
    SaveIconBitmap(colourFile.c_str(), 0, 0);
    SaveMaskBitmap(maskFile.c_str(), 0, 0);
    std::string colour = ReadFileText(colourFile);
    std::string mask = ReadFileText(maskFile);
    ASSERT_EQ(4150u, colour.size());
    ASSERT_EQ(2102u, mask.size());
    unsigned char headers[kBitmapHeadersSize];
    BuildBitmapHeaders(headers, 32);
    EXPECT_EQ(0, std::memcmp(headers, colour.data(), sizeof headers));
    BuildBitmapHeaders(headers, 16);
    EXPECT_EQ(0, std::memcmp(headers, mask.data(), sizeof headers));
    EXPECT_EQ(0, std::memcmp(FindEntry(0, 0)->colourBits, colour.data() + 54, kColourBitsSize));
    EXPECT_EQ(0, std::memcmp(FindEntry(0, 0)->maskBits, mask.data() + 54, kMaskBitsSize));

    // No bits, no entry, or a folder that cannot take the file: nothing is written.
    SaveIconBitmap(scratch_.File("none1.bmp").c_str(), 0, 1);
    SaveIconBitmap(scratch_.File("none2.bmp").c_str(), 0, 7);
    SaveMaskBitmap(scratch_.File("no\\such\\folder.bmp").c_str(), 0, 0);
    EXPECT_FALSE(PathExists(scratch_.File("none1.bmp")));
    EXPECT_FALSE(PathExists(scratch_.File("none2.bmp")));
}

TEST_F(EntryIconTest, SnapshotHandlesFollowTheDrawingMode) {
    ASSERT_EQ(0, Add(scratch_.InstallRecorder("tool.exe")));
    ASSERT_EQ(1, Add(scratch_.File("missing.exe")));
    EntrySnapshot s;
    for (int mode : {0, 4, -1}) {
        ASSERT_EQ(1, GetEntrySnapshot(&s, 0, 0, mode, 0));
        EXPECT_TRUE(!s.icon && !s.colourBitmap && !s.maskBitmap) << mode;
    }
    ASSERT_EQ(1, GetEntrySnapshot(&s, 0, 0, 1, 0));
    ASSERT_NE(nullptr, s.icon);
    ICONINFO parts;
    ASSERT_TRUE(GetIconInfo(static_cast<HICON>(s.icon), &parts));
    BITMAP description;
    GetObjectA(parts.hbmMask, sizeof description, &description);
    EXPECT_EQ(32, description.bmWidth);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    DestroyIcon(static_cast<HICON>(s.icon));

    ASSERT_EQ(1, GetEntrySnapshot(&s, 0, 0, 2, 0));
    ASSERT_NE(nullptr, s.colourBitmap);
    ASSERT_NE(nullptr, s.maskBitmap);
    GetObjectA(static_cast<HBITMAP>(s.colourBitmap), sizeof description, &description);
    EXPECT_EQ(32, description.bmBitsPixel);
    EXPECT_EQ(0, std::memcmp(description.bmBits, FindEntry(0, 0)->colourBits, kColourBitsSize));
    GetObjectA(static_cast<HBITMAP>(s.maskBitmap), sizeof description, &description);
    EXPECT_EQ(16, description.bmBitsPixel);
    DeleteObject(static_cast<HBITMAP>(s.colourBitmap));
    DeleteObject(static_cast<HBITMAP>(s.maskBitmap));

    ASSERT_EQ(1, GetEntrySnapshot(&s, 0, 0, 3, 0));
    EXPECT_NE(nullptr, s.icon);
    DestroyIcon(static_cast<HICON>(s.icon));

    // Without bits modes 1 and 2 make nothing; mode 3 asks the shell, which knows no icon.
    for (int mode : {1, 2, 3}) {
        ASSERT_EQ(1, GetEntrySnapshot(&s, 0, 1, mode, 0));
        EXPECT_TRUE(!s.icon && !s.colourBitmap && !s.maskBitmap) << mode;
    }
}

// An icon that is not 32 x 32, and a monochrome one without a colour bitmap, are drawn into
// the frames; the mask says where they are opaque.
TEST_F(EntryIconTest, IconsOfOtherShapesAreConvertedIntoTheFrames) {
    unsigned char colour[kColourBitsSize];
    unsigned char mask[kMaskBitsSize];

    // 16 x 16: opaque red everywhere.
    BITMAPINFO info;
    ZeroMemory(&info, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = 16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* pixels = nullptr;
    HBITMAP small = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    for (int i = 0; i < 256; ++i)
        static_cast<DWORD*>(pixels)[i] = 0x00FF0000;
    BYTE zeros[16 * 2] = {};
    HBITMAP smallMask = CreateBitmap(16, 16, 1, 1, zeros);
    ICONINFO parts = {TRUE, 0, 0, smallMask, small};
    HICON icon = CreateIconIndirect(&parts);
    DeleteObject(small);
    DeleteObject(smallMask);
    ASSERT_NE(nullptr, icon);
    ASSERT_TRUE(IconToFrames(icon, colour, mask));
    DestroyIcon(icon);
    // Stretched over the whole frame: every pixel is opaque and red.
    EXPECT_TRUE(IsMaskFrame(mask));
    for (int i = 0; i < kMaskBitsSize; i += 2)
        ASSERT_EQ(0, mask[i] | mask[i + 1]) << i;
    EXPECT_EQ(0xFF, colour[2]);
    EXPECT_EQ(0x00, colour[0]);

    // Monochrome 32 x 32: the left half opaque black, the right half transparent.
    BYTE andBits[32 * 4], xorBits[32 * 4];
    for (int row = 0; row < 32; ++row) {
        for (int b = 0; b < 4; ++b) {
            andBits[row * 4 + b] = b < 2 ? 0x00 : 0xFF;
            xorBits[row * 4 + b] = 0x00;
        }
    }
    icon = CreateIcon(GetModuleHandleA(nullptr), 32, 32, 1, 1, andBits, xorBits);
    ASSERT_NE(nullptr, icon);
    ASSERT_TRUE(IconToFrames(icon, colour, mask));
    DestroyIcon(icon);
    EXPECT_TRUE(IsMaskFrame(mask));
    auto maskAt = [&](int x, int y) {
        return mask[(y * 32 + x) * 2] | mask[(y * 32 + x) * 2 + 1] << 8;
    };
    EXPECT_EQ(0x0000, maskAt(3, 5));
    EXPECT_EQ(0x7FFF, maskAt(20, 5));
}

} // namespace
