// Argument lines built from dropped or chosen files.
#pragma once

#include <cstddef>

// Appends a path to an argument text of `capacity` bytes: a space first when the text is not
// empty, and the path in double quotes when it holds a space. A path that does not fit whole
// is not appended at all (half a path would name another file): false, the text unchanged.
bool AppendArgumentPath(char* text, size_t capacity, const char* path);
