// Path utilities: %NAME% references, the folder prefix and extension of a path, shortcut
// names and the existence test. Paths are Shift-JIS byte strings; a two-byte character's
// second byte is never taken for a separator.
#pragma once

#include <cstddef>
#include <cstdint>

enum {
    kExpandedPathSize = 2048,   // buffer of an expanded target
    kEnvironmentNameSize = 256, // a reference's name holds at most 255 characters
};

// Index of the opening '%' of the first reference in text[0..length), or -1. The reference
// spans *referenceLength bytes, both '%' included.
int FindEnvironmentReference(const char* text, int length, int* referenceLength);

// Looks a variable up: the full length of its value (written to out, terminated, when it is
// shorter than capacity), or -1 when the variable is not defined.
typedef int (*EnvironmentLookup)(const char* name, char* out, int capacity);

// Copies source[0..sourceLength) to dest with each reference replaced by its value, looked up
// with `lookup`. Undefined references and empty names stay as written. A piece that does not
// fit whole is left out and ends the copy. The output is always terminated; 1 when everything
// fitted, -1 when it was cut.
int ExpandReferencesWith(EnvironmentLookup lookup, char* dest, int destCapacity, const char* source,
                         int sourceLength);

// The same with the process environment (names compared without regard to letter case).
int ExpandEnvironmentReferences(char* dest, int destCapacity, const char* source, int sourceLength);

// Length of the folder part of a path including its final separator; a separator in the
// last byte does not count. -1 when there is none.
int FolderPrefixLength(const char* path);

// Index of the first character of the extension (after the last '.' of the last
// component), or -1.
int ExtensionPosition(const char* path);

// True when the extension begins with "lnk" in any letter case.
bool IsShortcutPath(const char* path);

// Removes a working folder's final backslash when it is a character of its own; a root
// (a lone backslash, or a drive letter with colon and backslash) keeps it.
void TrimFinalSeparator(char* folder);

// Copies the folder of a path without its final separator into out (capacity bytes, cut to
// fit); a root ("C:\\", "\\") keeps it, and a path without a separator is taken whole.
void CopyFolderPart(char* out, size_t capacity, const char* path);

// The existence test: file attributes of the expanded path, 0xFFFFFFFF when it is missing.
uint32_t GetPathAttributes(const char* path);
