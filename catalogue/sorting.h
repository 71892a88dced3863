// Sorting of a tab's entries by name (folders first), by launch count, or both.
#pragma once

enum SortMode { SortNone = 0, SortByName = 1, SortByCount = 2, SortByCountThenName = 3 };

void SortTab(int first, int last, int t, int mode);
