#include "dialogs/other_colour_dialog.h"

#include "base/app_state.h"
#include "dialogs/colour_picker.h"
#include "dialogs/gradient_dialog.h"
#include "res/colour_dialog_ids.h"
#include "storage/settings.h"
#include "view/offscreen_buffer.h"

const char kOtherColourDialogName[] = "OPTION_DIALOG_OTHERCOLOR";

namespace {

const UINT WMAPP_REDRAW_PREVIEW = WM_APP + 3;

const int kPreviewSize = 50;
const int kPreviewY = 3;

// The line radios in `GridType` order (the pen styles of the same numbers), then the cursor
// radios in `CursorGround` order.
const int kLineRadios[] = {IDC_OTHER_LINE_SOLID, IDC_OTHER_LINE_DASH, IDC_OTHER_LINE_DOT,
                           IDC_OTHER_LINE_DASH_DOT, IDC_OTHER_LINE_DASH_DOT_DOT};
const int kCursorRadios[] = {IDC_OTHER_CURSOR_PLAIN, IDC_OTHER_CURSOR_GRADIENT};
const int kLineKinds = sizeof kLineRadios / sizeof kLineRadios[0];
const int kCursorKinds = sizeof kCursorRadios / sizeof kCursorRadios[0];

// The two pickers keep their custom colours for the run.
ColourPicker g_gridPicker;
ColourPicker g_cursorPicker;

// The one open dialog's working values (it is modal). A stored line style or cursor kind
// that no radio shows stays as it is until a radio is chosen.
struct OtherColourState {
    OffscreenBuffer* surface;
    GradientChoice cursorGradient;
    int lineType;
    int cursorKind;
};
OtherColourState g_state = {nullptr, {0, 0, 0}, 0, 0};

// Ticks the radio of `value` in `radios` and clears the others (they are not automatic).
void TickRadio(HWND dialog, const int* radios, int count, int value) {
    for (int i = 0; i < count; ++i)
        CheckDlgButton(dialog, radios[i], i == value ? BST_CHECKED : BST_UNCHECKED);
}

int PenStyleOf(int lineType) {
    return lineType >= 0 && lineType < kLineKinds ? lineType : PS_SOLID;
}

void RedrawPreview(HWND dialog) {
    if (!g_state.surface) return;
    HDC dc = g_state.surface->BufferDc();
    FillPreview(dc, kPreviewSize, kPreviewSize, g_state.cursorKind == 1, g_state.cursorGradient,
                g_cursorPicker.colour);
    HPEN pen = CreatePen(PenStyleOf(g_state.lineType), 0, g_gridPicker.colour);
    HGDIOBJ previous = SelectObject(dc, pen);
    const int last = kPreviewSize - 1;
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, last, 0);
    LineTo(dc, last, last);
    LineTo(dc, 0, last);
    LineTo(dc, 0, 0);
    SelectObject(dc, previous);
    DeleteObject(pen);
    InvalidateRect(dialog, nullptr, FALSE);
}

INT_PTR OnInitDialog(HWND dialog) {
    g_state.surface = CreatePreviewSurface(dialog, kPreviewSize, kPreviewSize);
    // The gaps of a broken line show the cursor colour beneath.
    SetBkMode(g_state.surface->BufferDc(), TRANSPARENT);
    GradientChoice stored = {GetCursorGColorStart(), GetCursorGColorEnd(), GetCursorGradWay()};
    g_state.cursorGradient = stored;
    g_state.lineType = GetGridType();
    g_state.cursorKind = GetCursorGround();
    TickRadio(dialog, kLineRadios, kLineKinds, g_state.lineType);
    TickRadio(dialog, kCursorRadios, kCursorKinds, g_state.cursorKind);
    g_gridPicker.colour = GetGridColor();
    g_cursorPicker.colour = GetCursorColor();
    PostMessageA(dialog, WMAPP_REDRAW_PREVIEW, 0, 0);
    return TRUE;
}

INT_PTR OnSave(HWND dialog) {
    SetGridType(g_state.lineType);
    SetCursorGround(g_state.cursorKind);
    SetGridColor(g_gridPicker.colour);
    SetCursorColor(g_cursorPicker.colour);
    SetCursorGColorStart(g_state.cursorGradient.start);
    SetCursorGColorEnd(g_state.cursorGradient.end);
    SetCursorGradWay(g_state.cursorGradient.way);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, int id) {
    if (id >= IDC_OTHER_LINE_SOLID && id <= IDC_OTHER_LINE_DASH_DOT_DOT) {
        g_state.lineType = id - IDC_OTHER_LINE_SOLID;
        TickRadio(dialog, kLineRadios, kLineKinds, g_state.lineType);
        RedrawPreview(dialog);
        return TRUE;
    }
    switch (id) {
    case IDC_OTHER_CURSOR_PLAIN:
    case IDC_OTHER_CURSOR_GRADIENT:
        g_state.cursorKind = id - IDC_OTHER_CURSOR_PLAIN;
        TickRadio(dialog, kCursorRadios, kCursorKinds, g_state.cursorKind);
        RedrawPreview(dialog);
        return TRUE;
    case IDC_OTHER_GRID_COLOUR:
        if (PickColour(dialog, &g_gridPicker)) RedrawPreview(dialog);
        return TRUE;
    case IDC_OTHER_CURSOR_COLOUR:
        if (PickColour(dialog, &g_cursorPicker)) RedrawPreview(dialog);
        return TRUE;
    case IDC_OTHER_CURSOR_GRADIENT_PICK:
        EditGradient(dialog, &g_state.cursorGradient);
        RedrawPreview(dialog);
        return TRUE;
    case IDC_OTHER_SAVE: return OnSave(dialog);
    case IDC_OTHER_CANCEL: PostMessageA(dialog, WM_CLOSE, 0, 0); return TRUE;
    }
    return FALSE;
}

INT_PTR OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    RECT client;
    GetClientRect(dialog, &client);
    BitBlt(dc, (client.right - kPreviewSize) / 2, kPreviewY, kPreviewSize, kPreviewSize,
           g_state.surface->BufferDc(), 0, 0, SRCCOPY);
    EndPaint(dialog, &paint);
    return TRUE;
}

INT_PTR OnClose(HWND dialog) {
    delete g_state.surface;
    g_state.surface = nullptr;
    EndDialog(dialog, 1);
    return TRUE;
}

} // namespace

HDC OtherColourPreviewSurface() {
    return PreviewSurfaceDc(g_state.surface);
}

INT_PTR CALLBACK OtherColorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WMAPP_REDRAW_PREVIEW: RedrawPreview(dialog); return TRUE;
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_PAINT: return OnPaint(dialog);
    case WM_CLOSE: return OnClose(dialog);
    }
    return FALSE;
}

void ShowOtherColourDialog(HWND owner) {
    DialogBoxParamA(AppInstance(), kOtherColourDialogName, owner, OtherColorDialogProc, 0);
}
