#include "dialogs/colour_picker.h"

#include <commdlg.h>

bool PickColour(HWND owner, ColourPicker* picker) {
    CHOOSECOLORA choice;
    ZeroMemory(&choice, sizeof choice);
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = owner;
    choice.rgbResult = picker->colour;
    choice.lpCustColors = picker->custom;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choice)) return false;
    picker->colour = choice.rgbResult;
    return true;
}
