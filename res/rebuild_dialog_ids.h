// Controls of the rebuild dialog; each id is also the string id of its help tip (the progress
// line has none). Included by C++ and by the .rc.
#pragma once

#define IDC_REBUILD_FILE_INFO 592
#define IDC_REBUILD_WORK_PATH 593
#define IDC_REBUILD_ICON 594
#define IDC_REBUILD_CACHE 595
#define IDC_REBUILD_SHORTCUTS 596
#define IDC_REBUILD_RUN 597
#define IDC_REBUILD_CLOSE 598
#define IDC_REBUILD_PROGRESS 599
