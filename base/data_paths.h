// Where the program keeps its files: beside its own executable.
#pragma once

#include <cstddef>

enum { kPathField = 1024 };

// True for a Shift-JIS lead byte in the sense the file paths use it: any byte of the upper
// half outside the one-byte katakana range 0xA1..0xDF starts a two-byte character.
inline bool IsPathLeadByte(unsigned char b) {
    return b >= 0x80 && (b < 0xA1 || b > 0xDF);
}

// Length of the folder part of a module file name: everything before its last '\\' or '/',
// with two-byte characters stepped over so that a trail byte 0x5C never counts. -1 when the
// name holds no separator.
int ModuleFolderLength(const char* moduleFileName);

// Joins folder and name as "%s\\%s" into out (capacity bytes, always terminated, cut to fit).
void JoinFolderAndName(char* out, size_t capacity, const char* folder, size_t folderLength,
                       const char* name);

// Builds the three data paths from the executable's file name. The folder is the module's
// folder; a name without a separator uses the empty folder.
struct DataPaths {
    char folder[kPathField];
    char settings[kPathField];
    char cache[kPathField];
    char cacheUser[kPathField];
};
void DeriveDataPaths(const char* moduleFileName, DataPaths* out);
