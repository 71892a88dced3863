#include "base/argument_text.h"

#include <cstring>

bool AppendArgumentPath(char* text, size_t capacity, const char* path) {
    size_t length = std::strlen(text);
    size_t pathLength = std::strlen(path);
    bool quoted = std::strchr(path, ' ') != nullptr;
    size_t added = (length > 0 ? 1 : 0) + pathLength + (quoted ? 2 : 0);
    if (length + added + 1 > capacity) return false;
    char* out = text + length;
    if (length > 0) *out++ = ' ';
    if (quoted) *out++ = '"';
    std::memcpy(out, path, pathLength);
    out += pathLength;
    if (quoted) *out++ = '"';
    *out = '\0';
    return true;
}
