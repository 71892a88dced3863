// Captions drawn once over the ground under them and copied after: under Wine a caption's
// TextOutA costs several times the copy of its pixels, and a paint draws the same captions
// over the same grounds again and again.
#pragma once

#include "view/drawing_objects.h"

#include <windows.h>

// Draws text[0, length) with dc's font and text colour, transparently, with its top-left
// corner at textX, textY, by copying the strip of pixels strip covers from a strip kept for
// this text, place within the strip, strip size and ground. The copy is the same pixels as
// the drawing when nothing but the ground lies under the strip, which the caller sees to.
// False, with nothing drawn, when the caption cannot be drawn so: the ground is not a plain
// colour or gradient, the strip is too big, or the text's ink reaches outside the strip.
bool DrawCaptionStrip(HDC dc, const char* text, int length, int textX, int textY, const RECT& strip,
                      const IconGround& ground);
// Deletes the kept strips (with the other drawing objects).
void ReleaseCaptionStrips();
