// The border and cursor colour dialog: the grid lines' pen style and colour, and the
// selection cursor's plain colour or gradient.
#pragma once

#include <windows.h>

extern const char kOtherColourDialogName[]; // "OPTION_DIALOG_OTHERCOLOR"

// The preview's 50 x 50 drawing surface while the dialog is open, else null.
HDC OtherColourPreviewSurface();

// Ends with 1, saved or not.
INT_PTR CALLBACK OtherColorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the dialog modally over `owner`.
void ShowOtherColourDialog(HWND owner);
