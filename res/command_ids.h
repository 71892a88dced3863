// Command identifiers of the menu bar, shared by the menu resource, the string table (menu
// help has the same ids) and the command dispatch. Included by C++ and by the .rc.
#pragma once

#define IDM_TAB_NEW 256
#define IDM_EXIT 257
#define IDM_MENU_EDIT 258
#define IDM_SORT_NAME 259
#define IDM_SORT_COUNT 260
#define IDM_SORT_COUNT_NAME 261
#define IDM_SORT_NONE 262
#define IDM_OPTIONS 263
#define IDM_BACKGROUND_COLOUR 264
#define IDM_ICON_DRAWING 265
#define IDM_SEARCH 266
#define IDM_FIND_DUPLICATES 267
#define IDM_REBUILD 284
#define IDM_HELP 285
#define IDM_VERSION 296
#define IDM_OTHER_COLOURS 297

// Resource ids of the two icons.
#define IDI_APP 1
#define IDI_TRAY 2
