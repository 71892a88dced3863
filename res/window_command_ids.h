// Command identifiers of the window settings in the grid's pop-up menu ("その他"): display
// styles 16 + Style and cell sizes 32 + Size. Included by C++ and by the .rc.
#pragma once

#define IDM_STYLE_STANDARD 16
#define IDM_STYLE_TALL 17
#define IDM_STYLE_WIDE 18
#define IDM_STYLE_HALF_TALL 19
#define IDM_STYLE_HALF_WIDE 20
#define IDM_SIZE_STANDARD 32
#define IDM_SIZE_SMALL 33
#define IDM_SIZE_SMALLEST 34
#define IDM_TOP_MOST 48
#define IDM_MOVE_LOCK 49
#define IDM_AUTO_HIDE 50
