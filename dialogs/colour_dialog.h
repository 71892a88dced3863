// The background colour dialog: plain colour, gradient or desktop picture, and whether the
// grid lines are drawn.
#pragma once

#include <windows.h>

extern const char kColourDialogName[]; // "OPTION_DIALOG_COLOR"

// The preview's drawing surface while the dialog is open (the preview at (0, 0)), else null.
HDC ColourPreviewSurface();

// Ends with 1, saved or not.
INT_PTR CALLBACK ColorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the dialog modally over `owner`.
void ShowColourDialog(HWND owner);
