#include "view/gradient.h"

#include <cstring>

namespace {

int Channel(uint32_t colour, int shift) {
    return static_cast<int>((colour >> shift) & 0xFF);
}

// Signed arithmetic truncating toward zero; only the low 8 bits make the channel.
uint32_t Blend(int start, int end, int i, int span) {
    if (span <= 1) return static_cast<uint32_t>(start) & 0xFF;
    long long value =
        (static_cast<long long>(span - i - 1) * start + static_cast<long long>(i) * end) /
        (span - 1);
    return static_cast<uint32_t>(value) & 0xFF;
}

} // namespace

uint32_t GradientColourAt(uint32_t startColour, uint32_t endColour, int i, int span) {
    uint32_t red = Blend(Channel(startColour, 0), Channel(endColour, 0), i, span);
    uint32_t green = Blend(Channel(startColour, 8), Channel(endColour, 8), i, span);
    uint32_t blue = Blend(Channel(startColour, 16), Channel(endColour, 16), i, span);
    return red | green << 8 | blue << 16;
}

uint32_t GradientPixelAt(uint32_t startColour, uint32_t endColour, int i, int span) {
    uint32_t c = GradientColourAt(startColour, endColour, i, span);
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

void FillGradientBlock(uint32_t* pixels, int stride, int width, int height, uint32_t startColour,
                       uint32_t endColour, int way, int span, int offset) {
    // A pixel per column or row: each is worked out once.
    for (int r = 0; r < height; ++r) {
        uint32_t* row = pixels + static_cast<long>(r) * stride;
        if (way != 0) {
            uint32_t pixel = GradientPixelAt(startColour, endColour, offset + r, span);
            for (int c = 0; c < width; ++c)
                row[c] = pixel;
        } else if (r == 0) {
            for (int c = 0; c < width; ++c)
                row[c] = GradientPixelAt(startColour, endColour, offset + c, span);
        } else {
            std::memcpy(row, pixels, static_cast<size_t>(width) * sizeof *row);
        }
    }
}
