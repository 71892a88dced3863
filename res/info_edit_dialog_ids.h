// Controls of the entry information editor; each id is also the string id of its help tip.
// Included by C++ and by the .rc.
#pragma once

#define IDC_INFO_PATH 576
#define IDC_INFO_PATH_BROWSE 577
#define IDC_INFO_ARG 578
#define IDC_INFO_ARG_BROWSE 579
#define IDC_INFO_COMMENT 580
#define IDC_INFO_SAVE 581
#define IDC_INFO_CANCEL 582
#define IDC_INFO_WORK_BROWSE 583
#define IDC_INFO_WORK 584
