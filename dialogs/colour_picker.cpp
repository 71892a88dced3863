#include "dialogs/colour_picker.h"

#include "view/offscreen_buffer.h"
#include "view/painting.h"

#include <commdlg.h>

bool PickColour(HWND owner, ColourPicker* picker) {
    CHOOSECOLORA choice;
    ZeroMemory(&choice, sizeof choice);
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = picker->colour;
    choice.lpCustColors = picker->custom;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choice)) return false;
    picker->colour = choice.rgbResult;
    return true;
}

OffscreenBuffer* CreatePreviewSurface(HWND dialog, int width, int height) {
    OffscreenBuffer* surface = new OffscreenBuffer;
    HDC screen = GetDC(dialog);
    surface->CreateBufferDc(screen);
    surface->CreateBufferBitmap(screen, width, height);
    surface->SelectBufferBitmap();
    ReleaseDC(dialog, screen);
    return surface;
}

HDC PreviewSurfaceDc(const OffscreenBuffer* surface) {
    return surface ? surface->BufferDc() : nullptr;
}

void FillPreview(HDC dc, int width, int height, bool useGradient, const GradientChoice& gradient,
                 COLORREF plain) {
    if (useGradient) {
        GradientFill(dc, 0, 0, width, height, gradient.start, gradient.end, gradient.way);
    } else {
        FillColourRect(dc, 0, 0, width, height, plain);
    }
}
