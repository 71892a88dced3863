// The path and argument fields of the menu editor and the entry information editor.
#pragma once

#include <windows.h>

enum { kFieldTextSize = 1024 };

// Path fields: a typed double quote only beeps (paths are never typed in quotes); a drop puts
// the first file's full path into the field.
LRESULT CALLBACK PathEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
// Argument fields: a drop appends each file's path, quoted when it holds a space; what does
// not fit the field whole is left out with a beep.
LRESULT CALLBACK ArgumentEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);
void SubclassPathEdit(HWND edit);
void SubclassArgumentEdit(HWND edit);
