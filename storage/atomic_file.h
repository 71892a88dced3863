// Whole-file reads and writes that never leave a half-written file behind.
#pragma once

#include <cstddef>
#include <memory>

// Reads the whole file with one read into a new buffer of size + extra bytes; the extra bytes
// are zeroed, so a reader can rely on a terminator after the content. False when the file
// cannot be opened or read (out is then left empty).
bool ReadWholeFile(const char* path, std::unique_ptr<char[]>* out, size_t* size, size_t extra);

enum class FileReadResult { Read, Missing, Unreadable };
// ReadWholeFile that tells a missing file from one that is there but cannot be read (locked by
// another program, no permission, a folder of that name).
FileReadResult ReadFileStatus(const char* path, std::unique_ptr<char[]>* out, size_t* size,
                              size_t extra);

// True when something (a file or a folder) exists at path.
bool PathExists(const char* path);
// True when path names an existing file marked read-only.
bool IsReadOnlyFile(const char* path);

// Writes data as the new content of path: the bytes go to a temporary file in the same folder,
// are flushed to the disk and then replace the old file in one step. On any failure the old
// file is left as it was and the temporary file is removed. A read-only file is left alone, as
// opening it for writing would fail. True on success.
bool SaveFileAtomically(const char* path, const void* data, size_t size);
