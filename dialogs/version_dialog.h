// The version dialog: the program's name, version and rights notice, all read from the
// program's own version block.
#pragma once

#include <windows.h>

extern const char kVersionDialogName[]; // "VERSION_DIALOG"

// What the dialog shows, composed from the version block of `module` (empty texts when it has
// none): "Ver" with the product version's major, minor and build digits ("Ver1.20"), the
// maker and product line ("CompanyName - ProductName") and the rights notice.
struct VersionTexts {
    char version[64];
    char title[256];
    char rights[256];
};
void ReadVersionTexts(HMODULE module, VersionTexts* texts);

// Ends with 1.
INT_PTR CALLBACK VersionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the dialog modally over `owner`.
void ShowVersionDialog(HWND owner);
