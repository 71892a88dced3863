#include "base/data_paths.h"

#include <cstdio>
#include <cstring>

int ModuleFolderLength(const char* moduleFileName) {
    int last = -1;
    for (int i = 0; moduleFileName[i] != '\0'; ++i) {
        unsigned char b = static_cast<unsigned char>(moduleFileName[i]);
        if (IsPathLeadByte(b)) {
            if (moduleFileName[i + 1] == '\0') break;
            ++i;
            continue;
        }
        if (b == '\\' || b == '/') last = i;
    }
    return last;
}

void JoinFolderAndName(char* out, size_t capacity, const char* folder, size_t folderLength,
                       const char* name) {
    if (capacity == 0) return;
    int n = std::snprintf(out, capacity, "%.*s\\%s", static_cast<int>(folderLength), folder, name);
    if (n < 0) out[0] = '\0';
}

void DeriveDataPaths(const char* moduleFileName, DataPaths* out) {
    int length = ModuleFolderLength(moduleFileName);
    size_t folderLength = length < 0 ? 0 : static_cast<size_t>(length);
    if (folderLength >= sizeof out->folder) folderLength = sizeof out->folder - 1;
    std::memcpy(out->folder, moduleFileName, folderLength);
    out->folder[folderLength] = '\0';
    JoinFolderAndName(out->settings, sizeof out->settings, out->folder, folderLength, "qdx.ini");
    JoinFolderAndName(out->cache, sizeof out->cache, out->folder, folderLength, "Cache.arc");
    JoinFolderAndName(out->cacheUser, sizeof out->cacheUser, out->folder, folderLength,
                      "CacheUser.arc");
}
