// Controls of the icon drawing dialog; the radio ids are also the string ids of their help
// tips. Included by C++ and by the .rc.
#pragma once

#define IDC_ICON_DRAW_ICON 544
#define IDC_ICON_DRAW_BITBLT 545
#define IDC_ICON_DRAW_FROM_FILE 546
#define IDC_ICON_DRAW_SAVE 547
