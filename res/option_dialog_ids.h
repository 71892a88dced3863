// Controls of the options dialog; each id is also the string id of its help tip. Included by
// C++ and by the .rc.
#pragma once

#define IDC_OPTION_DEAD_LINK 384
#define IDC_OPTION_DELETE_CHECK 385
#define IDC_OPTION_TOOLTIP 386
#define IDC_OPTION_STARTUP 387
#define IDC_OPTION_FILE_NOT_CHECK 389
#define IDC_OPTION_SHORTCUT_FULL 390
#define IDC_OPTION_ALPHA_GROUP 392
#define IDC_OPTION_ALPHA 393
#define IDC_OPTION_ALPHA_LOW 394
#define IDC_OPTION_ALPHA_HIGH 395
#define IDC_OPTION_HOT_KEY 396
#define IDC_OPTION_SAVE 397
#define IDC_OPTION_CANCEL 398
