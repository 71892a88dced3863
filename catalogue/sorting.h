// Sorting of a tab's entries by name (folders first), by launch count, or both.
#pragma once

#include "catalogue/catalogue.h"

enum SortMode { SortNone = 0, SortByName = 1, SortByCount = 2, SortByCountThenName = 3 };

// Negative when a belongs before b in this mode, positive when after, 0 when equal.
int CompareEntries(const Entry* a, const Entry* b, int mode);
// Sorts the entries with indices first..last of tab t in place, by relinking.
void SortTab(int first, int last, int t, int mode);
// Number of comparisons made by sorts since the last reset (sort cost, for benchmarks).
long SortComparisons();
void ResetSortComparisons();
// Exchanges the places of two entries of tab t; head and hints stay on their positions.
void SwapEntries(Entry* x, Entry* y, int t);
