#include "view/icon_picture.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* what;
    bool blended;
    uint32_t onBlack, onWhite;
    bool fits;
    uint32_t colour, mask; // the picture's two halves when it fits
};

// One pixel each, as the system's drawing onto black and onto white shows it.
const Row kRows[] = {
    {"masked, opaque", false, 0x123456, 0x123456, true, 0x123456, 0},
    {"masked, clear", false, 0x000000, 0xFFFFFF, true, 0, 0xFFFFFF},
    {"masked, XORed into the ground", false, 0x123456, 0xEDCBA9, true, 0x123456, 0xFFFFFF},
    {"masked, fourth bytes ignored", false, 0xFF123456, 0x00EDCBA9, true, 0x123456, 0xFFFFFF},
    {"masked, neither", false, 0x123456, 0x123457, false, 0, 0},
    {"blended, opaque", true, 0x123456, 0x123456, true, 0xFF123456, 0x123456},
    {"blended, clear", true, 0x000000, 0xFFFFFF, true, 0x00000000, 0xFFFFFF},
    {"blended, half", true, 0x402010, 0xBF9F8F, true, 0x80402010, 0xBF9F8F},
    {"blended, channels apart", true, 0x000000, 0xFFFF00, false, 0, 0},
    {"blended, darker on white", true, 0x101010, 0x000000, false, 0, 0},
};

TEST(IconPicture, EachPixelIsTakenApartOrRefused) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.what);
        uint32_t pixels[2] = {row.onBlack, row.onWhite};
        ASSERT_EQ(row.fits, TakeIconDrawingApart(pixels, 1, row.blended));
        if (!row.fits) continue;
        EXPECT_EQ(row.colour, pixels[0]);
        EXPECT_EQ(row.mask, pixels[1]);
    }
}

TEST(IconPicture, OnePixelThatFitsNeitherRefusesTheWholeIcon) {
    uint32_t pixels[4] = {0x123456, 0x654321, 0x123456, 0x654320};
    EXPECT_FALSE(TakeIconDrawingApart(pixels, 2, false));
}

} // namespace
