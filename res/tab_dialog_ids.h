// Controls of the two tab name dialogs. Included by C++ and by the .rc.
#pragma once

#define IDC_TAB_CREATE_NAME 336
#define IDC_TAB_CREATE_OK 337
#define IDC_TAB_RENAME_NAME 338
#define IDC_TAB_RENAME_OK 339
