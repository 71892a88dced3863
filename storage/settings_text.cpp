#include "storage/settings_text.h"

#include "storage/settings_file.h"

#include <cstring>

size_t CharacterPrefixLength(const char* text, size_t length, size_t limit) {
    if (length <= limit) return length;
    size_t i = 0;
    while (i < limit) {
        size_t step = IsSettingsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + step > limit) break;
        i += step;
    }
    return i;
}

void CopyTextField(char* field, size_t size, const char* src) {
    if (size == 0) return;
    if (!src) src = "";
    size_t n = CharacterPrefixLength(src, std::strlen(src), size - 1);
    std::memmove(field, src, n);
    field[n] = '\0';
}
