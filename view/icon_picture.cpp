#include "view/icon_picture.h"

namespace {

const uint32_t kRgb = 0xFFFFFF;

// On black a masked pixel shows its colour; on white the same colour (opaque) or its
// inverse (XORed into the ground).
bool TakeMaskedApart(uint32_t* black, uint32_t* white) {
    uint32_t onBlack = *black & kRgb;
    uint32_t onWhite = *white & kRgb;
    if (onWhite != onBlack && onWhite != (onBlack ^ kRgb)) return false;
    *black = onBlack;
    *white = onWhite == onBlack ? 0 : kRgb;
    return true;
}

// On black a blended pixel shows its premultiplied colour; on white that colour plus
// 255 - alpha on every channel, no channel above its alpha.
bool TakeBlendedApart(uint32_t* black, uint32_t white) {
    int alpha = 255 - static_cast<int>((white & 0xFF) - (*black & 0xFF));
    if (alpha > 255) return false;
    for (int shift = 0; shift < 24; shift += 8) {
        int onBlack = static_cast<int>((*black >> shift) & 0xFF);
        int onWhite = static_cast<int>((white >> shift) & 0xFF);
        if (255 - (onWhite - onBlack) != alpha || onBlack > alpha) return false;
    }
    *black = (*black & kRgb) | static_cast<uint32_t>(alpha) << 24;
    return true;
}

} // namespace

bool TakeIconDrawingApart(uint32_t* pixels, int count, bool blended) {
    for (int i = 0; i < count; ++i) {
        bool fits = blended ? TakeBlendedApart(&pixels[i], pixels[count + i])
                            : TakeMaskedApart(&pixels[i], &pixels[count + i]);
        if (!fits) return false;
    }
    return true;
}
