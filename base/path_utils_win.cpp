#include "base/path_utils.h"

#include <windows.h>

#include <cstring>

namespace {

// The process environment through kernel32, which compares names without regard to case
// and guards the block with its own lock, so launch workers may read it too.
int LookUpProcessEnvironment(const char* name, char* out, int capacity) {
    SetLastError(ERROR_SUCCESS);
    DWORD n = GetEnvironmentVariableA(name, out, static_cast<DWORD>(capacity));
    if (n == 0) {
        if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return -1;
        if (capacity > 0) out[0] = '\0';
        return 0; // defined with an empty value
    }
    // Too small a buffer: the result is the size needed, terminator included.
    if (n >= static_cast<DWORD>(capacity)) return static_cast<int>(n - 1);
    return static_cast<int>(n);
}

} // namespace

int ExpandEnvironmentReferences(char* dest, int destCapacity, const char* source,
                                int sourceLength) {
    return ExpandReferencesWith(LookUpProcessEnvironment, dest, destCapacity, source, sourceLength);
}

uint32_t GetPathAttributes(const char* path) {
    if (!path) return INVALID_FILE_ATTRIBUTES;
    char expanded[kExpandedPathSize];
    ExpandEnvironmentReferences(expanded, sizeof expanded, path,
                                static_cast<int>(std::strlen(path)));
    return GetFileAttributesA(expanded);
}
