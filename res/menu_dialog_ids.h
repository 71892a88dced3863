// Controls of the pop-up menu editor and of its add dialog; each id is also the string id of
// its help tip. Included by C++ and by the .rc.
#pragma once

#define IDC_MENU_LIST 352
#define IDC_MENU_ADD 353
#define IDC_MENU_UP 354
#define IDC_MENU_DOWN 355
#define IDC_MENU_DELETE 356
#define IDC_MENU_DEFAULTS 357
#define IDC_MENU_SAVE 358
#define IDC_MENU_NAME 359
#define IDC_MENU_PATH 360
#define IDC_MENU_ARG 361

#define IDC_ADD_MENU_KIND 368
#define IDC_ADD_MENU_NAME 369
#define IDC_ADD_MENU_PATH 370
#define IDC_ADD_MENU_ARG 371
#define IDC_ADD_MENU_ADD 372
#define IDC_ADD_MENU_CANCEL 373
