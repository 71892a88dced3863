// The texts of the grid's tooltips: everything registered for an entry, one item per line,
// or the current tab's name over an empty cell.
#pragma once

#include <cstddef>
#include <cstdint>

enum {
    kTooltipTextSize = 2048,
    // Each formatting step keeps at most this many bytes with its terminator, so a whole
    // tip holds at most 1023 characters; the lines that do not fit are lost.
    kTooltipStepSize = 1024,
};

struct TooltipFields {
    const char* filePath;
    const char* fileName;
    const char* arg;
    int32_t count;
    const char* workPath;
    const char* comment;
};

// Both write a terminated text into `text` (kTooltipTextSize bytes), cut at a whole
// Shift-JIS character.
void ComposeEntryTooltipText(char* text, const TooltipFields& fields);
void ComposeTabTooltipText(char* text, const char* tabName);
