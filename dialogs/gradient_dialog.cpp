#include "dialogs/gradient_dialog.h"

#include "base/app_state.h"
#include "dialogs/colour_picker.h"
#include "dialogs/help_tips.h"
#include "res/colour_dialog_ids.h"
#include "view/offscreen_buffer.h"
#include "view/painting.h"

const char kGradientDialogName[] = "OPTION_DIALOG_GRAD";

namespace {

const int kSurfaceSize = 250;
const int kSwatchSize = 55;
const int kPreviewSize = 100;
const int kShownTop = 26;
// Where each picture lies in the surface and where the dialog shows it.
const int kStartSwatchX = 0, kStartShownX = 30;
const int kEndSwatchX = 100, kEndShownX = 110;
const int kPreviewY = 70, kPreviewShownX = 220;

GradientChoice g_exchange = {0, 0, 0};
// The pickers keep their custom colours for the run, whichever dialog opened this one.
ColourPicker g_startPicker;
ColourPicker g_endPicker;

struct GradientDialogState {
    OffscreenBuffer* surface;
    HWND tips;
};
GradientDialogState g_state = {nullptr, nullptr};

HDC SurfaceDc() {
    return g_state.surface->BufferDc();
}

void FillSwatch(int x, COLORREF colour) {
    FillColourRect(SurfaceDc(), x, 0, x + kSwatchSize, kSwatchSize, colour);
}

void DrawPreview(int way) {
    GradientFill(SurfaceDc(), 0, kPreviewY, kPreviewSize, kPreviewSize, g_startPicker.colour,
                 g_endPicker.colour, way);
}

int ChosenWay(HWND dialog) {
    return IsDlgButtonChecked(dialog, IDC_GRADIENT_ACROSS) == BST_CHECKED ? 0 : 1;
}

INT_PTR OnInitDialog(HWND dialog) {
    g_state.surface = CreatePreviewSurface(dialog, kSurfaceSize, kSurfaceSize);
    // A direction other than the two known ones is taken as left to right.
    int way = g_exchange.way == 1 ? 1 : 0;
    g_startPicker.colour = g_exchange.start;
    g_endPicker.colour = g_exchange.end;
    FillSwatch(kStartSwatchX, g_startPicker.colour);
    FillSwatch(kEndSwatchX, g_endPicker.colour);
    DrawPreview(way);
    CheckRadioButton(dialog, IDC_GRADIENT_ACROSS, IDC_GRADIENT_DOWN,
                     way == 0 ? IDC_GRADIENT_ACROSS : IDC_GRADIENT_DOWN);
    g_state.tips = AttachHelpTips(dialog, kGradientDialogName);
    return TRUE;
}

INT_PTR OnPickColour(HWND dialog, ColourPicker* picker, int swatchX) {
    if (PickColour(dialog, picker)) {
        FillSwatch(swatchX, picker->colour);
        InvalidateRect(dialog, nullptr, FALSE);
    }
    return TRUE;
}

INT_PTR OnOk(HWND dialog) {
    GradientChoice chosen = {g_startPicker.colour, g_endPicker.colour, ChosenWay(dialog)};
    g_exchange = chosen;
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_GRADIENT_START: return OnPickColour(dialog, &g_startPicker, kStartSwatchX);
    case IDC_GRADIENT_END: return OnPickColour(dialog, &g_endPicker, kEndSwatchX);
    case IDC_GRADIENT_PREVIEW:
        DrawPreview(ChosenWay(dialog));
        InvalidateRect(dialog, nullptr, FALSE);
        return TRUE;
    case IDC_GRADIENT_OK: return OnOk(dialog);
    }
    return FALSE;
}

INT_PTR OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    HDC surface = SurfaceDc();
    BitBlt(dc, kStartShownX, kShownTop, kSwatchSize, kSwatchSize, surface, kStartSwatchX, 0,
           SRCCOPY);
    BitBlt(dc, kEndShownX, kShownTop, kSwatchSize, kSwatchSize, surface, kEndSwatchX, 0, SRCCOPY);
    BitBlt(dc, kPreviewShownX, kShownTop, kPreviewSize, kPreviewSize, surface, 0, kPreviewY,
           SRCCOPY);
    EndPaint(dialog, &paint);
    return TRUE;
}

INT_PTR OnClose(HWND dialog) {
    DetachHelpTips(g_state.tips, dialog, kGradientDialogName);
    g_state.tips = nullptr;
    // The surface goes with the dialog, so that opening it again and again costs nothing.
    delete g_state.surface;
    g_state.surface = nullptr;
    EndDialog(dialog, 1);
    return TRUE;
}

} // namespace

GradientChoice GradientExchange() {
    return g_exchange;
}

void SetGradientExchange(const GradientChoice& gradient) {
    g_exchange = gradient;
}

HDC GradientSurface() {
    return PreviewSurfaceDc(g_state.surface);
}

INT_PTR CALLBACK GradientDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_PAINT: return OnPaint(dialog);
    case WM_CLOSE: return OnClose(dialog);
    }
    return FALSE;
}

void EditGradient(HWND owner, GradientChoice* gradient) {
    SetGradientExchange(*gradient);
    DialogBoxParamA(AppInstance(), kGradientDialogName, owner, GradientDialogProc, 0);
    *gradient = GradientExchange();
}
