#include "catalogue/sorting.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Pending ranges of the quicksort. The smaller half of each partition is taken first, so
// the ranges waiting at once never exceed log2 of the entry count plus one: 32 for any count
// an int can hold, far below the 512 places.
enum { kPendingRanges = 512 };

struct PendingRange {
    int low;
    int high;
    int depth; // partitions above this range
};

long g_comparisons;

bool IsFolder(const Entry* e) {
    return (e->Attribute & kFolderAttribute) != 0;
}

// Unsigned byte order of the names: "B" before "a", two-byte characters by their bytes.
int CompareNames(const Entry* a, const Entry* b) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a->FileName);
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b->FileName);
    while (*p && *p == *q) {
        ++p;
        ++q;
    }
    return *p < *q ? -1 : (*p > *q ? 1 : 0);
}

int CompareByName(const Entry* a, const Entry* b) {
    bool fa = IsFolder(a), fb = IsFolder(b);
    if (fa != fb) return fa ? -1 : 1;
    return CompareNames(a, b);
}

int CompareByCount(const Entry* a, const Entry* b) {
    if (a->Count > b->Count) return -1;
    if (a->Count < b->Count) return 1;
    return 0;
}

// Exchanges two ring neighbours, first directly before second, in a ring of three or more.
void SwapNeighbours(Entry* first, Entry* second) {
    Entry* before = first->prev;
    Entry* after = second->next;
    before->next = second;
    second->prev = before;
    second->next = first;
    first->prev = second;
    first->next = after;
    after->prev = first;
}

int FloorLog2(int n) {
    int bits = 0;
    while (n > 1) {
        n >>= 1;
        ++bits;
    }
    return bits;
}

// Quicksort depth beyond which a range counts as adversarial (organ pipes and the like).
int DepthLimit(int count) {
    return 2 * FloorLog2(count) + 4;
}

// Hint that named a position inside first..last: make it name the entry now there.
void KeepHint(Entry** hint, int oldIndex, int first, int last, Entry** order) {
    if (*hint && oldIndex >= first && oldIndex <= last) *hint = order[oldIndex - first];
}

// Sorts first..last by taking the range's entries out into an array and linking them back
// in order: a guaranteed n log n for ranges the partitions cannot split well. False when no
// memory could be had; the caller then goes on partitioning.
bool SortRangeByRelinking(Tab* tab, Entry* start, int first, int last, int mode) {
    int n = last - first + 1;
    Entry** order = static_cast<Entry**>(std::calloc(static_cast<size_t>(n), sizeof(Entry*)));
    if (!order) return false;
    Entry* p = start;
    for (int i = 0; i < n; ++i, p = p->next)
        order[i] = p;
    Entry* before = order[0]->prev;
    Entry* after = order[n - 1]->next;
    bool wholeRing = after == order[0];
    std::sort(order, order + n,
              [mode](const Entry* a, const Entry* b) { return CompareEntries(a, b, mode) < 0; });

    int middleIndex = tab->middle ? tab->middle->index : -1;
    int foundIndex = tab->lastFound ? tab->lastFound->index : -1;
    for (int i = 0; i < n; ++i) {
        order[i]->index = first + i;
        order[i]->next = i + 1 < n ? order[i + 1] : (wholeRing ? order[0] : after);
        order[i]->prev = i > 0 ? order[i - 1] : (wholeRing ? order[n - 1] : before);
    }
    if (!wholeRing) {
        before->next = order[0];
        after->prev = order[n - 1];
    }
    if (first == 0) tab->head = order[0];
    KeepHint(&tab->middle, middleIndex, first, last, order);
    KeepHint(&tab->lastFound, foundIndex, first, last, order);
    std::free(order);
    return true;
}

// One partition of first..last around the entry at its middle index. Leaves in *left the
// first index after the lower part's end and in *right the last before the upper part.
void Partition(int t, int first, int last, int mode, Entry* low, Entry* high, Entry* pivot,
               int* left, int* right) {
    int i = first, j = last;
    for (;;) {
        // The pivot and every swapped entry stop the scans inside the range; the bounds
        // only guard against a comparison that is not an order.
        while (i < last && CompareEntries(low, pivot, mode) < 0) {
            low = low->next;
            ++i;
        }
        while (j > first && CompareEntries(high, pivot, mode) > 0) {
            high = high->prev;
            --j;
        }
        if (i >= j) break;
        Entry* atLeft = low;
        Entry* atRight = high;
        if (CompareEntries(low, high, mode) != 0) {
            SwapEntries(low, high, t);
            atLeft = high;
            atRight = low;
        }
        low = atLeft->next;
        high = atRight->prev;
        ++i;
        --j;
    }
    *left = i;
    *right = j;
}

} // namespace

int CompareEntries(const Entry* a, const Entry* b, int mode) {
    ++g_comparisons;
    switch (mode) {
    case SortByName: return CompareByName(a, b);
    case SortByCount: return CompareByCount(a, b);
    case SortByCountThenName: {
        int byCount = CompareByCount(a, b);
        return byCount != 0 ? byCount : CompareByName(a, b);
    }
    default: return 0;
    }
}

void SwapEntries(Entry* x, Entry* y, int t) {
    Tab* tab = GetTab(t);
    if (!tab || !x || !y || x->index == y->index) return;
    Entry* a = x->index < y->index ? x : y;
    Entry* b = a == x ? y : x;

    if (b->next == a && a->next == b) {
        // A ring of two: the ring stays, only the first place changes hands.
    } else if (a->next == b) {
        SwapNeighbours(a, b);
    } else if (b->next == a) {
        // The head and the last entry are neighbours across the ring's seam.
        SwapNeighbours(b, a);
    } else {
        Entry* aPrev = a->prev;
        Entry* aNext = a->next;
        Entry* bPrev = b->prev;
        Entry* bNext = b->next;
        aPrev->next = b;
        aNext->prev = b;
        bPrev->next = a;
        bNext->prev = a;
        std::swap(a->prev, b->prev);
        std::swap(a->next, b->next);
    }
    std::swap(a->index, b->index);

    if (tab->head == a) tab->head = b;
    if (tab->middle == a) {
        tab->middle = b;
    } else if (tab->middle == b) {
        tab->middle = a;
    }
    if (tab->lastFound == a) {
        tab->lastFound = b;
    } else if (tab->lastFound == b) {
        tab->lastFound = a;
    }
}

void SortTab(int first, int last, int t, int mode) {
    if (first >= last || !GetTab(t)) return;
    int limit = DepthLimit(last - first + 1);
    PendingRange pending[kPendingRanges];
    int top = 0;
    pending[top++] = PendingRange{first, last, 0};
    while (top > 0) {
        PendingRange range = pending[--top];
        // The pivot stays the same entry for the whole partition, even when it moves.
        Entry* low = FindEntry(t, range.low);
        Entry* high = FindEntry(t, range.high);
        Entry* pivot = FindEntry(t, (range.low + range.high) >> 1);
        if (!low || !high || !pivot) continue;
        if (range.depth > limit &&
            SortRangeByRelinking(GetTab(t), low, range.low, range.high, mode))
            continue;
        int i, j;
        Partition(t, range.low, range.high, mode, low, high, pivot, &i, &j);
        PendingRange halves[2];
        int count = 0;
        if (i - 1 > range.low) halves[count++] = PendingRange{range.low, i - 1, range.depth + 1};
        if (j + 1 < range.high) halves[count++] = PendingRange{j + 1, range.high, range.depth + 1};
        // The larger half waits below the smaller one.
        if (count == 2 && halves[0].high - halves[0].low < halves[1].high - halves[1].low)
            std::swap(halves[0], halves[1]);
        for (int k = 0; k < count; ++k)
            pending[top++] = halves[k];
    }
}

long SortComparisons() {
    return g_comparisons;
}
void ResetSortComparisons() {
    g_comparisons = 0;
}
