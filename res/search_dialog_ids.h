// Controls of the search dialog; each id is also the string id of its help tip. Included by
// C++ and by the .rc.
#pragma once

#define IDC_SEARCH_TEXT 560
#define IDC_SEARCH_RUN 561
#define IDC_SEARCH_HITS 562
