// The parts the colour dialogs share: the colour picker, of which each button keeps its own
// (its sixteen custom colours last for the whole run; they are not saved), and the preview
// surface the dialogs draw into and copy to the screen when they paint.
#pragma once

#include "dialogs/gradient_dialog.h"

#include <windows.h>

class OffscreenBuffer;

struct ColourPicker {
    COLORREF colour;
    COLORREF custom[16];
};

// Opens the system colour dialog, fully open, on the picker's colour. True on OK, when the
// picker's colour is the choice; on cancel the picker is left as it was.
bool PickColour(HWND owner, ColourPicker* picker);

// A surface of width x height made for the dialog's screen when the dialog opens; the dialog
// deletes it when it closes, so that opening it again and again costs nothing.
OffscreenBuffer* CreatePreviewSurface(HWND dialog, int width, int height);
// The surface's drawing context, or null while the dialog is not open.
HDC PreviewSurfaceDc(const OffscreenBuffer* surface);
// Fills (0, 0)-(width, height) with the gradient when useGradient is set, else with plain.
void FillPreview(HDC dc, int width, int height, bool useGradient, const GradientChoice& gradient,
                 COLORREF plain);
