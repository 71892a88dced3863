// Finding entries by part of their file name, and the hit lines that name what was found.
#pragma once

enum {
    kSearchTextSize = 256, // the search text and the names compared: at most 255 bytes
    kHitLineSize = 1024,
};

// The search text folded once: A..z become upper case where they stand as characters of
// their own; the bytes of two-byte characters stay as they are.
struct SearchPattern {
    unsigned char folded[kSearchTextSize + 1];
    int length;
};
void PrepareSearch(SearchPattern* pattern, const char* text);
// True when the pattern occurs in the name starting at a character boundary of the name.
bool PatternMatches(const SearchPattern& pattern, const char* name);
// The same for one name and one text.
bool NameContains(const char* name, const char* text);

// Calls visit for every entry of tabs 0..tabCount-1 whose FileName contains the text, in tab
// order and list order; the number of hits.
typedef void (*SearchHitVisitor)(void* context, int t, int k);
int FindMatchingEntries(const char* text, int tabCount, SearchHitVisitor visit, void* context);

// "\"caption\", N番目に発見" into out (kHitLineSize bytes).
void FormatHitLine(char* out, const char* caption, int position);
// Reads a hit line back: the caption (out of kSearchTextSize bytes) stands between the first
// double quote and the last one, the position is the first run of digits after the last one
// (0 without digits). False when the line holds no pair of quotes.
bool ParseHitLine(const char* line, char* caption, int* position);
