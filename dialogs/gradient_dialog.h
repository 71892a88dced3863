// The gradient dialog: two colours and a direction (0 left to right, 1 top to bottom), shared
// by the background and the cursor colour dialogs.
#pragma once

#include <windows.h>

extern const char kGradientDialogName[]; // "OPTION_DIALOG_GRAD"

struct GradientChoice {
    COLORREF start;
    COLORREF end;
    int way;
};

// The exchange through which a caller hands its gradient to the dialog and reads it back; the
// dialog changes it only on its OK.
GradientChoice GradientExchange();
void SetGradientExchange(const GradientChoice& gradient);

// The dialog's drawing surface while it is open (swatches at (0, 0) and (100, 0), the
// gradient at (0, 70)), else null.
HDC GradientSurface();

// Ends with 1, chosen or not.
INT_PTR CALLBACK GradientDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Puts `gradient` into the exchange, opens the dialog modally over `owner` and takes the
// exchange back into `gradient`.
void EditGradient(HWND owner, GradientChoice* gradient);
