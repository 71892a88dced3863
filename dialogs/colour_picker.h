// The colour picker of the colour dialogs: each button keeps its own picker, whose sixteen
// custom colours last for the whole run (they are not saved).
#pragma once

#include <windows.h>

struct ColourPicker {
    COLORREF colour;
    COLORREF custom[16];
};

// Opens the system colour dialog, fully open, on the picker's colour. True on OK, when the
// picker's colour is the choice; on cancel the picker is left as it was.
bool PickColour(HWND owner, ColourPicker* picker);
