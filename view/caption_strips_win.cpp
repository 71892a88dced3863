#include "view/caption_strips.h"

#include "view/gradient.h"

#include <cstdint>
#include <cstring>

namespace {

const int kStripWidth = 72; // wider than any cell
const int kStripHeight = 24;
// Enough for the captions of every tab's first screen; the pages of the strips' sheet are
// only taken as they are drawn on.
const int kStrips = 1024;
const int kStripTextSize = 256;
// Room around a strip where the ink of a caption that reaches outside it shows.
const int kInkMargin = 8;
const int kInkWidth = kStripWidth + 2 * kInkMargin;
const int kInkHeight = kStripHeight + 2 * kInkMargin;
const uint32_t kBlack = 0;
const uint32_t kWhite = 0xFFFFFF;

struct CaptionStrip {
    unsigned lastUse;
    uint64_t hash;
    HFONT font;
    COLORREF colour;
    IconGround ground;
    int textX, textY; // the text's place within the strip
    int width, height;
    int length;
    bool spills; // its ink reaches outside the strip: drawn by the caller
    char text[kStripTextSize];
};

CaptionStrip g_strips[kStrips];
unsigned g_stripClock;

PixelSheet g_strip; // kStripWidth wide, every strip below the one before
PixelSheet g_ink;   // kInkWidth wide: the caption over black, and below it over white

uint64_t StripHash(const CaptionStrip& s) {
    const uint32_t parts[] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(s.font)),
                              static_cast<uint32_t>(s.colour),
                              static_cast<uint32_t>(s.ground.kind),
                              static_cast<uint32_t>(s.ground.colour),
                              static_cast<uint32_t>(s.ground.end),
                              static_cast<uint32_t>(s.ground.way),
                              static_cast<uint32_t>(s.ground.span),
                              static_cast<uint32_t>(s.ground.offset),
                              static_cast<uint32_t>(s.textX),
                              static_cast<uint32_t>(s.textY),
                              static_cast<uint32_t>(s.width),
                              static_cast<uint32_t>(s.height)};
    uint32_t low = 2166136261u;
    uint32_t high = 0x9E3779B9u;
    for (uint32_t part : parts)
        low = (low ^ part) * 16777619u;
    for (int i = 0; i < s.length; ++i) {
        unsigned char c = static_cast<unsigned char>(s.text[i]);
        low = (low ^ c) * 16777619u;
        high = (high ^ c) * 0x85EBCA6Bu + (high >> 15);
    }
    return static_cast<uint64_t>(high) << 32 | low;
}

bool SameStrip(const CaptionStrip& a, const CaptionStrip& b) {
    return a.hash == b.hash && a.font == b.font && a.colour == b.colour &&
           a.ground.kind == b.ground.kind && a.ground.colour == b.ground.colour &&
           a.ground.end == b.ground.end && a.ground.way == b.ground.way &&
           a.ground.span == b.ground.span && a.ground.offset == b.ground.offset &&
           a.textX == b.textX && a.textY == b.textY && a.width == b.width && a.height == b.height &&
           a.length == b.length && std::memcmp(a.text, b.text, static_cast<size_t>(a.length)) == 0;
}

void DrawTextOf(HDC dc, const CaptionStrip& s, int x, int y) {
    HGDIOBJ previousFont = SelectObject(dc, s.font);
    SetTextColor(dc, s.colour);
    TextOutA(dc, x, y, s.text, s.length);
    SelectObject(dc, previousFont);
}

// Whether a pixel outside the strip differs from what lay there: the caption is drawn over
// black and over white, so that ink of any colour changes at least one of the two.
bool InkSpills(const CaptionStrip& s) {
    GdiFlush();
    const int n = kInkWidth * kInkHeight;
    for (int i = 0; i < n; ++i) {
        g_ink.bits[i] = kBlack;
        g_ink.bits[n + i] = kWhite;
    }
    DrawTextOf(g_ink.dc, s, kInkMargin + s.textX, kInkMargin + s.textY);
    DrawTextOf(g_ink.dc, s, kInkMargin + s.textX, kInkHeight + kInkMargin + s.textY);
    GdiFlush();
    for (int r = 0; r < 2 * kInkHeight; ++r) {
        int row = r % kInkHeight;
        uint32_t ground = r < kInkHeight ? kBlack : kWhite;
        bool rowInside = row >= kInkMargin && row < kInkMargin + s.height;
        for (int c = 0; c < kInkWidth; ++c) {
            bool inside = rowInside && c >= kInkMargin && c < kInkMargin + s.width;
            if (!inside && g_ink.bits[r * kInkWidth + c] != ground) return true;
        }
    }
    return false;
}

// Lays the caption over its ground in its strip.
void DrawStrip(const CaptionStrip& s, int top) {
    const IconGround& g = s.ground;
    if (g.kind == 1) {
        RECT area = {0, top, s.width, top + s.height};
        FillRect(g_strip.dc, &area, KeptBrush(g.colour));
    } else {
        GdiFlush();
        FillGradientBlock(g_strip.bits + top * kStripWidth, kStripWidth, s.width, s.height,
                          g.colour, g.end, g.way, g.span, g.offset);
    }
    DrawTextOf(g_strip.dc, s, s.textX, top + s.textY);
}

} // namespace

bool DrawCaptionStrip(HDC dc, const char* text, int length, int textX, int textY, const RECT& strip,
                      const IconGround& ground) {
    CaptionStrip wanted = {};
    wanted.width = strip.right - strip.left;
    wanted.height = strip.bottom - strip.top;
    if (ground.kind == 0 || length < 0 || length >= kStripTextSize || wanted.width <= 0 ||
        wanted.width > kStripWidth || wanted.height <= 0 || wanted.height > kStripHeight ||
        GetBkMode(dc) != TRANSPARENT)
        return false;
    if (!OpenPixelSheet(&g_strip, kStripWidth, kStrips * kStripHeight) ||
        !OpenPixelSheet(&g_ink, kInkWidth, 2 * kInkHeight))
        return false;
    wanted.font = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    wanted.colour = GetTextColor(dc);
    wanted.ground = ground;
    wanted.textX = textX - strip.left;
    wanted.textY = textY - strip.top;
    wanted.length = length;
    std::memcpy(wanted.text, text, static_cast<size_t>(length));
    wanted.hash = StripHash(wanted);
    bool found = false;
    int index = KeptWayOf(
        g_strips, static_cast<unsigned>(wanted.hash % (kStrips / kKeptWays)), ++g_stripClock,
        [&](const CaptionStrip& strip) { return SameStrip(strip, wanted); }, &found);
    CaptionStrip& kept = g_strips[index];
    int top = index * kStripHeight;
    if (!found) {
        wanted.spills = InkSpills(wanted);
        wanted.lastUse = g_stripClock;
        std::memcpy(&kept, &wanted, sizeof kept);
        if (!kept.spills) DrawStrip(kept, top);
    }
    if (kept.spills) return false;
    BitBlt(dc, strip.left, strip.top, kept.width, kept.height, g_strip.dc, 0, top, SRCCOPY);
    return true;
}

void ReleaseCaptionStrips() {
    ClosePixelSheet(&g_strip);
    ClosePixelSheet(&g_ink);
    std::memset(g_strips, 0, sizeof g_strips);
}
