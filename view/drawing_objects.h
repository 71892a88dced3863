// Drawing objects kept from paint to paint. Made and deleted for every cell they cost more
// than the drawing itself (under Wine each one is a round trip to the server), so the grid's
// font, pens, brushes and entry icons are made once and kept until the main window goes.
#pragma once

#include <windows.h>

#include <cstdint>

// The caption font: "ＭＳ　明朝", 12 pixels high.
HFONT CaptionFont();
// A pen or solid brush of these properties; a handful are kept, the oldest deleted first.
// The caller selects a pen only while it draws with it.
HPEN KeptPen(int style, int width, COLORREF colour);
HBRUSH KeptBrush(COLORREF colour);
// An entry's icon kept between paints.
struct KeptIcon;
// The kept icon of an entry's 32 x 32 colour and mask bits, null when none can be made. Icons
// are kept by the bits' content: equal bits share one icon, changed bits get a new one, and
// when the table is full the icon drawn longest ago is released. The pointer holds until the
// next call. Icon mode 1 keeps the icon the system makes of the bits, mode 2 the stored bitmaps
// themselves (the mask ANDed, then the colour ORed); a call in the other mode than the kept
// icons' releases them first.
KeptIcon* KeptBitsIcon(const unsigned char* colourBits, const unsigned char* maskBits,
                       int iconMode = 1);
// Draws the stored 5-5-5 mask (ANDed) and 32-bit colour (ORed) with their top-left corner at
// x, y.
void DrawStoredBitmaps(HDC dc, const unsigned char* colourBits, const unsigned char* maskBits,
                       int x, int y);
// What lies under an icon's square when it is drawn.
struct IconGround {
    int kind;        // 0: anything (drawn over as it is), 1: a plain colour, 2: a gradient
    COLORREF colour; // the plain colour (as FillRect fills it), or the gradient's start
    COLORREF end;    // the gradient's end
    int way;         // the gradient's way: 0 a colour per column, else a colour per row
    int span;        // the gradient's length in pixels
    int offset;      // the square's first column (way 0) or row along the gradient
};
// Draws it at x, y exactly as DrawIcon draws the icon made from its bits (or, in mode 2, as
// DrawStoredBitmaps draws them), in a fraction of the time.
void DrawKeptIcon(HDC dc, KeptIcon* icon, int x, int y, const IconGround& ground);
// A 32-bit top-down DIB section kept selected into a memory context of its own (in
// transparent background mode), so that copies from it select nothing.
struct PixelSheet {
    HDC dc; // null: not open
    HBITMAP bitmap;
    HGDIOBJ previous;
    uint32_t* bits;
};
// Makes the sheet unless it is open already; false when it cannot be made.
bool OpenPixelSheet(PixelSheet* sheet, int width, int height);
void ClosePixelSheet(PixelSheet* sheet);
// The kept tables are sets of kKeptWays slots: a key may lie in any slot of its set, and a new
// key takes the slot of its set used longest ago, so that a few keys of one set do not throw
// each other out at every paint. Slot has an unsigned lastUse (0 while unused); same tells
// whether a slot holds the key. Returns the slot's index; *found says whether it held the key.
const int kKeptWays = 4;
template <typename Slot, typename Same>
int KeptWayOf(Slot* slots, unsigned set, unsigned clock, Same same, bool* found) {
    int first = static_cast<int>(set) * kKeptWays;
    int oldest = first;
    for (int i = first; i < first + kKeptWays; ++i) {
        if (slots[i].lastUse != 0 && same(slots[i])) {
            slots[i].lastUse = clock;
            *found = true;
            return i;
        }
        if (clock - slots[i].lastUse > clock - slots[oldest].lastUse) oldest = i;
    }
    slots[oldest].lastUse = clock;
    *found = false;
    return oldest;
}
// Whether the bitmap selected into dc has 32 bits per pixel, as the kept pictures and squares
// have: only then is a copy of them the same pixels as drawing there.
bool HasPixelsOf32Bits(HDC dc);
int KeptIconCount();
// How many of them the system draws, because their drawing could not be taken apart.
int KeptIconsDrawnBySystem();
// Destroys the kept icons (the other icon modes draw without them).
void ReleaseKeptIcons();
// Deletes everything kept (at WM_DESTROY of the main window).
void ReleaseDrawingObjects();
