// Drawing objects kept from paint to paint. Made and deleted for every cell they cost more
// than the drawing itself (under Wine each one is a round trip to the server), so the grid's
// font, pens, brushes and entry icons are made once and kept until the main window goes.
#pragma once

#include <windows.h>

// The caption font: "ＭＳ　明朝", 12 pixels high.
HFONT CaptionFont();
// A pen or solid brush of these properties; a handful are kept, the oldest deleted first.
// The caller selects a pen only while it draws with it.
HPEN KeptPen(int style, int width, COLORREF colour);
HBRUSH KeptBrush(COLORREF colour);
// The icon of an entry's 32 x 32 colour and mask bits, null when none can be made. Icons are
// kept by the bits' content: equal bits share one icon, changed bits get a new one, and when
// the table is full the icon drawn longest ago is destroyed.
HICON KeptBitsIcon(const unsigned char* colourBits, const unsigned char* maskBits);
int KeptIconCount();
// Destroys the kept icons (the other icon modes draw without them).
void ReleaseKeptIcons();
// Deletes everything kept (at WM_DESTROY of the main window).
void ReleaseDrawingObjects();
