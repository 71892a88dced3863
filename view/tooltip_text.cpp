#include "view/tooltip_text.h"

#include <cstdio>
#include <cstring>

namespace {

// A byte of the upper half outside the one-byte katakana starts a two-byte character.
bool IsLeadByte(unsigned char b) {
    return b >= 0x80 && (b < 0xA1 || b > 0xDF);
}

// Appends `piece` to `text` while the result, with its terminator, fits in one step; a
// two-byte character that would be split stays out whole. False when the piece was cut:
// nothing may follow it, or a later one-byte character could slip in behind the cut.
bool AppendStep(char* text, const char* piece) {
    size_t length = std::strlen(text);
    size_t i = 0;
    while (piece[i] != '\0') {
        size_t width =
            (IsLeadByte(static_cast<unsigned char>(piece[i])) && piece[i + 1] != '\0') ? 2 : 1;
        if (length + width > kTooltipStepSize - 1) {
            text[length] = '\0';
            return false;
        }
        std::memcpy(text + length, piece + i, width);
        length += width;
        i += width;
    }
    text[length] = '\0';
    return true;
}

// One labelled line: the label, the value (cut to one step already) and the line's end.
bool AppendLine(char* text, const char* label, const char* value, const char* end) {
    return AppendStep(text, label) && AppendStep(text, value ? value : "") && AppendStep(text, end);
}

} // namespace

void ComposeEntryTooltipText(char* text, const TooltipFields& fields) {
    text[0] = '\0';
    char count[32];
    std::snprintf(count, sizeof count, "%d", static_cast<int>(fields.count));
    struct Line {
        const char* label;
        const char* value;
        const char* end;
    };
    const Line lines[] = {
        {"ファイルパス: ", fields.filePath, "\r\n"},
        {"ファイル名: ", fields.fileName, "\r\n"},
        {"引数: ", fields.arg, "\r\n"},
        {"起動回数: ", count, "回\r\n"},
        {"作業パス: ", fields.workPath, "\r\n"},
        // The comment keeps its own line breaks, on the lines after its label.
        {"コメント\r\n", fields.comment, ""},
    };
    for (const Line& line : lines) {
        if (!AppendLine(text, line.label, line.value, line.end)) break;
    }
}

void ComposeTabTooltipText(char* text, const char* tabName) {
    text[0] = '\0';
    AppendLine(text, "Tab->\"", tabName, "\"");
}
