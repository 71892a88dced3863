// Entry points of the dialogs that the command table opens and that are still to come; each
// dialog's own source replaces its function here.
#pragma once

#include <windows.h>

void ShowColourDialog(HWND owner);      // 264
void ShowOtherColourDialog(HWND owner); // 297
void ShowIconDrawDialog(HWND owner);    // 265
void ShowVersionDialog(HWND owner);     // 296
