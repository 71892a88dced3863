// Validates and loads arbitrary bytes as a cache archive, changes the tree a little, saves it,
// and checks that the saved file validates and, for a tree the layout can express, loads and
// saves again to the same bytes.
#include "storage/cache_archive.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Folder names the saved paths carry unchanged: not empty, and not ending in a byte of the
// upper half that would take the following separator with it.
bool Expressible(const CacheArchive& archive) {
    std::vector<CacheFolderRecord> folders;
    CacheFlatten(archive, &folders);
    for (const CacheFolderRecord& r : folders) {
        if (r.folder == &archive.root) continue;
        size_t n = std::strlen(r.folder->name);
        if (n == 0) return false;
        size_t i = 0;
        while (i < n)
            i += static_cast<unsigned char>(r.folder->name[i]) >= 0x80 ? 2 : 1;
        if (i > n && r.folder->firstChild) return false;
    }
    return true;
}

void Touch(CacheArchive& archive, uint8_t choice) {
    std::vector<CacheFolderRecord> folders;
    CacheFlatten(archive, &folders);
    const CacheFolderRecord& r = folders[choice % folders.size()];
    const CacheFileList* files = CacheFolderFiles(*r.folder);
    if (files && files->first) {
        CacheFile copy;
        std::string name = files->first->name;
        // Paths of folders with odd names may lead elsewhere; only valid trees must find it.
        bool found = CacheGetFile(archive, &copy, r.path.c_str(), name.c_str()) == 1;
        if (found) std::free(copy.data);
        if (!found && Expressible(archive)) std::abort();
        CacheListFindIndex(*files, choice % (files->count + 1));
        if (choice & 1) CacheDeleteFile(archive, r.path.c_str(), name.c_str());
    }
    std::string path = r.path;
    if (choice & 2) CacheRenameFolder(archive, path.c_str(), "renamed");
    if (choice & 4) CacheDeleteFolder(archive, path.c_str());
    if (choice & 8) CacheAddFile(archive, path.c_str(), "added", 3, "abc");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<unsigned char> bytes(data, data + size);
    CacheValidateBytes(bytes.data(), bytes.size());
    CacheArchive archive;
    CacheLoadBytes(archive, bytes.data(), bytes.size());
    if (size > 0) Touch(archive, data[size - 1]);

    std::string first;
    if (!CacheSaveBytes(archive, &first)) return 0;
    if (CacheValidateBytes(reinterpret_cast<const unsigned char*>(first.data()), first.size()) != 1)
        std::abort();
    if (!Expressible(archive)) return 0;
    CacheArchive again;
    CacheLoadBytes(again, reinterpret_cast<const unsigned char*>(first.data()), first.size());
    std::string second;
    if (!CacheSaveBytes(again, &second) || second != first) std::abort();
    return 0;
}
