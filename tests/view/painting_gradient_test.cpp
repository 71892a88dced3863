#include "view/gradient.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const uint32_t kDefaultStart = 0x00302010; // red 16, green 32, blue 48
const uint32_t kWhite = 0x00FFFFFF;

int Red(uint32_t c) {
    return c & 0xFF;
}
int Green(uint32_t c) {
    return (c >> 8) & 0xFF;
}
int Blue(uint32_t c) {
    return (c >> 16) & 0xFF;
}

TEST(Gradient, APixelHoldsTheStepsChannelsInDibOrder) {
    EXPECT_EQ(0x00102030u, GradientPixelAt(kDefaultStart, kWhite, 0, 390));
}

TEST(Gradient, DefaultBackgroundOverTheStandardGrid) {
    EXPECT_EQ(kDefaultStart, GradientColourAt(kDefaultStart, kWhite, 0, 390));
    EXPECT_EQ(kWhite, GradientColourAt(kDefaultStart, kWhite, 389, 390));
    uint32_t middle = GradientColourAt(kDefaultStart, kWhite, 194, 390);
    EXPECT_EQ(135, Red(middle)); // (195 * 16 + 194 * 255) / 389
    EXPECT_EQ((195 * 32 + 194 * 255) / 389, Green(middle));
    EXPECT_EQ((195 * 48 + 194 * 255) / 389, Blue(middle));
}

TEST(Gradient, ChannelsMoveIndependentlyAndEqualEndsAreUniform) {
    for (int i = 0; i < 66; ++i) {
        EXPECT_EQ(0x00123456u, GradientColourAt(0x123456, 0x123456, i, 66));
    }
    // Falling red, rising blue: each channel stays within its own byte.
    uint32_t c = GradientColourAt(0x000000FF, 0x00FF0000, 1, 3);
    EXPECT_EQ(127, Red(c));
    EXPECT_EQ(0, Green(c));
    EXPECT_EQ(127, Blue(c));
    // The fourth byte of a colour never leaks into the result.
    EXPECT_EQ(0x00FFFFFFu, GradientColourAt(0xFFFFFFFF, 0xFFFFFFFF, 5, 10));
}

TEST(Gradient, ASpanOfOneIsTheStartColour) {
    EXPECT_EQ(0x00010203u, GradientColourAt(0x010203, 0xFFFFFF, 0, 1));
}

// A block is the gradient's line at the block's offset, along its columns or its rows, and
// leaves the pixels beyond its width alone.
TEST(Gradient, ABlockLiesAlongTheLineAtItsOffset) {
    for (int way : {0, 1}) {
        uint32_t pixels[3 * 4];
        std::fill(pixels, pixels + 12, 0xAAAAAAAAu);
        FillGradientBlock(pixels, 4, 3, 3, kDefaultStart, kWhite, way, 50, 20);
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(GradientPixelAt(kDefaultStart, kWhite, 20 + (way == 0 ? c : r), 50),
                          pixels[r * 4 + c]);
            EXPECT_EQ(0xAAAAAAAAu, pixels[r * 4 + 3]);
        }
    }
}

} // namespace
