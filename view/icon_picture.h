// What the system's icon drawing does to each pixel, read back from the icon drawn once onto
// black and once onto white. Two forms cover the icons the system draws:
// - masked: the mask is ANDed in, then the colour XORed (an icon without alpha);
// - blended: the colour, premultiplied, is laid over with its alpha (an icon with alpha).
#pragma once

#include <cstdint>

// pixels: count pixels as drawn onto black (0x000000), then count as drawn onto white
// (0xFFFFFF), 0x00RRGGBB each (the fourth byte is ignored). Turns them into the picture of the
// form in place: masked, the colours then the mask (0 where the colour replaces the ground,
// 0xFFFFFF where it is XORed into it); blended, the premultiplied colours with their alpha in
// the fourth byte (the second half is left as it is). False when a pixel fits neither.
bool TakeIconDrawingApart(uint32_t* pixels, int count, bool blended);
