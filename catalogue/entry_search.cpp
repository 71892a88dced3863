#include "catalogue/entry_search.h"

#include "base/data_paths.h"
#include "catalogue/catalogue.h"

#include <cstdio>
#include <cstring>

namespace {

const char kHitLineFormat[] = "\"%s\", %d番目に発見";

unsigned char FoldLetter(unsigned char b) {
    return b >= 'a' && b <= 'z' ? static_cast<unsigned char>(b - 'a' + 'A') : b;
}

// Compares the pattern with the name from a character boundary; a byte after a lead byte is
// compared exactly, so a trail byte that looks like a letter never matches its other case.
bool MatchesAt(const unsigned char* name, const SearchPattern& pattern) {
    const unsigned char* p = pattern.folded;
    int j = 0;
    while (j < pattern.length) {
        unsigned char b = name[j];
        if (b == '\0') return false;
        if (IsPathLeadByte(b)) {
            if (b != p[j] || name[j + 1] != p[j + 1]) return false;
            if (name[j + 1] == '\0') return j + 1 >= pattern.length;
            j += 2;
            continue;
        }
        if (FoldLetter(b) != p[j]) return false;
        ++j;
    }
    return true;
}

} // namespace

void PrepareSearch(SearchPattern* pattern, const char* text) {
    int n = 0;
    while (n < kSearchTextSize - 1 && text[n] != '\0') {
        unsigned char b = static_cast<unsigned char>(text[n]);
        pattern->folded[n++] = FoldLetter(b);
        if (IsPathLeadByte(b) && n < kSearchTextSize - 1 && text[n] != '\0') {
            pattern->folded[n] = static_cast<unsigned char>(text[n]);
            ++n;
        }
    }
    pattern->folded[n] = '\0';
    pattern->folded[n + 1] = '\0';
    pattern->length = n;
}

bool PatternMatches(const SearchPattern& pattern, const char* name) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(name);
    if (pattern.length == 0) return true;
    unsigned char first = pattern.folded[0];
    // Names are cut at 255 bytes like the text.
    for (int i = 0; s[i] != '\0' && i < kSearchTextSize - 1;) {
        unsigned char b = s[i];
        if (IsPathLeadByte(b)) {
            if (b == first && MatchesAt(s + i, pattern)) return true;
            if (s[i + 1] == '\0') break;
            i += 2;
            continue;
        }
        if (FoldLetter(b) == first && MatchesAt(s + i, pattern)) return true;
        ++i;
    }
    return false;
}

bool NameContains(const char* name, const char* text) {
    SearchPattern pattern;
    PrepareSearch(&pattern, text);
    return PatternMatches(pattern, name);
}

int FindMatchingEntries(const char* text, int tabCount, SearchHitVisitor visit, void* context) {
    SearchPattern pattern;
    PrepareSearch(&pattern, text);
    int hits = 0;
    for (int t = 0; t < tabCount && t < kTabSlots; ++t) {
        Tab* tab = GetTab(t);
        // The ring in list order; indices are dense, so position k is the k-th link.
        Entry* e = tab->head;
        for (int k = 0; e; ++k) {
            if (PatternMatches(pattern, e->FileName)) {
                ++hits;
                if (visit) visit(context, t, k);
            }
            e = e->next;
            if (e == tab->head) break;
        }
    }
    return hits;
}

void FormatHitLine(char* out, const char* caption, int position) {
    std::snprintf(out, kHitLineSize, kHitLineFormat, caption, position);
}

bool ParseHitLine(const char* line, char* caption, int* position) {
    const char* open = std::strchr(line, '"');
    const char* close = open ? std::strrchr(line, '"') : nullptr;
    *position = 0;
    caption[0] = '\0';
    if (!open || close == open) return false;
    size_t length = static_cast<size_t>(close - open - 1);
    if (length > kSearchTextSize - 1) length = kSearchTextSize - 1;
    std::memcpy(caption, open + 1, length);
    caption[length] = '\0';
    const char* p = close + 1;
    while (*p && (*p < '0' || *p > '9'))
        ++p;
    int value = 0;
    while (*p >= '0' && *p <= '9' && value < 100000000)
        value = value * 10 + (*p++ - '0');
    *position = value;
    return true;
}
