#include "view/drawing_objects.h"

#include "storage/entry_icons.h"

#include <cstdint>
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

struct KeptIcon {
    uint64_t key;
    HICON icon;
    unsigned lastUse;
};

HFONT g_captionFont;
KeptObject g_pens[kKeptPens];
KeptObject g_brushes[kKeptBrushes];
int g_nextPen, g_nextBrush;
KeptIcon g_icons[kKeptIcons];
int g_iconCount;
unsigned g_iconClock;

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

// Two 32-bit FNV-1a lanes over the bits, four bytes at a time, with different primes: 32-bit
// arithmetic keeps it quick in the 32-bit program, where it runs for every cell of a paint.
uint64_t BitsKey(const unsigned char* colourBits, const unsigned char* maskBits) {
    uint32_t low = 2166136261u;
    uint32_t high = 0x9E3779B9u;
    auto mix = [&](const unsigned char* bits, int size) {
        for (int i = 0; i < size; i += 4) {
            uint32_t word;
            std::memcpy(&word, bits + i, sizeof word);
            low = (low ^ word) * 16777619u;
            high = (high ^ word) * 0x85EBCA6Bu + (high >> 15);
        }
    };
    mix(colourBits, kColourBitsSize);
    mix(maskBits, kMaskBitsSize);
    return static_cast<uint64_t>(high) << 32 | low;
}

// The slot for a new icon: a free one, else the one drawn longest ago (its icon destroyed).
KeptIcon& FreeIconSlot() {
    if (g_iconCount < kKeptIcons) return g_icons[g_iconCount++];
    KeptIcon* oldest = &g_icons[0];
    for (KeptIcon& kept : g_icons)
        if (g_iconClock - kept.lastUse > g_iconClock - oldest->lastUse) oldest = &kept;
    DestroyIcon(oldest->icon);
    return *oldest;
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

HICON KeptBitsIcon(const unsigned char* colourBits, const unsigned char* maskBits) {
    if (!colourBits || !maskBits) return nullptr;
    uint64_t key = BitsKey(colourBits, maskBits);
    ++g_iconClock;
    for (int i = 0; i < g_iconCount; ++i) {
        if (g_icons[i].key == key) {
            g_icons[i].lastUse = g_iconClock;
            return g_icons[i].icon;
        }
    }
    HICON icon = IconFromBits(colourBits, maskBits);
    if (!icon) return nullptr;
    KeptIcon& slot = FreeIconSlot();
    slot = {key, icon, g_iconClock};
    return icon;
}

int KeptIconCount() {
    return g_iconCount;
}

void ReleaseKeptIcons() {
    for (int i = 0; i < g_iconCount; ++i)
        DestroyIcon(g_icons[i].icon);
    g_iconCount = 0;
}

void ReleaseDrawingObjects() {
    if (g_captionFont) DeleteObject(g_captionFont);
    g_captionFont = nullptr;
    DeleteKept(g_pens);
    DeleteKept(g_brushes);
    ReleaseKeptIcons();
}
