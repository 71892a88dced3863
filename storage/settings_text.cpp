#include "storage/settings_text.h"

#include "storage/settings_file.h"

#include <cstring>

void CopyTextField(char* field, size_t size, const char* src) {
    if (size == 0) return;
    if (!src) src = "";
    size_t n = CharacterPrefixLength(src, std::strlen(src), size - 1);
    std::memmove(field, src, n);
    field[n] = '\0';
}
