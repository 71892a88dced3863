// Text fields of the settings contents: Shift-JIS texts cut to a fixed field.
#pragma once

#include "storage/settings_file.h"

#include <cstddef>

// Copies src (null as empty) into a field of `size` bytes, cut at a character boundary so
// that it and its terminating zero fit.
void CopyTextField(char* field, size_t size, const char* src);
