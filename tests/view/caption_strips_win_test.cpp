#include "view/caption_strips.h"

#include "view/drawing_objects.h"
#include "view/gradient.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

const int kWidth = 120;
const int kHeight = 60;

// A 32-bit sheet with the caption font, as the back buffer is drawn on.
struct Sheet : PixelSheet {
    Sheet() : PixelSheet{} {
        OpenPixelSheet(this, kWidth, kHeight);
        SelectObject(dc, CaptionFont());
    }
    ~Sheet() { ClosePixelSheet(this); }
    // The ground over the whole sheet, placed as it lies under the strip.
    void Lay(const IconGround& g, const RECT& strip) {
        if (g.kind == 2) {
            GdiFlush();
            int offset = g.offset - (g.way == 0 ? strip.left : strip.top);
            FillGradientBlock(bits, kWidth, kWidth, kHeight, g.colour, g.end, g.way, g.span,
                              offset);
        } else {
            RECT all = {0, 0, kWidth, kHeight};
            FillRect(dc, &all, KeptBrush(g.colour));
        }
    }
    bool SameAs(const Sheet& other) const {
        GdiFlush();
        return std::memcmp(bits, other.bits, kWidth * kHeight * 4) == 0;
    }
};

// A caption copied from its strip is the very pixels TextOutA draws there, over a plain colour
// and over gradients of either way, again when the strip is kept; a caption whose ink leaves
// the strip, or a ground that is neither, is refused with nothing drawn.
TEST(CaptionStrips, ACopyIsTheDrawingItselfOrNothing) {
    const IconGround green = {1, RGB(0, 128, 0), 0, 0, 0, 0};
    const IconGround across = {2, RGB(16, 32, 48), RGB(250, 240, 200), 0, 200, 30};
    const IconGround down = {2, RGB(250, 240, 200), RGB(0, 0, 90), 1, 150, 70};
    const RECT strip = {5, 20, 70, 36};
    const struct {
        const char* text;
        COLORREF colour;
        IconGround ground;
        RECT strip;
        bool copied;
    } cases[] = {
        {"notepad", RGB(0, 0, 0), green, strip, true},
        {"notepad", RGB(255, 255, 0), green, strip, true}, // the text's colour is kept apart
        {"日本語の名", RGB(0, 0, 0), across, strip, true},
        {"日本語の名", RGB(0, 0, 0), down, strip, true},
        {"notepad", RGB(0, 0, 0), green, {5, 28, 70, 36}, false},  // ink above the strip
        {"notepad", RGB(0, 0, 0), green, {15, 20, 40, 36}, false}, // and to its sides
        {"notepad", RGB(0, 0, 0), IconGround{}, strip, false},
    };
    Sheet copy, drawn;
    for (const auto& c : cases) {
        int length = static_cast<int>(std::strlen(c.text));
        SetTextColor(copy.dc, c.colour);
        SetTextColor(drawn.dc, c.colour);
        for (int time = 0; time < 2; ++time) {
            copy.Lay(c.ground, c.strip);
            drawn.Lay(c.ground, c.strip);
            EXPECT_EQ(c.copied,
                      DrawCaptionStrip(copy.dc, c.text, length, 10, 22, c.strip, c.ground))
                << c.text;
            if (c.copied) TextOutA(drawn.dc, 10, 22, c.text, length);
            EXPECT_TRUE(copy.SameAs(drawn)) << c.text << " time " << time;
        }
    }
    ReleaseCaptionStrips();
}

} // namespace
