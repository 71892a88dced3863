// Text fields of the settings contents: Shift-JIS texts cut to a fixed field.
#pragma once

#include <cstddef>

// Length of the longest prefix of text (length bytes) that fits in limit bytes without
// splitting a two-byte character.
size_t CharacterPrefixLength(const char* text, size_t length, size_t limit);
// Copies src (null as empty) into a field of `size` bytes, cut at a character boundary so
// that it and its terminating zero fit.
void CopyTextField(char* field, size_t size, const char* src);
