#include "storage/atomic_file.h"

#include <cstdio>
#include <cstring>
#include <new>

#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

// Room for a full path and the temporary suffix.
enum { kTempPathField = 1024 + 16 };
const char kTempSuffix[] = ".tmp~";

bool FlushToDisk(FILE* f) {
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

bool ReplaceFile(const char* from, const char* to) {
#ifdef _WIN32
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from, to) == 0;
#endif
}

bool WriteAndClose(FILE* f, const void* data, size_t size) {
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    ok = FlushToDisk(f) && ok;
    return std::fclose(f) == 0 && ok;
}

} // namespace

bool ReadWholeFile(const char* path, std::unique_ptr<char[]>* out, size_t* size, size_t extra) {
    out->reset();
    *size = 0;
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    // Only a plain file has a size to read: a folder opened for reading has none.
    struct stat info;
    if (fstat(fileno(f), &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fclose(f);
        return false;
    }
    long length = -1;
    if (std::fseek(f, 0, SEEK_END) == 0) length = std::ftell(f);
    bool ok = length >= 0 && std::fseek(f, 0, SEEK_SET) == 0;
    std::unique_ptr<char[]> buffer;
    if (ok) {
        size_t n = static_cast<size_t>(length);
        buffer.reset(new (std::nothrow) char[n + extra]);
        ok = buffer && (n == 0 || std::fread(buffer.get(), 1, n, f) == n);
        if (ok) {
            std::memset(buffer.get() + n, 0, extra);
            *size = n;
        }
    }
    std::fclose(f);
    if (!ok) return false;
    *out = std::move(buffer);
    return true;
}

FileReadResult ReadFileStatus(const char* path, std::unique_ptr<char[]>* out, size_t* size,
                              size_t extra) {
    if (ReadWholeFile(path, out, size, extra)) return FileReadResult::Read;
    return PathExists(path) ? FileReadResult::Unreadable : FileReadResult::Missing;
}

bool PathExists(const char* path) {
#ifdef _WIN32
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat info;
    return stat(path, &info) == 0;
#endif
}

bool IsReadOnlyFile(const char* path) {
#ifdef _WIN32
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
#else
    // The permission bits, not access(): a privileged user may write anything.
    struct stat info;
    return stat(path, &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0;
#endif
}

bool SaveFileAtomically(const char* path, const void* data, size_t size) {
    // The rename below would replace a read-only file where opening it for writing fails.
    if (IsReadOnlyFile(path)) return false;
    char temp[kTempPathField];
    int n = std::snprintf(temp, sizeof temp, "%s%s", path, kTempSuffix);
    if (n < 0 || static_cast<size_t>(n) >= sizeof temp) return false;
    FILE* f = std::fopen(temp, "wb");
    if (!f) return false;
    if (WriteAndClose(f, data, size) && ReplaceFile(temp, path)) return true;
    std::remove(temp);
    return false;
}
