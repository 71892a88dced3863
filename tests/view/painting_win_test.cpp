#include "base/app_state.h"
#include "app/catalogue_services.h"
#include "base/path_utils.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "commands/scratch_folder.h"
#include "commands/shortcuts.h"
#include "res/window_command_ids.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "storage/icon_loading.h"
#include "storage/settings.h"
#include "support/main_window_fixture.h"
#include "view/drawing_objects.h"
#include "view/grid.h"
#include "view/offscreen_buffer.h"
#include "view/painting.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const COLORREF kGreen = RGB(0, 128, 0);
const COLORREF kRed = RGB(200, 10, 10);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kWhite = RGB(255, 255, 255);

class PaintingTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ClearCatalogue();
        InstallCatalogueServices();
        AppendTab("Paint");
        ResizeOffscreenBuffer(390, 325);
        SetBackGround(0);
        SetColor(kGreen);
        SetGrid(1);
        SetGridColor(kBlue);
        SetCursorGround(0);
        SetCursorColor(kRed);
        PutCursorOn(-2, -2); // off the grid: no cursor cell
    }

    int Add(const std::string& path, DWORD attribute) {
        Entry record;
        ZeroMemory(&record, sizeof record);
        lstrcpynA(record.FilePath, path.c_str(), sizeof record.FilePath);
        record.Attribute = attribute;
        char tab[kIconFolderSize], folder[kIconFolderSize];
        TabCacheFolder(tab, "Paint");
        IconCacheFolder(folder, tab, path.c_str());
        return AddEntry(folder, record, 0, 0);
    }

    static COLORREF At(int x, int y) { return GetPixel(BackBuffer().BufferDc(), x, y); }
    static void PutCursorOn(int column, int row) {
        int x = column * CellWidth() + (column < 0 ? -5 : 5);
        int y = row * CellHeight() + (row < 0 ? -5 : 5);
        SetCursorFromPoint(x, GridTop() + y);
    }
    static bool IsDark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 300; }
    // Dark pixels in a rectangle of the buffer.
    static int DarkPixels(int left, int top, int right, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += IsDark(At(x, y));
        return n;
    }
    static std::vector<COLORREF> Block(int left, int top, int size) {
        std::vector<COLORREF> pixels;
        for (int y = top; y < top + size; ++y)
            for (int x = left; x < left + size; ++x)
                pixels.push_back(At(x, y));
        return pixels;
    }

    ScratchFolder scratch_;
};

TEST_F(PaintingTest, GradientBackgroundInBothDirections) {
    SetBackGround(1);
    SetGradWay(0);
    PaintGrid();
    EXPECT_EQ(GetGColorStart(), At(0, 100));
    EXPECT_EQ(kWhite, At(389, 100));
    EXPECT_EQ(135, GetRValue(At(194, 10)));
    EXPECT_EQ(At(194, 10), At(194, 300)); // columns are uniform

    SetGradWay(1);
    PaintGrid();
    EXPECT_EQ(GetGColorStart(), At(200, 0));
    EXPECT_EQ(kWhite, At(200, 324));
    EXPECT_EQ(At(10, 162), At(380, 162));

    SetGColorStart(kRed);
    SetGColorEnd(kRed);
    PaintGrid();
    EXPECT_EQ(kRed, At(0, 0));
    EXPECT_EQ(kRed, At(200, 160));
    EXPECT_EQ(kRed, At(389, 324));
}

TEST_F(PaintingTest, PlainBackgroundAndTheDesktopRefreshTimer) {
    SetTimer(window_, kDesktopRefreshTimerId, 100000, nullptr);
    PaintGrid();
    EXPECT_EQ(kGreen, At(0, 0));
    EXPECT_EQ(kGreen, At(389, 324));
    EXPECT_FALSE(KillTimer(window_, kDesktopRefreshTimerId)); // a plain background stops it

    SetBackGround(2);
    PaintGrid();
    if (GetOsVersionCode() >= 8) {
        EXPECT_TRUE(KillTimer(window_, kDesktopRefreshTimerId));
    } else {
        // Below the Windows 2000 class the plain colour stands in and no timer runs.
        EXPECT_EQ(kGreen, At(200, 200));
        EXPECT_FALSE(KillTimer(window_, kDesktopRefreshTimerId));
    }
}

TEST_F(PaintingTest, DesktopBackgroundNeverLeavesThePreviousPaintBehind) {
    // What the previous paint left, or a new bitmap that nothing has painted yet.
    FillColourRect(BackBuffer().BufferDc(), 0, 0, 390, 325, RGB(0, 0, 0));
    SetBackGround(2);
    PaintGrid();
    if (GetOsVersionCode() < 8) {
        int others = 0;
        for (int y = 0; y < 325; y += 4)
            for (int x = 0; x < 390; x += 4)
                others += At(x, y) != kGreen;
        EXPECT_EQ(0, others); // the plain colour everywhere
        EXPECT_EQ(kGreen, At(389, 324));
        return;
    }
    // The desktop behind the grid, copied from the screen point below the tab strip.
    RECT tabs;
    GetWindowRect(TabControl(), &tabs);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetPixel(screen, tabs.left + 200, tabs.bottom + 200), At(200, 200));
    ReleaseDC(nullptr, screen);
    KillTimer(window_, kDesktopRefreshTimerId);
}

TEST_F(PaintingTest, CursorCellIsOnePixelLargerThanTheCell) {
    PutCursorOn(1, 1);
    PaintGrid();
    EXPECT_EQ(kRed, At(65, 65));
    EXPECT_EQ(kRed, At(130, 130)); // 66 x 66 pixels, into the neighbours' first line
    EXPECT_EQ(kGreen, At(131, 100));
    EXPECT_EQ(kGreen, At(100, 131));
    EXPECT_EQ(kGreen, At(64, 100));

    SetGrid(0);
    PaintGrid(); // grid lines cover the overlap again
    EXPECT_EQ(kBlue, At(130, 100));
    EXPECT_EQ(kBlue, At(131, 100));
    EXPECT_EQ(kRed, At(129, 100));
    EXPECT_EQ(kRed, At(67, 67));

    SetGrid(1);
    SetCursorGround(1);
    SetCursorGColorStart(RGB(0, 0, 0));
    SetCursorGColorEnd(kWhite);
    SetCursorGradWay(0);
    PaintGrid();
    EXPECT_EQ(RGB(0, 0, 0), At(65, 100));
    EXPECT_EQ(kWhite, At(130, 100));
    EXPECT_EQ(At(98, 65), At(98, 130));
}

TEST_F(PaintingTest, GridLinesFrameEveryCellInTheirPenStyle) {
    SetGrid(0);
    PaintGrid();
    for (int y = 0; y < 325; ++y) {
        ASSERT_EQ(kBlue, At(0, y)) << y;
        ASSERT_EQ(kBlue, At(1, y)) << y;
        ASSERT_EQ(kBlue, At(65, y)) << y;
        ASSERT_EQ(kBlue, At(66, y)) << y;
        ASSERT_EQ(kBlue, At(388, y)) << y;
        ASSERT_EQ(kBlue, At(389, y)) << y;
    }
    for (int x = 0; x < 390; ++x) {
        ASSERT_EQ(kBlue, At(x, 130)) << x;
        ASSERT_EQ(kBlue, At(x, 131)) << x;
        ASSERT_EQ(kBlue, At(x, 323)) << x;
        ASSERT_EQ(kBlue, At(x, 324)) << x;
    }
    EXPECT_EQ(kGreen, At(2, 2));
    EXPECT_EQ(kGreen, At(67, 100));

    for (int type = 1; type <= 4; ++type) {
        SetGridType(type);
        PaintGrid();
        int gaps = 0;
        for (int y = 0; y < 325; ++y)
            gaps += At(65, y) != kBlue;
        EXPECT_GT(gaps, 0) << type;
    }
    SetGridType(7); // unknown styles are solid
    PaintGrid();
    for (int y = 0; y < 325; ++y)
        ASSERT_EQ(kBlue, At(65, y)) << y;
}

TEST_F(PaintingTest, EntriesWithoutIconShowACrossEvenWithoutGridLines) {
    ASSERT_EQ(0, Add(scratch_.File("gone.exe"), kMissingAttributes));
    PaintGrid();
    EXPECT_EQ(kBlue, At(32, 32));
    EXPECT_EQ(kBlue, At(10, 10));
    EXPECT_EQ(kBlue, At(54, 10));
    EXPECT_EQ(kGreen, At(32, 8));
    EXPECT_EQ(kGreen, At(97, 97)); // the next cell is empty
}

// Start-up only marks the entries; a tab's first paint binds the icons of its cells, captured
// where the archive lacks them, so no cell shows the missing file's cross for an icon on its way.
TEST_F(PaintingTest, AFirstPaintShowsIconsTheArchiveLackedInsteadOfCrosses) {
    CacheClear(CacheArchiveAuto());
    std::string tool = scratch_.InstallRecorder("tool.exe");
    DeferIconBinding(true);
    for (int i = 0; i < 40; ++i)
        Add(tool, GetFileAttributesA(tool.c_str()));
    DeferIconBinding(false);
    SetIconDraw(2);
    PaintGrid();
    EXPECT_EQ(kGreen, At(10, 10)); // where a cross would run
    int drawn = 0;
    for (COLORREF c : Block(16, 16, 32))
        drawn += c != kGreen;
    EXPECT_GT(drawn, 50);
    EXPECT_EQ(0, FindEntry(0, 29)->iconPending);
    EXPECT_EQ(1, FindEntry(0, 30)->iconPending); // off screen: left to the timer
}

TEST_F(PaintingTest, IconsInBothBitmapModesAndRaisedOnTheCursor) {
    std::string tool = scratch_.InstallRecorder("tool.exe");
    ASSERT_EQ(0, Add(tool, GetFileAttributesA(tool.c_str())));
    ASSERT_NE(nullptr, FindEntry(0, 0)->colourBits);
    SetColor(kWhite);
    SetCursorColor(kWhite); // the cursor cell then differs only by where the icon stands

    SetIconDraw(2);
    PaintGrid();
    std::vector<COLORREF> plain = Block(32 - 16, 32 - 16, 32);
    int drawn = 0;
    for (COLORREF c : plain)
        drawn += c != kWhite;
    EXPECT_GT(drawn, 50);
    PutCursorOn(0, 0);
    PaintGrid();
    EXPECT_EQ(plain, Block(32 - 19, 32 - 19, 32));

    // The icon route draws the same bits: equal wherever the icon is solid (opaque in its
    // mask and, when it has an alpha channel, fully opaque there too).
    PutCursorOn(-2, -2);
    SetIconDraw(1);
    PaintGrid();
    std::vector<COLORREF> viaIcon = Block(32 - 16, 32 - 16, 32);
    const unsigned char* mask = FindEntry(0, 0)->maskBits;
    const unsigned char* colour = FindEntry(0, 0)->colourBits;
    bool hasAlpha = false;
    for (int i = 3; i < kColourBitsSize; i += 4)
        hasAlpha = hasAlpha || colour[i] != 0;
    auto solid = [=](size_t i) {
        size_t pixel = (31 - i / 32) * 32 + i % 32; // stored rows run bottom-up
        bool opaque = (mask[pixel * 2] | mask[pixel * 2 + 1]) == 0;
        return opaque && (!hasAlpha || colour[pixel * 4 + 3] == 255);
    };
    int solidPixels = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        if (!solid(i)) continue;
        ++solidPixels;
        EXPECT_EQ(plain[i], viaIcon[i]) << i;
    }
    EXPECT_GT(solidPixels, 50);
    // On the cursor cell the icon is drawn again two pixels higher and further left.
    PutCursorOn(0, 0);
    PaintGrid();
    std::vector<COLORREF> raised = Block(32 - 18, 32 - 18, 32);
    for (size_t i = 0; i < plain.size(); ++i) {
        if (solid(i)) {
            EXPECT_EQ(viaIcon[i], raised[i]) << i;
        }
    }

    SetIconDraw(3);
    PaintGrid();
    drawn = 0;
    for (COLORREF c : Block(32 - 16, 32 - 16, 32))
        drawn += c != kWhite;
    EXPECT_GT(drawn, 50);
}

TEST_F(PaintingTest, CaptionsAreCutToFitTheirCell) {
    SetColor(kWhite);
    SetGridColor(kWhite); // the cross of the missing entries disappears in the background
    ASSERT_EQ(0, Add(scratch_.File("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW.txt"), kMissingAttributes));
    PaintGrid();
    EXPECT_GT(DarkPixels(0, 40, 65, 65), 20);
    EXPECT_EQ(0, DarkPixels(65, 40, 130, 65)); // nothing runs into the next cell
    EXPECT_EQ(0, DarkPixels(0, 0, 65, 40));    // the caption stands at the cell's bottom

    SetStyle(1);
    SetSize(2);
    PaintGrid();
    EXPECT_EQ(0, DarkPixels(0, 0, 130, 65)); // no captions in that style and size
}

TEST_F(PaintingTest, CaptionWidthMustBeStrictlyLessThanTheCell) {
    HDC dc = BackBuffer().BufferDc();
    HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, 0, 0,
                             PROOF_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ　明朝");
    HGDIOBJ previous = SelectObject(dc, font);
    const char* name = "abcdefgh";
    SIZE whole;
    GetTextExtentPoint32A(dc, name, 8, &whole);
    SIZE extent;
    EXPECT_EQ(8, FitCaption(dc, name, whole.cx + 1, &extent));
    EXPECT_EQ(7, FitCaption(dc, name, whole.cx, &extent)); // exactly the width is too wide
    EXPECT_LT(extent.cx, whole.cx);
    EXPECT_EQ(0, FitCaption(dc, name, 0, &extent));
    EXPECT_EQ(0, FitCaption(dc, "", 65, &extent));
    SelectObject(dc, previous);
    DeleteObject(font);
}

// FNV-1a over the colours of the grid as the back buffer holds it.
uint64_t GridPixelsHash(uint64_t hash) {
    int width = ColumnCount() * CellWidth();
    int height = RowCount() * CellHeight();
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, copy);
    BitBlt(dc, 0, 0, width, height, BackBuffer().BufferDc(), 0, 0, SRCCOPY);
    GdiFlush();
    const uint32_t* pixel = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i)
        hash = (hash ^ (pixel[i] & 0xFFFFFF)) * 0x100000001B3ull;
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(copy);
    return hash;
}

// Icon bits drawn here instead of captured: the same on every machine. With alpha, the
// colour's fourth byte runs from clear to opaque across the icon.
void GiveBits(Entry* entry, int seed, bool alpha) {
    FreeEntryIconBits(entry);
    entry->colourBits = static_cast<unsigned char*>(std::malloc(kColourBitsSize));
    entry->maskBits = static_cast<unsigned char*>(std::malloc(kMaskBitsSize));
    for (int y = 0; y < kIconSide; ++y) {
        for (int x = 0; x < kIconSide; ++x) {
            unsigned char* c = entry->colourBits + (y * kIconSide + x) * 4;
            bool hole = (x - 16) * (x - 16) + (y - 16) * (y - 16) > 15 * 15;
            c[0] = static_cast<unsigned char>(x * 8 + seed);
            c[1] = static_cast<unsigned char>(y * 8);
            c[2] = static_cast<unsigned char>(seed * 40);
            c[3] = alpha ? static_cast<unsigned char>(hole ? 0 : x * 8 + 7) : 0;
            if (hole && !alpha) c[0] = c[1] = c[2] = 0;
            entry->maskBits[(y * kIconSide + x) * 2] = hole ? 0xFF : 0;
            entry->maskBits[(y * kIconSide + x) * 2 + 1] = hole ? 0x7F : 0;
        }
    }
}

// Every style and size, icon mode, background and cursor cell, painted and summed up into one
// value per style and mode. The values were taken from the grid as painted when every cell
// made and freed its own font, icon and bitmaps and a gradient filled one line at a time.
// Mode 3 draws the shell's icons, so its values hold for the test prefix as it is set up
// (programs with their own icons).
TEST_F(PaintingTest, EveryStyleModeAndBackgroundPaintsTheSamePixelsAsBefore) {
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const struct {
        std::string path;
        DWORD attribute;
        int bits; // 0: none, 1: opaque, 2: with alpha
    } entries[] = {
        {std::string(windows) + "\\notepad.exe", FILE_ATTRIBUTE_ARCHIVE, 1},
        {scratch_.File("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW.txt"), FILE_ATTRIBUTE_ARCHIVE, 2},
        {scratch_.File("gone.exe"), kMissingAttributes, 0},
        {scratch_.File("setup.old"), FILE_ATTRIBUTE_DIRECTORY, 1},
        {scratch_.File("日本語のとても長い名前です.exe"), FILE_ATTRIBUTE_ARCHIVE, 2},
        {scratch_.File("ab日本語日本語日本語日本.txt"), FILE_ATTRIBUTE_ARCHIVE, 1},
        {scratch_.File("abc日本語日本語日本語日本.txt"), FILE_ATTRIBUTE_ARCHIVE, 2},
        {scratch_.Write("readme.txt", "text"), FILE_ATTRIBUTE_ARCHIVE, 1},
        {scratch_.File("i"), FILE_ATTRIBUTE_ARCHIVE, 2},
    };
    for (const auto& e : entries) {
        int k = Add(e.path, e.attribute);
        if (e.bits) GiveBits(FindEntry(0, k), k, e.bits == 2);
    }
    SetGridType(2);
    SetGColorStart(RGB(16, 32, 48));
    SetGColorEnd(RGB(250, 240, 200));
    SetCursorGColorStart(RGB(0, 0, 0));
    SetCursorGColorEnd(RGB(255, 255, 255));
    const uint64_t expected[5][3] = {
        {6191756504946141931ull, 15394138590198555983ull, 6604379910641110493ull},
        {920813777151325602ull, 14947095289157625983ull, 11048170179799190586ull},
        {4495659702112405917ull, 13305089260571069179ull, 4284897112505700072ull},
        {8104293597276795541ull, 17035748859159964168ull, 10260231995156180246ull},
        {12652405191142874644ull, 271435817764327224ull, 392710781339191072ull}};
    for (int style = 0; style < 5; ++style) {
        for (int mode = 1; mode <= 3; ++mode) {
            SetIconDraw(mode);
            uint64_t hash = 0xCBF29CE484222325ull;
            for (int size = 0; size < 3; ++size) {
                SendMessageA(window_, WM_COMMAND, IDM_STYLE_STANDARD + style, 0);
                SendMessageA(window_, WM_COMMAND, IDM_SIZE_STANDARD + size, 0);
                for (int look = 0; look < 6; ++look) {
                    SetBackGround(look % 3 == 0 ? 0 : 1);
                    SetGradWay(look % 3 == 2);
                    SetCursorGround(look / 3);
                    SetCursorGradWay(look % 2);
                    SetGrid(look % 2);
                    PutCursorOn(look / 3, look % 2);
                    PaintGrid();
                    hash = GridPixelsHash(hash);
                }
            }
            EXPECT_EQ(expected[style][mode - 1], hash) << "style " << style << " mode " << mode;
        }
    }
}

// Icons are kept from paint to paint by their bits: bits changed in place (a type's icon is
// overwritten for every file of the type) give a new icon, and equal bits share one.
TEST_F(PaintingTest, KeptIconsFollowTheBitsTheyWereMadeFrom) {
    SetIconDraw(1);
    GiveBits(FindEntry(0, Add(scratch_.File("a.exe"), FILE_ATTRIBUTE_ARCHIVE)), 1, false);
    GiveBits(FindEntry(0, Add(scratch_.File("b.exe"), FILE_ATTRIBUTE_ARCHIVE)), 1, false);
    GiveBits(FindEntry(0, Add(scratch_.File("c.exe"), FILE_ATTRIBUTE_ARCHIVE)), 2, true);
    PaintGrid();
    std::vector<COLORREF> before = Block(16, 16, 32);
    EXPECT_EQ(before, Block(65 + 16, 16, 32));
    EXPECT_EQ(2, KeptIconCount());
    EXPECT_EQ(0, KeptIconsDrawnBySystem()); // both forms are drawn from kept pictures
    std::memset(FindEntry(0, 0)->colourBits, 0xFF, kColourBitsSize);
    PaintGrid();
    EXPECT_NE(before, Block(16, 16, 32));
    EXPECT_EQ(before, Block(65 + 16, 16, 32));
    SetIconDraw(2);
    PaintGrid();
    EXPECT_EQ(3, KeptIconCount()); // the stored bitmaps, kept anew for their own mode
    SetIconDraw(3);
    PaintGrid();
    EXPECT_EQ(0, KeptIconCount()); // the shell's icons are not kept
}

// An icon laid over its ground once is laid anew when the ground changes: another plain
// colour, another gradient or its other way. Each paint must match the one made afresh, in
// both modes that keep icons.
TEST_F(PaintingTest, IconsAreLaidAnewOverAChangedGround) {
    GiveBits(FindEntry(0, Add(scratch_.File("a.exe"), FILE_ATTRIBUTE_ARCHIVE)), 1, true);
    GiveBits(FindEntry(0, Add(scratch_.File("b.exe"), FILE_ATTRIBUTE_ARCHIVE)), 2, false);
    SetGColorEnd(RGB(250, 240, 200));
    const struct {
        int ground;
        COLORREF colour; // the plain colour or the gradient's start
        int way;
    } looks[] = {{0, kGreen, 0},        {0, kWhite, 0},        {1, RGB(16, 32, 48), 0},
                 {1, RGB(90, 0, 0), 0}, {1, RGB(90, 0, 0), 1}, {0, kGreen, 0}};
    for (int mode = 1; mode <= 2; ++mode) {
        SetIconDraw(mode);
        for (const auto& look : looks) {
            SetBackGround(look.ground);
            SetColor(look.colour);
            SetGColorStart(look.colour);
            SetGradWay(look.way);
            PaintGrid();
            std::vector<COLORREF> blended = Block(16, 16, 32), masked = Block(65 + 16, 16, 32);
            ReleaseKeptIcons();
            PaintGrid();
            EXPECT_EQ(Block(16, 16, 32), blended) << mode << " " << look.ground << " " << look.way;
            EXPECT_EQ(Block(65 + 16, 16, 32), masked)
                << mode << " " << look.ground << " " << look.way;
        }
    }
}

// With the table of kept icons full, the icon drawn longest ago gives its slot to a new one;
// the new icon is not shown as the old one was laid over the same ground.
TEST_F(PaintingTest, AnIconInAReusedSlotIsLaidOverItsGroundAnew) {
    SetIconDraw(1);
    Entry* entry = FindEntry(0, Add(scratch_.File("a.exe"), FILE_ATTRIBUTE_ARCHIVE));
    GiveBits(entry, 1, true);
    PaintGrid();
    GiveBits(entry, 2, false);
    for (uint32_t i = 1; i <= 1024; ++i) { // one pixel apart each
        std::memcpy(entry->colourBits + 4 * 500, &i, 3);
        ASSERT_NE(nullptr, KeptBitsIcon(entry->colourBits, entry->maskBits));
    }
    ASSERT_EQ(1024, KeptIconCount());
    PaintGrid();
    std::vector<COLORREF> shown = Block(16, 16, 32);
    ReleaseKeptIcons();
    PaintGrid();
    EXPECT_EQ(Block(16, 16, 32), shown);
}

TEST(CaptionName, FilesLoseTheirExtensionFoldersKeepIt) {
    char out[kEntryNameSize];
    CaptionNameOf(out, "setup.old", FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_STREQ("setup.old", out);
    CaptionNameOf(out, "setup.old", FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_STREQ("setup", out);
    CaptionNameOf(out, "a.b.c", 0);
    EXPECT_STREQ("a.b", out);
    CaptionNameOf(out, "Makefile", 0);
    EXPECT_STREQ("Makefile", out);
}

} // namespace

namespace {

// Not a check: shows the real window with real icons for a screenshot, for as many seconds
// as QDX_DEMO_SECONDS says (run with --gtest_also_run_disabled_tests).
TEST_F(PaintingTest, DISABLED_ShowsAGridOfRealIconsForAScreenshot) {
    char windows[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    std::string system = std::string(windows) + "\\system32\\";
    std::string tool = scratch_.InstallRecorder("recorder.exe");
    std::string link = scratch_.File("notepad.lnk");
    CreateStartupShortcut(link.c_str(), (system + "notepad.exe").c_str(), "", "", "",
                          (system + "notepad.exe").c_str(), 0, SW_SHOWNORMAL);
    const std::string paths[] = {
        std::string(windows) + "\\notepad.exe",
        system + "cmd.exe",
        system + "winecfg.exe",
        std::string(windows) + "\\regedit.exe",
        system + "control.exe",
        windows,
        scratch_.Write("readme.txt", "text"),
        scratch_.Write("notes.TXT", "more"),
        scratch_.Write("page.html", "<p>"),
        tool,
        link,
        scratch_.File("a very long name that cannot fit.exe"),
    };
    for (const std::string& path : paths)
        Add(path, GetPathAttributes(path.c_str()));
    SetBackGround(1);
    SetGrid(0);
    SetGridColor(RGB(128, 128, 160));
    SetIconDraw(1);
    PutCursorOn(1, 1);
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    char seconds[16] = "0";
    GetEnvironmentVariableA("QDX_DEMO_SECONDS", seconds, sizeof seconds);
    DWORD until = GetTickCount() + 1000u * static_cast<DWORD>(atoi(seconds));
    do {
        PumpMessages();
        Sleep(50);
    } while (GetTickCount() < until);
}

} // namespace
