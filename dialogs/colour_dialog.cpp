#include "dialogs/colour_dialog.h"

#include "base/app_state.h"
#include "dialogs/colour_picker.h"
#include "dialogs/gradient_dialog.h"
#include "dialogs/help_tips.h"
#include "res/colour_dialog_ids.h"
#include "storage/settings.h"
#include "view/offscreen_buffer.h"
#include "view/painting.h"

const char kColourDialogName[] = "OPTION_DIALOG_COLOR";

namespace {

const UINT WMAPP_REDRAW_PREVIEW = WM_APP + 2;

const int kWindows2000Class = 8;
const int kSurfaceSize = 300;
const int kPreviewWidth = 180;
const int kPreviewHeight = 155;
const int kPreviewX = 200;
const int kPreviewY = 17;
const int kDesktopCopySize = 200;
const int kGridSpacing = 40;

const int kBackgroundRadios[] = {IDC_COLOUR_USE_PLAIN, IDC_COLOUR_USE_GRADIENT,
                                 IDC_COLOUR_USE_DESKTOP};

// The plain colour's picker keeps its custom colours for the run.
ColourPicker g_plainPicker;

// The one open dialog's working values (it is modal).
struct ColourDialogState {
    OffscreenBuffer* surface;
    GradientChoice gradient;
    HWND tips;
};
ColourDialogState g_state = {nullptr, {0, 0, 0}, nullptr};

bool HasDesktopBackground() {
    return GetOsVersionCode() >= kWindows2000Class;
}

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

int CheckedBackground(HWND dialog) {
    for (int kind = 0; kind < 3; ++kind) {
        if (IsChecked(dialog, kBackgroundRadios[kind])) return kind;
    }
    return 0;
}

void CopyDesktopCorner(HDC dc) {
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    BitBlt(dc, 0, 0, kDesktopCopySize, kDesktopCopySize, screen, 0, 0, SRCCOPY);
    ReleaseDC(desktop, screen);
}

// Black one-pixel lines 40 pixels apart, whatever the grid colour is.
void DrawPreviewGrid(HDC dc) {
    for (int x = kGridSpacing; x < kPreviewWidth; x += kGridSpacing)
        FillColourRect(dc, x, 0, x + 1, kPreviewHeight, RGB(0, 0, 0));
    for (int y = kGridSpacing; y < kPreviewHeight; y += kGridSpacing)
        FillColourRect(dc, 0, y, kPreviewWidth, y + 1, RGB(0, 0, 0));
}

void RedrawPreview(HWND dialog) {
    if (!g_state.surface) return;
    HDC dc = g_state.surface->BufferDc();
    bool gradient = IsChecked(dialog, IDC_COLOUR_USE_GRADIENT);
    if (!gradient && IsChecked(dialog, IDC_COLOUR_USE_DESKTOP) && HasDesktopBackground()) {
        CopyDesktopCorner(dc);
    } else {
        FillPreview(dc, kPreviewWidth, kPreviewHeight, gradient, g_state.gradient,
                    g_plainPicker.colour);
    }
    if (!IsChecked(dialog, IDC_COLOUR_NO_GRID)) DrawPreviewGrid(dc);
    InvalidateRect(dialog, nullptr, FALSE);
}

int InitialRadio() {
    int background = GetBackGround();
    if (background == 1) return IDC_COLOUR_USE_GRADIENT;
    if (background == 2 && HasDesktopBackground()) return IDC_COLOUR_USE_DESKTOP;
    return IDC_COLOUR_USE_PLAIN;
}

INT_PTR OnInitDialog(HWND dialog) {
    g_state.surface = CreatePreviewSurface(dialog, kSurfaceSize, kSurfaceSize);
    CheckDlgButton(dialog, IDC_COLOUR_NO_GRID, GetGrid() != 0 ? BST_CHECKED : BST_UNCHECKED);
    g_plainPicker.colour = GetColor();
    GradientChoice stored = {GetGColorStart(), GetGColorEnd(), GetGradWay()};
    g_state.gradient = stored;
    if (!HasDesktopBackground()) {
        EnableWindow(GetDlgItem(dialog, IDC_COLOUR_DESKTOP_GROUP), FALSE);
        EnableWindow(GetDlgItem(dialog, IDC_COLOUR_USE_DESKTOP), FALSE);
    }
    CheckRadioButton(dialog, IDC_COLOUR_USE_PLAIN, IDC_COLOUR_USE_DESKTOP, InitialRadio());
    g_state.tips = AttachHelpTips(dialog, kColourDialogName);
    PostMessageA(dialog, WMAPP_REDRAW_PREVIEW, 0, 0);
    return TRUE;
}

INT_PTR OnSave(HWND dialog) {
    SetBackGround(CheckedBackground(dialog));
    SetColor(g_plainPicker.colour);
    SetGColorStart(g_state.gradient.start);
    SetGColorEnd(g_state.gradient.end);
    SetGradWay(g_state.gradient.way);
    SetGrid(IsChecked(dialog, IDC_COLOUR_NO_GRID) ? 1 : 0);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_COLOUR_PLAIN_PICK:
        // The picker starts from the colour being worked on; cancelling it changes nothing.
        if (PickColour(dialog, &g_plainPicker)) RedrawPreview(dialog);
        return TRUE;
    case IDC_COLOUR_GRADIENT_PICK:
        EditGradient(dialog, &g_state.gradient);
        RedrawPreview(dialog);
        return TRUE;
    case IDC_COLOUR_USE_PLAIN:
    case IDC_COLOUR_USE_GRADIENT:
    case IDC_COLOUR_USE_DESKTOP:
    case IDC_COLOUR_NO_GRID: RedrawPreview(dialog); return TRUE;
    case IDC_COLOUR_OK: return OnSave(dialog);
    case IDC_COLOUR_CANCEL: PostMessageA(dialog, WM_CLOSE, 0, 0); return TRUE;
    }
    return FALSE;
}

INT_PTR OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    BitBlt(dc, kPreviewX, kPreviewY, kPreviewWidth, kPreviewHeight, g_state.surface->BufferDc(), 0,
           0, SRCCOPY);
    EndPaint(dialog, &paint);
    return TRUE;
}

INT_PTR OnClose(HWND dialog) {
    DetachHelpTips(g_state.tips, dialog, kColourDialogName);
    g_state.tips = nullptr;
    // The surface goes with the dialog, so that opening it again and again costs nothing.
    delete g_state.surface;
    g_state.surface = nullptr;
    EndDialog(dialog, 1);
    return TRUE;
}

} // namespace

HDC ColourPreviewSurface() {
    return PreviewSurfaceDc(g_state.surface);
}

INT_PTR CALLBACK ColorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WMAPP_REDRAW_PREVIEW: RedrawPreview(dialog); return TRUE;
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_PAINT: return OnPaint(dialog);
    case WM_CLOSE: return OnClose(dialog);
    }
    return FALSE;
}

void ShowColourDialog(HWND owner) {
    DialogBoxParamA(AppInstance(), kColourDialogName, owner, ColorDialogProc, 0);
}
