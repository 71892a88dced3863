#include "view/drawing_objects.h"

#include "storage/entry_icons.h"
#include "view/caption_strips.h"
#include "view/gradient.h"
#include "view/icon_picture.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

const char kCaptionFace[] = "ＭＳ　明朝";
const int kCaptionHeight = 12;
const int kKeptPens = 4;
const int kKeptBrushes = 8;
// More than the cells of all 30 tabs' first screens, so switching round the tabs finds every
// icon again; at most 1024 icons of two bitmaps each stay far below a process's GDI quota.
const int kKeptIcons = 1024;

struct KeptObject {
    int style;
    int width;
    COLORREF colour;
    HGDIOBJ object;
};

} // namespace

// An entry's icon bits as the kept icons know them.
struct BitsKey {
    uint64_t even;
    uint64_t odd;
};

// An icon as the system draws it, taken apart once (see icon_picture.h) so that a paint can
// redo the drawing with plain blits: the system makes and frees a device context for every
// icon it draws, and converts a monochrome mask pixel by pixel. An icon whose drawing fits
// neither form is kept as an icon and drawn by the system.
struct KeptIcon {
    BitsKey key;
    HBITMAP picture; // 32 x 64, top-down: the colour above, the mask (masked form) below
    bool blended;
    bool stored;   // icon mode 2: drawn as the stored bitmaps, from bits
    HICON icon;    // only when the picture could not take the drawing apart
    unsigned made; // tells this icon from the earlier ones of its slot
    unsigned lastUse;
    unsigned char* bits; // a copy of the colour bits followed by the mask bits
};

namespace {

const uint32_t kRgb = 0xFFFFFF;

HFONT g_captionFont;
KeptObject g_pens[kKeptPens];
KeptObject g_brushes[kKeptBrushes];
int g_nextPen, g_nextBrush;
KeptIcon g_icons[kKeptIcons];
int g_iconCount;
const int kBitsSize = kColourBitsSize + kMaskBitsSize;

// The kept icon last found for bits at this place in memory. An entry's bits stay where they
// are from paint to paint, so a paint finds its icons by comparing the bits with the icon's
// copy, far quicker than working out their key; bits changed in place or freed and allocated
// again simply fail the comparison.
struct BitsPlace {
    const unsigned char* colourBits;
    const unsigned char* maskBits;
    KeptIcon* icon;
    unsigned made;
    unsigned lastUse;
};
const int kBitsPlaces = 2048;
BitsPlace g_bitsPlaces[kBitsPlaces];
unsigned g_iconClock;
int g_keptMode = 1; // the icon mode the kept icons were made for
HDC g_pictureDc;
unsigned g_iconsMade;

// An icon laid over the ground of one place, with its pixels as the grid would show them.
struct ComposedSquare {
    const KeptIcon* icon;
    unsigned made;
    IconGround ground;
    unsigned lastUse;
};
// Enough for every place and icon of the first screens of all tabs; at 4 KB each, one below
// the other in one sheet, so that a copy selects nothing. The sheet's pages are only taken
// as squares are laid on them.
const int kComposedSquares = 2048;
unsigned g_squareClock;
ComposedSquare g_composed[kComposedSquares];
PixelSheet g_composedSheet;

typedef BOOL(WINAPI* AlphaBlendFunction)(HDC, int, int, int, int, HDC, int, int, int, int,
                                         BLENDFUNCTION);
// Looked up, not linked: a system without it draws blended icons itself.
AlphaBlendFunction AlphaBlender() {
    static AlphaBlendFunction blend = [] {
        HMODULE module = LoadLibraryA("msimg32.dll");
        return module ? reinterpret_cast<AlphaBlendFunction>(
                            reinterpret_cast<void*>(GetProcAddress(module, "AlphaBlend")))
                      : nullptr;
    }();
    return blend;
}

template <int N, typename Make>
HGDIOBJ KeptObjectOf(KeptObject (&table)[N], int* next, int style, int width, COLORREF colour,
                     Make make) {
    for (KeptObject& kept : table)
        if (kept.object && kept.style == style && kept.width == width && kept.colour == colour)
            return kept.object;
    HGDIOBJ object = make();
    if (!object) return nullptr;
    KeptObject& slot = table[*next];
    *next = (*next + 1) % N;
    if (slot.object) DeleteObject(slot.object);
    slot = {style, width, colour, object};
    return object;
}

template <int N> void DeleteKept(KeptObject (&table)[N]) {
    for (KeptObject& kept : table) {
        if (kept.object) DeleteObject(kept.object);
        kept = KeptObject{};
    }
}

// Four 32-bit lanes, two of them over the even words and two over the odd ones, each pair
// with different multipliers, so that every word is mixed into two lanes and the four chains
// of multiplications run side by side. 32-bit arithmetic keeps it quick in the 32-bit
// program, where it runs for every cell of a paint.
BitsKey KeyOfBits(const unsigned char* colourBits, const unsigned char* maskBits) {
    uint32_t lane[4] = {2166136261u, 0x9E3779B9u, 0x811C9DC5u, 0x7F4A7C15u};
    auto mix = [&lane](const unsigned char* bits, int size) {
        for (int i = 0; i < size; i += 8) {
            uint32_t even, odd;
            std::memcpy(&even, bits + i, sizeof even);
            std::memcpy(&odd, bits + i + 4, sizeof odd);
            lane[0] = (lane[0] ^ even) * 16777619u;
            lane[1] = (lane[1] ^ even) * 0x85EBCA6Bu + (lane[1] >> 15);
            lane[2] = (lane[2] ^ odd) * 16777619u;
            lane[3] = (lane[3] ^ odd) * 0x85EBCA6Bu + (lane[3] >> 15);
        }
    };
    mix(colourBits, kColourBitsSize);
    mix(maskBits, kMaskBitsSize);
    return BitsKey{static_cast<uint64_t>(lane[1]) << 32 | lane[0],
                   static_cast<uint64_t>(lane[3]) << 32 | lane[2]};
}

unsigned SetOfBits(const unsigned char* colourBits, const unsigned char* maskBits) {
    uint32_t h = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(colourBits)) * 0x9E3779B1u ^
                 static_cast<uint32_t>(reinterpret_cast<uintptr_t>(maskBits)) * 0x85EBCA6Bu;
    return (h ^ h >> 16) % (kBitsPlaces / kKeptWays);
}

bool HoldsBits(const KeptIcon* kept, const unsigned char* colourBits,
               const unsigned char* maskBits) {
    return kept->bits && std::memcmp(kept->bits, colourBits, kColourBitsSize) == 0 &&
           std::memcmp(kept->bits + kColourBitsSize, maskBits, kMaskBitsSize) == 0;
}

void ReleaseKeptIcon(KeptIcon& kept) {
    std::free(kept.bits);
    if (kept.picture) DeleteObject(kept.picture);
    if (kept.icon) DestroyIcon(kept.icon);
    kept = KeptIcon{};
}

// The slot for a new icon: a free one, else the one drawn longest ago (released first).
KeptIcon& FreeIconSlot() {
    if (g_iconCount < kKeptIcons) return g_icons[g_iconCount++];
    KeptIcon* oldest = &g_icons[0];
    for (KeptIcon& kept : g_icons)
        if (g_iconClock - kept.lastUse > g_iconClock - oldest->lastUse) oldest = &kept;
    ReleaseKeptIcon(*oldest);
    return *oldest;
}

bool HasAlpha(const unsigned char* colourBits) {
    for (int i = 3; i < kColourBitsSize; i += 4)
        if (colourBits[i]) return true;
    return false;
}

// A top-down 32-bit section (the system selects a section into a device context far quicker
// than a bitmap of the screen's own kind).
HBITMAP Section(int width, int rows, uint32_t** bits) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -rows, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* memory = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    *bits = static_cast<uint32_t*>(memory);
    return section;
}

// The icon drawn by the system onto black (above) and onto white (below).
bool DrawOnBlackAndWhite(HICON icon, HBITMAP section, uint32_t* bits) {
    const int n = kIconSide * kIconSide;
    for (int i = 0; i < n; ++i) {
        bits[i] = 0;
        bits[n + i] = kRgb;
    }
    HGDIOBJ previous = SelectObject(g_pictureDc, section);
    bool drawn = DrawIcon(g_pictureDc, 0, 0, icon) && DrawIcon(g_pictureDc, 0, kIconSide, icon);
    SelectObject(g_pictureDc, previous);
    GdiFlush();
    return drawn;
}

// Fills a slot for the icon of these bits.
bool MakeKeptIcon(KeptIcon* kept, const unsigned char* colourBits, const unsigned char* maskBits) {
    if (g_keptMode == 2) {
        kept->stored = true; // the copy of the bits is all it needs
        return true;
    }
    HICON icon = IconFromBits(colourBits, maskBits);
    if (!icon) return false;
    if (!g_pictureDc) g_pictureDc = CreateCompatibleDC(nullptr);
    kept->blended = HasAlpha(colourBits);
    uint32_t* bits = nullptr;
    HBITMAP picture = nullptr;
    // The picture reproduces the system's drawing of a 32 x 32 icon; at another icon size
    // the system stretches it.
    bool fits = g_pictureDc && GetSystemMetrics(SM_CXICON) == kIconSide &&
                GetSystemMetrics(SM_CYICON) == kIconSide && (!kept->blended || AlphaBlender());
    if (fits) picture = Section(kIconSide, 2 * kIconSide, &bits);
    if (picture && DrawOnBlackAndWhite(icon, picture, bits) &&
        TakeIconDrawingApart(bits, kIconSide * kIconSide, kept->blended)) {
        kept->picture = picture;
        DestroyIcon(icon);
    } else {
        if (picture) DeleteObject(picture);
        kept->icon = icon;
    }
    return true;
}

// The kept icon of these bits by their key, made when there is none yet.
KeptIcon* FindKeptIcon(const unsigned char* colourBits, const unsigned char* maskBits) {
    BitsKey key = KeyOfBits(colourBits, maskBits);
    for (int i = 0; i < g_iconCount; ++i) {
        if (g_icons[i].key.even == key.even && g_icons[i].key.odd == key.odd) {
            g_icons[i].lastUse = g_iconClock;
            return &g_icons[i];
        }
    }
    unsigned char* bits = static_cast<unsigned char*>(std::malloc(kBitsSize));
    if (!bits) return nullptr;
    std::memcpy(bits, colourBits, kColourBitsSize);
    std::memcpy(bits + kColourBitsSize, maskBits, kMaskBitsSize);
    KeptIcon made = {key, nullptr, false, false, nullptr, ++g_iconsMade, g_iconClock, bits};
    if (!MakeKeptIcon(&made, colourBits, maskBits)) {
        std::free(bits);
        return nullptr;
    }
    KeptIcon& slot = FreeIconSlot();
    slot = made;
    return &slot;
}

} // namespace

HFONT CaptionFont() {
    if (!g_captionFont) {
        g_captionFont =
            CreateFontA(kCaptionHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                        0, 0, PROOF_QUALITY, FIXED_PITCH | FF_MODERN, kCaptionFace);
    }
    return g_captionFont;
}

HPEN KeptPen(int style, int width, COLORREF colour) {
    return static_cast<HPEN>(KeptObjectOf(g_pens, &g_nextPen, style, width, colour,
                                          [=] { return CreatePen(style, width, colour); }));
}

HBRUSH KeptBrush(COLORREF colour) {
    return static_cast<HBRUSH>(KeptObjectOf(g_brushes, &g_nextBrush, 0, 0, colour,
                                            [=] { return CreateSolidBrush(colour); }));
}

KeptIcon* KeptBitsIcon(const unsigned char* colourBits, const unsigned char* maskBits,
                       int iconMode) {
    if (!colourBits || !maskBits) return nullptr;
    if (iconMode != g_keptMode) {
        ReleaseKeptIcons();
        g_keptMode = iconMode;
    }
    ++g_iconClock;
    bool found = false;
    BitsPlace& place = g_bitsPlaces[KeptWayOf(
        g_bitsPlaces, SetOfBits(colourBits, maskBits), g_iconClock,
        [=](const BitsPlace& p) { return p.colourBits == colourBits && p.maskBits == maskBits; },
        &found)];
    if (found && place.icon->made == place.made && HoldsBits(place.icon, colourBits, maskBits)) {
        place.icon->lastUse = g_iconClock;
        return place.icon;
    }
    KeptIcon* kept = FindKeptIcon(colourBits, maskBits);
    place = kept ? BitsPlace{colourBits, maskBits, kept, kept->made, g_iconClock} : BitsPlace{};
    return kept;
}

namespace {

void BlitPicture(HDC dc, const KeptIcon* kept, int x, int y) {
    if (kept->stored) {
        DrawStoredBitmaps(dc, kept->bits, kept->bits + kColourBitsSize, x, y);
        return;
    }
    HGDIOBJ previous = SelectObject(g_pictureDc, kept->picture);
    if (kept->blended) {
        BLENDFUNCTION over = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlender()(dc, x, y, kIconSide, kIconSide, g_pictureDc, 0, 0, kIconSide, kIconSide,
                       over);
    } else {
        BitBlt(dc, x, y, kIconSide, kIconSide, g_pictureDc, 0, kIconSide, SRCAND);
        BitBlt(dc, x, y, kIconSide, kIconSide, g_pictureDc, 0, 0, SRCINVERT);
    }
    SelectObject(g_pictureDc, previous);
}

bool SameGround(const IconGround& a, const IconGround& b) {
    return a.kind == b.kind && a.colour == b.colour && a.end == b.end && a.way == b.way &&
           a.span == b.span && a.offset == b.offset;
}

unsigned SetOfSquare(const KeptIcon* kept, const IconGround& ground) {
    const uint32_t parts[] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(kept) >> 4),
                              kept->made,
                              static_cast<uint32_t>(ground.kind),
                              static_cast<uint32_t>(ground.colour),
                              static_cast<uint32_t>(ground.end),
                              static_cast<uint32_t>(ground.way),
                              static_cast<uint32_t>(ground.span),
                              static_cast<uint32_t>(ground.offset)};
    uint32_t h = 2166136261u;
    for (uint32_t part : parts)
        h = (h ^ part) * 16777619u;
    return (h ^ h >> 15) % (kComposedSquares / kKeptWays);
}

// Fills the square at this row of the sheet as the grid's background lies under it: a plain
// colour as FillRect fills it, a gradient with the colours of its line at the square's place
// (the grid's gradient is that line stretched across the other direction).
void FillGround(const IconGround& g, int top) {
    if (g.kind == 1) {
        RECT all = {0, top, kIconSide, top + kIconSide};
        FillRect(g_composedSheet.dc, &all, KeptBrush(g.colour));
        return;
    }
    GdiFlush();
    FillGradientBlock(g_composedSheet.bits + top * kIconSide, kIconSide, kIconSide, kIconSide,
                      g.colour, g.end, g.way, g.span, g.offset);
}

// The sheet's row of the icon laid over its ground, made when this icon and ground are not in
// the table yet; -1 when it cannot be made.
int ComposedOn(HDC dc, const KeptIcon* kept, const IconGround& ground) {
    bool found = false;
    int index = KeptWayOf(
        g_composed, SetOfSquare(kept, ground), ++g_squareClock,
        [=](const ComposedSquare& square) {
            return square.icon == kept && square.made == kept->made &&
                   SameGround(square.ground, ground);
        },
        &found);
    int top = index * kIconSide;
    if (found) return top;
    ComposedSquare& square = g_composed[index];
    square = ComposedSquare{};
    if (!HasPixelsOf32Bits(dc) ||
        !OpenPixelSheet(&g_composedSheet, kIconSide, kComposedSquares * kIconSide))
        return -1;
    square = ComposedSquare{kept, kept->made, ground, g_squareClock};
    FillGround(ground, top);
    BlitPicture(g_composedSheet.dc, kept, 0, top);
    return top;
}

void ReleaseComposedSquares() {
    if (!g_composedSheet.dc) return;
    ClosePixelSheet(&g_composedSheet);
    for (ComposedSquare& square : g_composed)
        square = ComposedSquare{};
}

} // namespace

void DrawStoredBitmaps(HDC dc, const unsigned char* colourBits, const unsigned char* maskBits,
                       int x, int y) {
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kIconSide, kIconSide, 1, 16, BI_RGB, 0, 0, 0, 0, 0};
    StretchDIBits(dc, x, y, kIconSide, kIconSide, 0, 0, kIconSide, kIconSide, maskBits, &info,
                  DIB_RGB_COLORS, SRCAND);
    info.bmiHeader.biBitCount = 32;
    StretchDIBits(dc, x, y, kIconSide, kIconSide, 0, 0, kIconSide, kIconSide, colourBits, &info,
                  DIB_RGB_COLORS, SRCPAINT);
}

bool OpenPixelSheet(PixelSheet* sheet, int width, int height) {
    if (sheet->dc) return true;
    uint32_t* bits = nullptr;
    HBITMAP bitmap = Section(width, height, &bits);
    HDC dc = bitmap ? CreateCompatibleDC(nullptr) : nullptr;
    if (!dc) {
        if (bitmap) DeleteObject(bitmap);
        return false;
    }
    SetBkMode(dc, TRANSPARENT);
    *sheet = PixelSheet{dc, bitmap, SelectObject(dc, bitmap), bits};
    return true;
}

void ClosePixelSheet(PixelSheet* sheet) {
    if (!sheet->dc) return;
    SelectObject(sheet->dc, sheet->previous);
    DeleteObject(sheet->bitmap);
    DeleteDC(sheet->dc);
    *sheet = PixelSheet{};
}

bool HasPixelsOf32Bits(HDC dc) {
    BITMAP target = {};
    return GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof target, &target) &&
           target.bmBitsPixel == 32;
}

void DrawKeptIcon(HDC dc, KeptIcon* kept, int x, int y, const IconGround& ground) {
    if (kept->icon) {
        DrawIcon(dc, x, y, kept->icon);
        return;
    }
    // Over a ground that is the same at every paint the icon looks the same too: it is laid
    // over that ground once and copied after.
    int top = ground.kind != 0 ? ComposedOn(dc, kept, ground) : -1;
    if (top >= 0) {
        BitBlt(dc, x, y, kIconSide, kIconSide, g_composedSheet.dc, 0, top, SRCCOPY);
        return;
    }
    BlitPicture(dc, kept, x, y);
}

int KeptIconCount() {
    return g_iconCount;
}

int KeptIconsDrawnBySystem() {
    int n = 0;
    for (int i = 0; i < g_iconCount; ++i)
        n += g_icons[i].icon != nullptr;
    return n;
}

void ReleaseKeptIcons() {
    for (int i = 0; i < g_iconCount; ++i)
        ReleaseKeptIcon(g_icons[i]);
    g_iconCount = 0;
    ReleaseComposedSquares();
}

void ReleaseDrawingObjects() {
    if (g_captionFont) DeleteObject(g_captionFont);
    g_captionFont = nullptr;
    DeleteKept(g_pens);
    DeleteKept(g_brushes);
    ReleaseKeptIcons();
    ReleaseCaptionStrips();
    if (g_pictureDc) DeleteDC(g_pictureDc);
    g_pictureDc = nullptr;
}
