#include "commands/dialog_entry_points.h"

// Each of these dialogs is not built yet: its command is routed here and does nothing.

void ShowColourDialog(HWND) {}      // not built yet
void ShowOtherColourDialog(HWND) {} // not built yet
void ShowIconDrawDialog(HWND) {}    // not built yet
void ShowVersionDialog(HWND) {}     // not built yet
