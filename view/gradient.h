// The arithmetic of the two-colour gradients: the colour of each pixel column or row.
#pragma once

#include <cstdint>

// Colour (0x00BBGGRR) of step i of a gradient over span steps: each channel is
// ((span - i - 1) * start + i * end) / (span - 1), so step 0 is exactly the start colour and
// step span - 1 exactly the end colour. A span of 1 gives the start colour.
uint32_t GradientColourAt(uint32_t startColour, uint32_t endColour, int i, int span);
// The same step as a pixel of a 32-bit DIB (0x00RRGGBB), as the background's gradient line
// holds it.
uint32_t GradientPixelAt(uint32_t startColour, uint32_t endColour, int i, int span);
// Fills a block of width x height pixels of a 32-bit DIB (rows stride pixels apart) as the
// background's gradient lies under it: way 0 gives each column the pixel of step offset + its
// column, any other way each row the pixel of step offset + its row.
void FillGradientBlock(uint32_t* pixels, int stride, int width, int height, uint32_t startColour,
                       uint32_t endColour, int way, int span, int offset);
