#include "storage/cache_archive.h"

#include "base/data_paths.h"
#include "storage/atomic_file.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_set>

const uint32_t kCacheTable[256] = {
    0xB512C28C, 0xD5CEBE3A, 0x45BC4118, 0xF1688AA6, 0xAAB7C664, 0x2F41EBD2, 0xFC729E70, 0xF9E40DBE,
    0xA52CD53C, 0xFB18DC6A, 0x090536C8, 0x8DD703D6, 0x8CC54F14, 0xDCEDF002, 0xC76D6A20, 0x5A71CCEE,
    0x6A8093EC, 0xFBE7869A, 0x2D109878, 0x6730C906, 0xC58A03C4, 0xFC380032, 0xBE4021D0, 0x675C581E,
    0xB0B8FE9C, 0x289DBCCA, 0x33B96628, 0x3B88DA36, 0x8810E474, 0xCBE31C62, 0xD025C580, 0xA316AF4E,
    0x5E41154C, 0xBA5E7EFA, 0x659A9FD8, 0x1DB23766, 0x1A24F124, 0x0B724492, 0x0B195530, 0xFCD3D27E,
    0x4443D7FC, 0x030CCD2A, 0x820F4588, 0xA53FE096, 0x845129D4, 0x2B2878C2, 0x4BD5D0E0, 0x0086C1AE,
    0xCEAC46AC, 0x9D4BA75A, 0x6F325738, 0x1E84D5C6, 0x41E08E84, 0x7C08B8F2, 0xEDD63890, 0x06E27CDE,
    0xB425615C, 0x9C7E0D8A, 0xE9DED4E8, 0xBA9416F6, 0xF0DE1F34, 0x5FD60522, 0x7B558C40, 0x655A040E,
    0xA61A280C, 0xBCC6FFBA, 0x35AFBE98, 0xBF40A426, 0x0214DBE4, 0x79135D52, 0x5D4ECBF0, 0x9E20573E,
    0x00B59ABC, 0x93097DEA, 0xCD001448, 0xB71D7D56, 0x690FC494, 0xDB03C182, 0x8B7CF7A0, 0x9028766E,
    0x7AE2B96C, 0xBCE8881A, 0x10EAD5F8, 0xA17DA286, 0x4C19D944, 0x39AA31B2, 0x3C5B0F50, 0xA725619E,
    0xD64C841C, 0x10C71E4A, 0xF94B03A8, 0x227413B6, 0xB43E19F4, 0x19C9ADE2, 0x95241300, 0x0B8A18CE,
    0x8F5DFACC, 0xCDC8407A, 0xC4BB9D58, 0xB2D3D0E6, 0x3D4786A4, 0x00E53612, 0x59D302B0, 0xD2899BFE,
    0x8D421D7C, 0xCBCEEEAA, 0xA897A308, 0xD02FDA16, 0xC5C11F54, 0xA53FCA42, 0x9D22DE60, 0x2E16EB2E,
    0xD1E3EC2C, 0xAB7E28DA, 0x80FA14B8, 0x2CDB2F46, 0x1EF5E404, 0x1DDC6A72, 0x708EA610, 0x9CE5065E,
    0x29EE66DC, 0x0638EF0A, 0x80BDF268, 0xDFE8D076, 0xBCF0D4B4, 0x127E16A2, 0x945159C0, 0x1A66ED8E,
    0xDCCC8D8C, 0x9E22413A, 0xE17E3C18, 0x952BBDA6, 0x667CF164, 0xEBA7CED2, 0x2765F970, 0x4ECFA0BE,
    0x5CA9603C, 0x8E1D1F6A, 0x9395F1C8, 0xBD36F6D6, 0xE5253A14, 0x029C9302, 0x57878520, 0xBF121FEE,
    0xF66FDEEC, 0x79CC899A, 0xEE201378, 0xBD5D7C06, 0xB534AEC4, 0xD15F6332, 0x1130FCD0, 0xFCE16B1E,
    0x81CB099C, 0xBD937FCA, 0x5EF7A128, 0x1FB24D36, 0xB5B64F74, 0x22B33F62, 0xAF9D6080, 0xD6B0824E,
    0x1125E04C, 0x9E9501FA, 0x1AB79AD8, 0xC3086A66, 0xD8751C24, 0x421B2792, 0xACC7B030, 0x87B2657E,
    0xA1AB62FC, 0x7AB4102A, 0xCCBB0088, 0x0AF2D396, 0xD1FC14D4, 0x2BDA1BC2, 0x516AEBE0, 0xE7DA14AE,
    0xCB4691AC, 0xF893AA5A, 0x471CD238, 0x0FC488C6, 0xC9963984, 0xBCF31BF2, 0x65021390, 0x9BDA8FDE,
    0x70A26C5C, 0x3796D08A, 0x32B80FE8, 0xCE9089F6, 0x094E8A34, 0xE3292822, 0xDDC82740, 0x4526D70E,
    0x6F29F30C, 0xFFE082BA, 0xBF27B998, 0x5929D726, 0xADF006E4, 0xCCFF4052, 0x90B826F0, 0xB1F1EA3E,
    0x4F0825BC, 0xF253C0EA, 0x52C6CF48, 0x06237056, 0x5705AF94, 0x19B86482, 0xE18D12A0, 0x0D2EC96E,
    0xF328046C, 0xB8938B1A, 0x3AB050F8, 0xA0D05586, 0xD6DA8444, 0x095794B2, 0x72C1EA50, 0x0E90749E,
    0x49348F1C, 0x3502E14A, 0x5ABF3EA8, 0x994386B6, 0xE27984F4, 0xAC9FD0E2, 0xD591AE00, 0x2A89EBCE,
    0xF998C5CC, 0xB2C4C37A, 0xDD8E9858, 0x345003E6, 0xC1ADB1A4, 0x15141912, 0x39F75DB0, 0xC24E2EFE,
    0x177FA87C, 0x15BC31AA, 0xE4795E08, 0xBB88CD16, 0xFF020A54, 0x84F76D42, 0x1EADF960, 0x53D03E2E,
    0xD0D4372C, 0x0A8C2BDA, 0x379A8FB8, 0xAD40E246, 0x17C18F04, 0x9F4CCD72, 0x01308110, 0xA9C3195E,
    0x1E4171DC, 0x3697B20A, 0xF5CD2D68, 0xEC8B4376, 0x2BF73FB4, 0x97D739A2, 0x0DB9F4C0, 0x0B99C08E,
};

namespace {

const size_t kMaxName = kCacheNameField - 1;
const size_t kMaxPath = kCachePathField - 1;

size_t BoundedLength(const char* text, size_t limit) {
    const void* zero = std::memchr(text, '\0', limit + 1);
    return zero ? static_cast<size_t>(static_cast<const char*>(zero) - text) : limit + 1;
}

// The one lead-byte rule of file paths: the one-byte katakana 0xA1..0xDF stand alone, so a tab
// named in them keeps the backslash after its name as a separator.
bool IsPathLead(unsigned char b) {
    return IsPathLeadByte(b);
}
bool IsSeparator(char c) {
    return c == '/' || c == '\\';
}

uint32_t NameHash(const char* name, size_t length) {
    uint32_t h = 2166136261u;
    for (size_t i = 0; i < length; ++i)
        h = (h ^ static_cast<unsigned char>(name[i])) * 16777619u;
    return h;
}

void CopyName(char* field, const char* name, size_t length) {
    std::memcpy(field, name, length);
    field[length] = '\0';
}

uint32_t Read32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

unsigned Read16(const unsigned char* p) {
    return static_cast<unsigned>(p[0] | p[1] << 8);
}

void Write32(unsigned char* p, uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

void Write16(unsigned char* p, size_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

// ---- file lists

bool TotalsFit(const CacheFileList& list, size_t nameLength, int32_t size) {
    int64_t total = static_cast<int64_t>(list.totalSize) + size;
    int64_t record =
        static_cast<int64_t>(list.recordSize) + static_cast<int64_t>(nameLength) + 8 + size;
    return total <= INT32_MAX && record <= INT32_MAX;
}

void AddToTotals(CacheFileList* list, const CacheFile& file, int sign) {
    int32_t record = static_cast<int32_t>(std::strlen(file.name)) + 8 + file.size;
    list->totalSize += sign * file.size;
    list->recordSize += sign * record;
}

unsigned char* CopyData(const void* data, int32_t size) {
    if (size == 0) return nullptr;
    unsigned char* copy = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(size)));
    if (copy) std::memcpy(copy, data, static_cast<size_t>(size));
    return copy;
}

CacheFile* FindInList(const CacheFileList& list, const char* name, size_t length) {
    CacheFile* f = list.first;
    if (!f) return nullptr;
    uint32_t hash = NameHash(name, length);
    do {
        if (f->nameHash == hash && std::memcmp(f->name, name, length + 1) == 0) return f;
        f = f->next;
    } while (f != list.first);
    return nullptr;
}

void ReleaseShared(CacheSharedBytes* shared) {
    if (--shared->users == 0) {
        delete[] shared->bytes;
        delete shared;
    }
}

void ReleaseData(CacheFile* f) {
    if (f->shared) {
        ReleaseShared(f->shared);
    } else {
        std::free(f->data);
    }
    f->data = nullptr;
    f->shared = nullptr;
}

// Adds a file at the end of the list: with a copy of data, or, when shared is given, pointing
// at data inside the shared bytes.
bool AppendToList(CacheFileList* list, const char* name, size_t length, int32_t size,
                  const void* data, CacheSharedBytes* shared) {
    if (!TotalsFit(*list, length, size)) return false;
    // Every field is set below; the name field is not cleared beyond its terminator.
    CacheFile* f = new CacheFile;
    f->data = nullptr;
    f->shared = nullptr;
    f->dataHash = 0;
    f->dataHashKnown = false;
    if (shared && size > 0) {
        // Loaded data is only ever read, never written through this pointer.
        f->data = static_cast<unsigned char*>(const_cast<void*>(data));
        f->shared = shared;
        ++shared->users;
    } else {
        f->data = CopyData(data, size);
        if (size > 0 && !f->data) {
            delete f;
            return false;
        }
    }
    CopyName(f->name, name, length);
    f->size = size;
    f->nameHash = NameHash(name, length);
    if (!list->first) {
        f->next = f->prev = f;
        f->index = 0;
        list->first = f;
    } else {
        CacheFile* last = list->first->prev;
        f->index = last->index + 1;
        f->next = list->first;
        f->prev = last;
        last->next = f;
        list->first->prev = f;
    }
    ++list->count;
    AddToTotals(list, *f, 1);
    return true;
}

void RemoveFromList(CacheFileList* list, CacheFile* f) {
    for (CacheFile* after = f->next; after != list->first; after = after->next)
        --after->index;
    if (f->next == f) {
        list->first = nullptr;
    } else {
        f->prev->next = f->next;
        f->next->prev = f->prev;
        if (list->first == f) list->first = f->next;
    }
    --list->count;
    AddToTotals(list, *f, -1);
    ReleaseData(f);
    delete f;
}

// ---- folder paths

// Walks the components of a path, splitting at '/' and '\\' outside two-byte characters.
// A separator at the very end starts no further component.
class PathWalk {
  public:
    explicit PathWalk(const char* path, size_t length) : p(path), end(path + length), done(false) {}
    bool Next(const char** component, size_t* length) {
        if (done) return false;
        const char* begin = p;
        while (p < end && !IsSeparator(*p))
            p += IsPathLead(static_cast<unsigned char>(*p)) && p + 1 < end ? 2 : 1;
        *component = begin;
        *length = static_cast<size_t>(p - begin);
        if (p == end || ++p == end) done = true;
        return true;
    }

  private:
    const char* p;
    const char* end;
    bool done;
};

// True when no component of the path is longer than a name may be.
bool ComponentsFit(const char* path, size_t length) {
    PathWalk check(path, length);
    const char* component;
    size_t n;
    while (check.Next(&component, &n))
        if (n > kMaxName) return false;
    return true;
}

CacheFolder* FindSibling(CacheFolder* head, const char* name, size_t length) {
    if (!head || length > kMaxName) return nullptr;
    CacheFolder* f = head;
    do {
        if (std::memcmp(f->name, name, length) == 0 && f->name[length] == '\0') return f;
        f = f->next;
    } while (f != head);
    return nullptr;
}

// Finds the folder of a path and its parent (null for the root's sibling list); the empty path
// names the root.
CacheFolder* FindFolderAndParent(CacheArchive& archive, const char* path, CacheFolder** parent) {
    *parent = nullptr;
    size_t length = BoundedLength(path, kMaxPath);
    if (length > kMaxPath) return nullptr;
    if (length == 0) return &archive.root;
    PathWalk walk(path, length);
    const char* component;
    size_t n;
    CacheFolder* current = nullptr;
    while (walk.Next(&component, &n)) {
        CacheFolder* head = current ? current->firstChild : &archive.root;
        CacheFolder* found = FindSibling(head, component, n);
        if (!found) return nullptr;
        *parent = current;
        current = found;
    }
    return current;
}

CacheFolder* AppendFolder(CacheArchive& archive, CacheFolder* parent, const char* name,
                          size_t length) {
    CacheFolder* f = new CacheFolder();
    CopyName(f->name, name, length);
    CacheFolder* head = parent ? parent->firstChild : &archive.root;
    if (!head) {
        f->position = 1;
        parent->firstChild = f;
        return f;
    }
    CacheFolder* last = head->prev;
    f->position = last->position + 1;
    f->next = head;
    f->prev = last;
    last->next = f;
    head->prev = f;
    return f;
}

void DeleteFolderNode(CacheArchive& archive, CacheFolder* folder, CacheFolder* parent) {
    CacheFolder* head = parent ? parent->firstChild : &archive.root;
    for (CacheFolder* s = folder->next; s != head; s = s->next)
        --s->position;
    if (parent && parent->firstChild == folder)
        parent->firstChild = folder->next == folder ? nullptr : folder->next;
    folder->prev->next = folder->next;
    folder->next->prev = folder->prev;
    folder->next = folder->prev = folder;
    delete folder;
}

// Longest path below a folder, counted from the end of its own name.
size_t DeepestSuffix(const CacheFolder* folder) {
    size_t deepest = 0;
    const CacheFolder* c = folder->firstChild;
    if (!c) return 0;
    do {
        size_t here = 1 + std::strlen(c->name) + DeepestSuffix(c);
        if (here > deepest) deepest = here;
        c = c->next;
    } while (c != folder->firstChild);
    return deepest;
}

size_t PathLengthOf(const char* path) {
    size_t length = std::strlen(path);
    // A trailing separator names the same folder as the path without it.
    if (length > 0 && IsSeparator(path[length - 1])) {
        size_t i = 0, lastStart = 0;
        while (i < length) {
            lastStart = i;
            i += IsPathLead(static_cast<unsigned char>(path[i])) && i + 1 < length ? 2 : 1;
        }
        if (lastStart == length - 1) --length;
    }
    return length;
}

bool HasSeparator(const char* name, size_t length) {
    for (size_t i = 0; i < length; i += IsPathLead(static_cast<unsigned char>(name[i])) ? 2 : 1)
        if (IsSeparator(name[i])) return true;
    return false;
}

// Cuts a new name to 255 bytes without splitting a two-byte character.
size_t CutNewName(const char* name) {
    size_t length = BoundedLength(name, kMaxName);
    if (length <= kMaxName) return length;
    size_t i = 0;
    while (i < kMaxName) {
        size_t step = IsPathLead(static_cast<unsigned char>(name[i])) ? 2 : 1;
        if (i + step > kMaxName) break;
        i += step;
    }
    return i;
}

void DeleteAllFolders(CacheArchive& archive) {
    CacheFolder& root = archive.root;
    while (root.next != &root)
        DeleteFolderNode(archive, root.next, nullptr);
    while (root.firstChild)
        DeleteFolderNode(archive, root.firstChild, &root);
    delete root.files;
    root.files = nullptr;
    if (root.pendingBytes) ReleaseShared(root.pendingBytes);
    root.pendingBytes = nullptr;
}

int CountFiles(const CacheArchive& archive) {
    std::vector<CacheFolderRecord> folders;
    CacheFlatten(archive, &folders);
    int count = 0;
    for (const CacheFolderRecord& r : folders)
        if (CacheFileList* files = CacheFolderFiles(*r.folder)) count += files->count;
    return count;
}

// ---- saving

// One content placed in the file: its digest, size, the offset of its copy and where its
// bytes are in memory.
struct CacheBlockRef {
    uint32_t digest0;
    uint32_t digest1;
    int32_t size;
    uint32_t offset;
    const unsigned char* data;
    uint64_t quickHash;
    int32_t next; // the next block of the same hash bucket, or -1
};

// A quick hash of the bytes, eight at a time, to find equal contents; the digest, which walks
// the bytes one at a time, is computed once per distinct content.
uint64_t QuickHash(const unsigned char* data, int32_t size) {
    const uint64_t k = 0x9E3779B97F4A7C15ull;
    size_t n = static_cast<size_t>(size), i = 0;
    // Four independent lanes: one multiply chain would wait on itself at every word.
    uint64_t lanes[4] = {static_cast<uint64_t>(size) * k, 1, 2, 3};
    for (; i + 32 <= n; i += 32) {
        for (int j = 0; j < 4; ++j) {
            uint64_t w;
            std::memcpy(&w, data + i + 8 * j, 8);
            lanes[j] = (lanes[j] ^ w) * k;
            lanes[j] ^= lanes[j] >> 29;
        }
    }
    uint64_t h = lanes[0];
    for (int j = 1; j < 4; ++j) {
        h = (h ^ lanes[j]) * k;
        h ^= h >> 29;
    }
    for (; i < n; ++i)
        h = (h ^ data[i]) * k;
    return h ^ (h >> 32);
}

// Contents placed so far. Equal hashes are confirmed by comparing the bytes, so two different
// contents never share one copy. Files loaded from one copy point at the same bytes: they are
// found by that address alone, with nothing to hash or compare.
class BlockTable {
  public:
    explicit BlockTable(size_t files) {
        size_t buckets = 64;
        while (buckets < files / 2)
            buckets *= 2;
        heads.assign(buckets, -1);
        byAddress.assign(buckets, AddressSlot{nullptr, 0, -1});
    }
    int32_t FindAddress(const unsigned char* data, int32_t size) const {
        const AddressSlot& slot = byAddress[Bucket(reinterpret_cast<uintptr_t>(data))];
        return data && slot.data == data && slot.size == size ? slot.block : -1;
    }
    int32_t Find(uint64_t quickHash, int32_t size, const unsigned char* data) const {
        for (int32_t i = heads[Bucket(quickHash)]; i >= 0; i = records[i].next) {
            const CacheBlockRef& r = records[i];
            if (r.quickHash == quickHash && r.size == size &&
                (size == 0 || std::memcmp(r.data, data, static_cast<size_t>(size)) == 0))
                return i;
        }
        return -1;
    }
    int32_t Add(uint64_t quickHash, int32_t size, uint32_t offset, const unsigned char* data) {
        uint32_t d0, d1;
        CacheDigest(data, static_cast<size_t>(size), &d0, &d1);
        int32_t& head = heads[Bucket(quickHash)];
        records.push_back(CacheBlockRef{d0, d1, size, offset, data, quickHash, head});
        head = static_cast<int32_t>(records.size() - 1);
        return head;
    }
    // Later files with these bytes at this address are found by it.
    void RememberAddress(const unsigned char* data, int32_t size, int32_t block) {
        if (data) byAddress[Bucket(reinterpret_cast<uintptr_t>(data))] = {data, size, block};
    }
    const CacheBlockRef& Block(int32_t i) const { return records[static_cast<size_t>(i)]; }

  private:
    size_t Bucket(uint64_t key) const {
        return static_cast<size_t>((key ^ (key >> 29)) * 0x9E3779B97F4A7C15ull >> 32) &
               (heads.size() - 1);
    }
    struct AddressSlot {
        const unsigned char* data;
        int32_t size;
        int32_t block;
    };
    std::vector<int32_t> heads;
    std::vector<AddressSlot> byAddress; // the last address seen in each slot
    std::vector<CacheBlockRef> records;
};

// Where one file's data goes: the block it shares, and whether its record carries the copy.
struct PlacedData {
    int32_t block;
    bool follows;
};

// A folder of the save, in the order of CacheFlatten, with the length of its path. The paths
// themselves are rebuilt in one buffer while they are written, so the save holds no copy of them.
struct SavedFolder {
    const CacheFolder* folder;
    size_t pathLength;
};

void ListSavedFolders(const CacheFolder* head, size_t prefixLength, std::vector<SavedFolder>* out) {
    const CacheFolder* f = head;
    do {
        size_t length = prefixLength + std::strlen(f->name);
        out->push_back(SavedFolder{f, length});
        if (f->firstChild) ListSavedFolders(f->firstChild, length + 1, out);
        f = f->next;
    } while (f != head);
}

// Puts the folder's path at the start of path, which holds its parent's path already (the
// folders come parent first, and a parent's other descendants only write further on).
void RebuildPath(char* path, const SavedFolder& saved) {
    size_t nameLength = std::strlen(saved.folder->name);
    size_t prefixLength = saved.pathLength - nameLength;
    if (prefixLength > 0) path[prefixLength - 1] = '\\';
    std::memcpy(path + prefixLength, saved.folder->name, nameLength);
}

// Lays out every file's data: the first file of each content carries it, later ones point
// at it. Returns the size of the whole archive file, or 0 when it would pass 4 GiB.
size_t PlaceData(const std::vector<SavedFolder>& folders, BlockTable* blocks,
                 std::vector<PlacedData>* placed) {
    size_t pos = kCacheHeaderSize;
    for (const SavedFolder& r : folders) {
        pos += 6 + r.pathLength;
        const CacheFileList* list = CacheFolderFiles(*r.folder);
        if (!list || !list->first) continue;
        const CacheFile* f = list->first;
        do {
            pos += 18 + std::strlen(f->name);
            int32_t same = blocks->FindAddress(f->data, f->size);
            uint64_t quickHash = 0;
            if (same < 0) {
                quickHash = QuickHash(f->data, f->size);
                same = blocks->Find(quickHash, f->size, f->data);
                if (same >= 0) blocks->RememberAddress(f->data, f->size, same);
            }
            if (same >= 0) {
                placed->push_back(PlacedData{same, false});
            } else {
                if (pos > UINT32_MAX) return 0;
                int32_t block =
                    blocks->Add(quickHash, f->size, static_cast<uint32_t>(pos), f->data);
                blocks->RememberAddress(f->data, f->size, block);
                placed->push_back(PlacedData{block, true});
                pos += static_cast<size_t>(f->size);
            }
            f = f->next;
        } while (f != list->first);
    }
    return pos > UINT32_MAX ? 0 : pos;
}

} // namespace

// ---- checksum and digest

uint32_t CacheChecksum(const unsigned char* bytes, size_t size, uint32_t start) {
    uint32_t h = start;
    for (size_t i = 0; i < size; ++i) {
        // Sign extension of the byte does not change the low eight bits of the sum.
        uint32_t index = (h + bytes[i]) & 0xFFu;
        h = static_cast<uint32_t>(static_cast<int32_t>(h) >> 8) ^ kCacheTable[index];
    }
    return h;
}

void CacheDigest(const unsigned char* bytes, size_t size, uint32_t* digest0, uint32_t* digest1) {
    uint32_t w0 = 0, w1 = 0;
    size_t i = 0;
    for (; i + 1 < size; i += 2) {
        w0 = (w0 >> 8) ^ kCacheTable[(w0 + bytes[i]) & 0xFFu];
        w1 = (w1 >> 8) ^ kCacheTable[(w1 + bytes[i + 1]) & 0xFFu];
    }
    if (i < size) w0 = (w0 >> 8) ^ kCacheTable[(w0 + bytes[i]) & 0xFFu];
    *digest0 = w0;
    *digest1 = w1;
}

uint32_t CacheFileDataHash(CacheFile* file) {
    if (!file->dataHashKnown) {
        file->dataHash = CacheChecksum(file->data, static_cast<size_t>(file->size), 0);
        file->dataHashKnown = true;
    }
    return file->dataHash;
}

// ---- classes

CacheFileList::CacheFileList() : first(nullptr), count(0), totalSize(0), recordSize(0) {}

CacheFileList::~CacheFileList() {
    if (!first) return;
    first->prev->next = nullptr;
    while (first) {
        CacheFile* next = first->next;
        ReleaseData(first);
        delete first;
        first = next;
    }
}

CacheFolder::CacheFolder()
    : files(nullptr), position(0), pendingCount(0), next(this), prev(this), firstChild(nullptr),
      pendingBytes(nullptr), pendingAt(0) {
    name[0] = '\0';
}

CacheFolder::~CacheFolder() {
    delete files;
    if (pendingBytes) ReleaseShared(pendingBytes);
    CacheFolder* c = firstChild;
    if (!c) return;
    c->prev->next = nullptr;
    while (c) {
        CacheFolder* following = c->next;
        delete c;
        c = following;
    }
}

CacheArchive::CacheArchive() : magic(kCacheMagic), modified(false) {}

CacheArchive::~CacheArchive() {
    // The top-level folders hang in the root's sibling list, which the root does not own.
    while (root.next != &root) {
        CacheFolder* f = root.next;
        root.next = f->next;
        delete f;
    }
    root.prev = &root;
}

// ---- lists

CacheFile* CacheListFind(const CacheFileList& list, const char* name) {
    size_t length = BoundedLength(name, kMaxName);
    return length > kMaxName ? nullptr : FindInList(list, name, length);
}

CacheFile* CacheListFindIndex(const CacheFileList& list, int32_t index) {
    CacheFile* f = list.first;
    if (!f) return nullptr;
    if (f->index == index) return f;
    CacheFile* last = f->prev;
    if (index > last->index / 2) {
        for (CacheFile* g = last; g != f; g = g->prev)
            if (g->index == index) return g;
    } else {
        for (CacheFile* g = f->next; g != f; g = g->next)
            if (g->index == index) return g;
    }
    return nullptr;
}

int32_t CacheListLargestSize(const CacheFileList& list) {
    int32_t largest = 0;
    CacheFile* f = list.first;
    if (!f) return 0;
    do {
        if (f->size > largest) largest = f->size;
        f = f->next;
    } while (f != list.first);
    return largest;
}

// ---- tree

static void FlattenRing(CacheFolder* head, const std::string& prefix,
                        std::vector<CacheFolderRecord>* out) {
    CacheFolder* f = head;
    do {
        out->push_back(CacheFolderRecord{prefix + f->name, f});
        if (f->firstChild) FlattenRing(f->firstChild, out->back().path + "\\", out);
        f = f->next;
    } while (f != head);
}

void CacheFlatten(const CacheArchive& archive, std::vector<CacheFolderRecord>* out) {
    out->clear();
    FlattenRing(const_cast<CacheFolder*>(&archive.root), std::string(), out);
}

CacheFolder* CacheFindFolder(CacheArchive& archive, const char* path) {
    CacheFolder* parent;
    return FindFolderAndParent(archive, path, &parent);
}

CacheFolder* CacheCreateFolderPath(CacheArchive& archive, const char* path) {
    size_t length = BoundedLength(path, kMaxPath);
    if (length > kMaxPath) return nullptr;
    if (length == 0) return &archive.root;
    // Check every component before creating any, so a refused path leaves no folders behind.
    if (!ComponentsFit(path, length)) return nullptr;
    const char* component;
    size_t n;
    PathWalk walk(path, length);
    CacheFolder* current = nullptr;
    while (walk.Next(&component, &n)) {
        CacheFolder* head = current ? current->firstChild : &archive.root;
        CacheFolder* found = FindSibling(head, component, n);
        current = found ? found : AppendFolder(archive, current, component, n);
    }
    return current;
}

// ---- operations on one archive

int CacheAddFile(CacheArchive& archive, const char* path, const char* name, int32_t size,
                 const void* data) {
    size_t length = BoundedLength(name, kMaxName);
    if (length > kMaxName || size < 0 || (size > 0 && !data)) return 0;
    CacheFolder* folder = CacheCreateFolderPath(archive, path);
    if (!folder) return 0;
    CacheFileList* files = CacheFolderFiles(*folder);
    if (!files) files = folder->files = new CacheFileList();
    if (FindInList(*files, name, length)) return 0;
    if (!AppendToList(files, name, length, size, data, nullptr)) return 0;
    archive.modified = true;
    return 1;
}

int CacheReplaceFile(CacheArchive& archive, const char* path, const char* name, int32_t size,
                     const void* data) {
    if (size < 0 || (size > 0 && !data)) return 0;
    CacheFolder* folder = CacheFindFolder(archive, path);
    CacheFileList* files = folder ? CacheFolderFiles(*folder) : nullptr;
    if (!files) return 0;
    CacheFile* f = CacheListFind(*files, name);
    if (!f) return 0;
    AddToTotals(files, *f, -1);
    unsigned char* copy = CopyData(data, size);
    if ((size > 0 && !copy) || !TotalsFit(*files, std::strlen(f->name), size)) {
        std::free(copy);
        AddToTotals(files, *f, 1);
        return 0;
    }
    ReleaseData(f);
    f->data = copy;
    f->size = size;
    f->dataHashKnown = false;
    AddToTotals(files, *f, 1);
    archive.modified = true;
    return 1;
}

int CacheGetFile(CacheArchive& archive, CacheFile* destination, const char* path,
                 const char* name) {
    CacheFolder* folder = CacheFindFolder(archive, path);
    CacheFileList* files = folder ? CacheFolderFiles(*folder) : nullptr;
    if (!files) return 0;
    CacheFile* f = CacheListFind(*files, name);
    if (!f) return 0;
    unsigned char* copy = nullptr;
    if (f->size > 0) {
        copy = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(f->size) + 1));
        if (!copy) return 0;
        std::memcpy(copy, f->data, static_cast<size_t>(f->size));
        copy[f->size] = 0;
    }
    std::memcpy(destination->name, f->name, sizeof f->name);
    destination->size = f->size;
    destination->dataHash = CacheFileDataHash(f);
    destination->dataHashKnown = true;
    destination->data = copy;
    destination->index = f->index;
    destination->nameHash = f->nameHash;
    destination->shared = nullptr;
    destination->next = destination->prev = nullptr;
    return 1;
}

int CacheHasFile(CacheArchive& archive, const char* path, const char* name) {
    CacheFolder* folder = CacheFindFolder(archive, path);
    CacheFileList* files = folder ? CacheFolderFiles(*folder) : nullptr;
    return files && CacheListFind(*files, name) ? 1 : 0;
}

int CacheDeleteFile(CacheArchive& archive, const char* path, const char* name) {
    CacheFolder* parent;
    CacheFolder* folder = FindFolderAndParent(archive, path, &parent);
    CacheFileList* files = folder ? CacheFolderFiles(*folder) : nullptr;
    if (!files) return 0;
    CacheFile* f = CacheListFind(*files, name);
    if (!f) return 0;
    RemoveFromList(files, f);
    archive.modified = true;
    // An emptied folder goes too, unless other icons live in folders below it.
    if (files->count == 0 && folder != &archive.root && !folder->firstChild)
        DeleteFolderNode(archive, folder, parent);
    return 1;
}

int CacheDeleteFolder(CacheArchive& archive, const char* path) {
    CacheFolder* parent;
    CacheFolder* folder = FindFolderAndParent(archive, path, &parent);
    if (!folder || folder == &archive.root) return 0;
    DeleteFolderNode(archive, folder, parent);
    archive.modified = true;
    return 1;
}

int CacheRenameFolder(CacheArchive& archive, const char* path, const char* newName) {
    CacheFolder* parent;
    CacheFolder* folder = FindFolderAndParent(archive, path, &parent);
    if (!folder || folder == &archive.root) return 0;
    size_t length = CutNewName(newName);
    if (length == 0 || HasSeparator(newName, length)) return 0;
    // Two siblings of one name would be saved as one path and merged when read back.
    CacheFolder* head = parent ? parent->firstChild : &archive.root;
    CacheFolder* same = FindSibling(head, newName, length);
    if (same && same != folder) return 0;
    size_t pathLength =
        PathLengthOf(path) - std::strlen(folder->name) + length + DeepestSuffix(folder);
    if (pathLength > kMaxPath) return 0;
    CopyName(folder->name, newName, length);
    archive.modified = true;
    return 1;
}

int CacheClear(CacheArchive& archive) {
    int count = CountFiles(archive);
    DeleteAllFolders(archive);
    archive.modified = true;
    return count;
}

int CacheValidateBytes(const unsigned char* bytes, size_t size) {
    if (size < kCacheHeaderSize) return 0;
    return CacheChecksum(bytes + 8, size - 8, kCacheChecksumStart) == Read32(bytes + 4) ? 1 : 0;
}

namespace {

struct FileRecord {
    char name[kCacheNameField];
    int32_t size;
    const unsigned char* data;
};

// Reads the file record at *pos and moves past it (and past its data when that follows it);
// false when the bytes end or are damaged before it does.
bool ReadFileRecord(const unsigned char* bytes, size_t size, size_t* pos, FileRecord* file) {
    size_t at = *pos;
    if (size - at < 2) return false;
    size_t nameLength = Read16(bytes + at);
    at += 2;
    if (nameLength > kMaxName || size - at < nameLength + 16) return false;
    if (file) CopyName(file->name, reinterpret_cast<const char*>(bytes + at), nameLength);
    at += nameLength;
    int32_t dataSize = static_cast<int32_t>(Read32(bytes + at));
    uint32_t offset = Read32(bytes + at + 12);
    at += 16;
    if (dataSize < 0) return false;
    const unsigned char* data;
    if (offset == at) {
        if (size - at < static_cast<size_t>(dataSize)) return false;
        data = bytes + at;
        at += static_cast<size_t>(dataSize);
    } else {
        if (offset > size || size - offset < static_cast<size_t>(dataSize)) return false;
        data = bytes + offset;
    }
    if (file) {
        file->size = dataSize;
        file->data = data;
    }
    *pos = at;
    return true;
}

// Nodes (folders or files) by their owner (a parent folder, or a folder for its files) and
// name. The probed array holds only each node's hash and its number in a side list, eight
// bytes a slot, so that the array of a wide archive stays in the processor's cache: a lookup
// touches one line of it, and the node only when the hash matches. A table of linked nodes
// followed pointers across the whole heap, which made each folder of a wide archive slower
// to load the more folders it had.
template <typename Node> class NameTable {
  public:
    static uint32_t Hash(const void* owner, const char* name, size_t length) {
        uint32_t place = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(owner) >> 4);
        return NameHash(name, length) ^ place * 2654435761u;
    }
    void Reserve(size_t count) {
        nodes_.reserve(count);
        Grow(count);
    }
    Node* Find(const void* owner, const char* name, size_t length, uint32_t hash) const {
        if (slots_.empty()) return nullptr;
        for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
            uint64_t slot = slots_[i];
            if (slot == 0) return nullptr;
            if (static_cast<uint32_t>(slot >> 32) != hash) continue;
            const Named& named = nodes_[static_cast<uint32_t>(slot) - 1];
            if (named.owner == owner && std::memcmp(named.node->name, name, length) == 0 &&
                named.node->name[length] == '\0')
                return named.node;
        }
    }
    // Asks the processor for the slot a lookup of this hash starts at.
    void Prefetch(uint32_t hash) const {
        if (!slots_.empty()) __builtin_prefetch(&slots_[hash & mask_]);
    }
    void Add(const void* owner, Node* node, uint32_t hash) {
        if ((nodes_.size() + 1) * 4 > slots_.size() * 3) Grow(nodes_.size() + 1);
        nodes_.push_back(Named{owner, node});
        Place(static_cast<uint64_t>(hash) << 32 | nodes_.size());
    }

  private:
    struct Named {
        const void* owner;
        Node* node;
    };
    // A slot is the hash above the node's number counted from 1; 0 is a free slot. Every
    // node takes far more memory than a loaded archive could give 2^32 of them.
    void Place(uint64_t slot) {
        size_t i = static_cast<uint32_t>(slot >> 32) & mask_;
        while (slots_[i])
            i = (i + 1) & mask_;
        slots_[i] = slot;
    }
    // At most three quarters full: probes stay within a line or two.
    void Grow(size_t count) {
        size_t size = 16;
        while (size * 3 < count * 4)
            size *= 2;
        if (size <= slots_.size()) return;
        std::vector<uint64_t> old;
        old.swap(slots_);
        slots_.assign(size, 0);
        mask_ = size - 1;
        for (uint64_t slot : old)
            if (slot) Place(slot);
    }

    std::vector<uint64_t> slots_;
    std::vector<Named> nodes_;
    size_t mask_ = 0;
};

// Finds folders and files by name in constant time while a file is loaded; the tree's own
// lists are searched from their start, which made loading quadratic in their length. Lists
// that existed before the loading are indexed when first touched. The folder table is sized
// for the count the header announces (as far as the bytes can hold it), so a wide archive is
// not rehashed again and again while it loads.
class LoadIndex {
  public:
    LoadIndex(CacheArchive& archive, size_t folders)
        : archive_(archive),
          // An archive that holds nothing yet (the load at start-up) has no lists to index.
          seeding_(archive.root.next != &archive.root || archive.root.firstChild) {
        folders_.Reserve(folders);
    }

    // As CacheCreateFolderPath.
    CacheFolder* FolderPath(const char* path) {
        size_t length = std::strlen(path);
        if (length == 0) return &archive_.root;
        if (!ComponentsFit(path, length)) return nullptr;
        const char* component;
        size_t n;
        PathWalk walk(path, length);
        CacheFolder* current = nullptr;
        while (walk.Next(&component, &n))
            current = Child(current, component, n);
        return current;
    }

    // Starts fetching the slot of the path's last folder, taken to lie where the folder last
    // made or found lies (folders follow their siblings). A wrong guess costs nothing but the
    // fetch.
    void PrefetchSibling(const char* path, size_t length) const {
        const char* component = nullptr;
        size_t n = 0;
        PathWalk walk(path, length);
        while (walk.Next(&component, &n)) {
        }
        if (component) folders_.Prefetch(NameTable<CacheFolder>::Hash(lastParent_, component, n));
    }

    // Adds count whole file records from at on to the folder. A folder without files keeps
    // them to be made into files when first asked for: most of a big archive is never looked
    // at before the window shows, and a file node takes far more memory than its record. The
    // files of a folder named again, or one that held files already, are added now.
    void AddFiles(CacheFolder* folder, CacheSharedBytes* shared, size_t at, uint32_t count) {
        if (!folder->pendingBytes && (!folder->files || !folder->files->first)) {
            ++shared->users;
            folder->pendingBytes = shared;
            folder->pendingAt = at;
            folder->pendingCount = count;
            return;
        }
        CacheFolderFiles(*folder);
        SeedFiles(folder);
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(shared->bytes);
        FileRecord file;
        for (uint32_t j = 0; j < count && ReadFileRecord(bytes, shared->size, &at, &file); ++j)
            AddFile(folder, file.name, file.size, file.data, shared);
    }

  private:
    // Adds a loaded file unless its folder holds one of that name.
    void AddFile(CacheFolder* folder, const char* name, int32_t size, const void* data,
                 CacheSharedBytes* shared) {
        size_t length = std::strlen(name);
        uint32_t hash = NameTable<CacheFile>::Hash(folder, name, length);
        if (files_.Find(folder, name, length, hash)) return;
        if (!folder->files) folder->files = new CacheFileList();
        if (AppendToList(folder->files, name, length, size, data, shared))
            files_.Add(folder, folder->files->first->prev, hash);
    }

    // The folder of this name under parent (null: the top level), made when missing.
    CacheFolder* Child(CacheFolder* parent, const char* name, size_t length) {
        lastParent_ = parent;
        SeedFolders(parent);
        uint32_t hash = NameTable<CacheFolder>::Hash(parent, name, length);
        if (CacheFolder* found = folders_.Find(parent, name, length, hash)) return found;
        CacheFolder* made = AppendFolder(archive_, parent, name, length);
        folders_.Add(parent, made, hash);
        return made;
    }
    void SeedFolders(CacheFolder* parent) {
        if (!seeding_ || parent == lastSeeded_) return;
        lastSeeded_ = parent;
        if (!seededParents_.insert(parent).second) return;
        CacheFolder* head = parent ? parent->firstChild : &archive_.root;
        if (!head) return;
        CacheFolder* f = head;
        do {
            size_t length = std::strlen(f->name);
            uint32_t hash = NameTable<CacheFolder>::Hash(parent, f->name, length);
            if (!folders_.Find(parent, f->name, length, hash)) folders_.Add(parent, f, hash);
            f = f->next;
        } while (f != head);
    }
    void SeedFiles(CacheFolder* folder) {
        if (!seededFolders_.insert(folder).second || !folder->files || !folder->files->first)
            return;
        CacheFile* f = folder->files->first;
        do {
            size_t length = std::strlen(f->name);
            uint32_t hash = NameTable<CacheFile>::Hash(folder, f->name, length);
            if (!files_.Find(folder, f->name, length, hash)) files_.Add(folder, f, hash);
            f = f->next;
        } while (f != folder->files->first);
    }

    CacheArchive& archive_;
    bool seeding_;
    NameTable<CacheFolder> folders_;
    std::unordered_set<const void*> seededParents_;
    NameTable<CacheFile> files_;
    std::unordered_set<const void*> seededFolders_;
    const void* lastSeeded_ = this; // no parent yet
    CacheFolder* lastParent_ = nullptr;
};

void LoadShared(CacheArchive& archive, CacheSharedBytes* shared) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(shared->bytes);
    size_t size = shared->size;
    if (size < kCacheHeaderSize || Read32(bytes) != archive.magic) return;
    uint32_t folders = Read32(bytes + 8);
    size_t pos = kCacheHeaderSize;
    char path[kCachePathField];
    // A folder record takes at least 6 bytes: a damaged count cannot make the table larger
    // than the bytes could fill.
    LoadIndex index(archive, std::min<size_t>(folders, size / 6));
    for (uint32_t i = 0; i < folders; ++i) {
        if (size - pos < 2) return;
        size_t pathLength = Read16(bytes + pos);
        pos += 2;
        if (pathLength > kMaxPath || size - pos < pathLength + 4) return;
        CopyName(path, reinterpret_cast<const char*>(bytes + pos), pathLength);
        pos += pathLength;
        uint32_t files = Read32(bytes + pos);
        pos += 4;
        // The records are checked now, so that those kept for later are known to be whole.
        size_t first = pos;
        uint32_t whole = 0;
        while (whole < files && ReadFileRecord(bytes, size, &pos, nullptr))
            ++whole;
        // The next folder's slot is fetched while this folder is looked up: in a wide
        // archive each lookup would otherwise wait for memory.
        if (whole == files && i + 1 < folders && size - pos >= 2) {
            size_t nextLength = std::min<size_t>(Read16(bytes + pos), size - pos - 2);
            index.PrefetchSibling(reinterpret_cast<const char*>(bytes + pos + 2), nextLength);
        }
        CacheFolder* folder = index.FolderPath(path);
        if (folder && whole > 0) index.AddFiles(folder, shared, first, whole);
        if (whole < files) return;
    }
}

// Takes over bytes allocated with new[]; they live as long as a loaded file or a folder's
// records kept for later point into them.
void LoadOwnedBytes(CacheArchive& archive, char* bytes, size_t size) {
    CacheSharedBytes* shared = new CacheSharedBytes{bytes, 1, size};
    LoadShared(archive, shared);
    ReleaseShared(shared);
}

} // namespace

// Makes the records a loaded folder kept for later into its files, in their order, each unless
// an earlier one had its name, as a load adds them.
static void MakePendingFiles(const CacheFolder& folder) {
    CacheSharedBytes* shared = folder.pendingBytes;
    folder.pendingBytes = nullptr;
    if (!folder.files) folder.files = new CacheFileList();
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(shared->bytes);
    size_t pos = folder.pendingAt;
    NameTable<CacheFile> names;
    names.Reserve(folder.pendingCount);
    FileRecord file;
    for (uint32_t j = 0;
         j < folder.pendingCount && ReadFileRecord(bytes, shared->size, &pos, &file); ++j) {
        size_t length = std::strlen(file.name);
        uint32_t hash = NameTable<CacheFile>::Hash(&folder, file.name, length);
        if (names.Find(&folder, file.name, length, hash)) continue;
        if (AppendToList(folder.files, file.name, length, file.size, file.data, shared))
            names.Add(&folder, folder.files->first->prev, hash);
    }
    ReleaseShared(shared);
}

CacheFileList* CacheFolderFiles(const CacheFolder& folder) {
    if (folder.pendingBytes) MakePendingFiles(folder);
    return folder.files;
}

void CacheLoadBytes(CacheArchive& archive, const unsigned char* bytes, size_t size) {
    char* copy = new char[size > 0 ? size : 1];
    if (size > 0) std::memcpy(copy, bytes, size);
    LoadOwnedBytes(archive, copy, size);
}

bool CacheSaveBytes(const CacheArchive& archive, std::string* out) {
    std::vector<SavedFolder> folders;
    ListSavedFolders(&archive.root, 0, &folders);
    size_t fileCount = 0;
    for (const SavedFolder& r : folders) {
        if (r.pathLength > kMaxPath) return false;
        if (CacheFileList* files = CacheFolderFiles(*r.folder))
            fileCount += static_cast<size_t>(files->count);
    }
    // The layout is decided first, so the buffer holds exactly what is written.
    BlockTable blocks(fileCount);
    std::vector<PlacedData> placed;
    placed.reserve(fileCount);
    size_t total = PlaceData(folders, &blocks, &placed);
    if (total == 0) return false;
    out->assign(total, '\0');
    unsigned char* buffer = reinterpret_cast<unsigned char*>(&(*out)[0]);
    Write32(buffer, archive.magic);
    Write32(buffer + 8, static_cast<uint32_t>(folders.size()));
    Write32(buffer + 12, static_cast<uint32_t>(fileCount));
    size_t pos = kCacheHeaderSize;
    size_t n = 0;
    char path[kMaxPath + 1];
    for (const SavedFolder& r : folders) {
        RebuildPath(path, r);
        Write16(buffer + pos, r.pathLength);
        std::memcpy(buffer + pos + 2, path, r.pathLength);
        pos += 2 + r.pathLength;
        const CacheFileList* list = CacheFolderFiles(*r.folder);
        Write32(buffer + pos, list ? static_cast<uint32_t>(list->count) : 0);
        pos += 4;
        if (!list || !list->first) continue;
        const CacheFile* f = list->first;
        do {
            const PlacedData& p = placed[n++];
            const CacheBlockRef& block = blocks.Block(p.block);
            size_t nameLength = std::strlen(f->name);
            Write16(buffer + pos, nameLength);
            std::memcpy(buffer + pos + 2, f->name, nameLength);
            pos += 2 + nameLength;
            Write32(buffer + pos, static_cast<uint32_t>(f->size));
            Write32(buffer + pos + 4, block.digest0);
            Write32(buffer + pos + 8, block.digest1);
            Write32(buffer + pos + 12, block.offset);
            pos += 16;
            if (p.follows && f->size > 0) {
                std::memcpy(buffer + pos, f->data, static_cast<size_t>(f->size));
                pos += static_cast<size_t>(f->size);
            }
            f = f->next;
        } while (f != list->first);
    }
    Write32(buffer + 4, CacheChecksum(buffer + 8, pos - 8, kCacheChecksumStart));
    return true;
}

// ---- the two process-wide archives

namespace {
CacheArchive archives[2];
// An archive file that was there at start but could not be read holds icons this run never
// saw (individually set ones among them): it is not saved over.
bool unreadableAtStart[2];
} // namespace

int CacheArchiveAuto() {
    return 0;
}
int CacheArchiveUser() {
    return 1;
}

CacheArchive* CacheArchiveAt(int archive) {
    return archive == 0 || archive == 1 ? &archives[archive] : nullptr;
}

int CacheAddFile(int archive, const char* path, const char* name, int32_t size, const void* data) {
    CacheArchive* a = CacheArchiveAt(archive);
    return a ? CacheAddFile(*a, path, name, size, data) : -1;
}

int CacheReplaceFile(int archive, const char* path, const char* name, int32_t size,
                     const void* data) {
    CacheArchive* a = CacheArchiveAt(archive);
    return a ? CacheReplaceFile(*a, path, name, size, data) : 0;
}

int CacheGetFile(int archive, CacheFile* destination, const char* path, const char* name) {
    CacheArchive* a = CacheArchiveAt(archive);
    return a ? CacheGetFile(*a, destination, path, name) : -1;
}

int CacheHasFile(int archive, const char* path, const char* name) {
    CacheArchive* a = CacheArchiveAt(archive);
    return a ? CacheHasFile(*a, path, name) : -1;
}

int CacheDeleteFile(int archive, const char* path, const char* name) {
    CacheArchive* a = CacheArchiveAt(archive);
    return a ? CacheDeleteFile(*a, path, name) : 0;
}

int CacheDeleteFolder(int archive, const char* path) {
    CacheArchive* a = CacheArchiveAt(archive);
    return a ? CacheDeleteFolder(*a, path) : 0;
}

int CacheRenameFolder(int archive, const char* path, const char* newName) {
    CacheArchive* a = CacheArchiveAt(archive);
    return a ? CacheRenameFolder(*a, path, newName) : 0;
}

int CacheClear(int archive) {
    CacheArchive* a = CacheArchiveAt(archive);
    return a ? CacheClear(*a) : -1;
}

int CacheValidate(int archive, const char* filePath) {
    if (!CacheArchiveAt(archive)) return -1;
    std::unique_ptr<char[]> bytes;
    size_t size;
    if (!ReadWholeFile(filePath, &bytes, &size, 0)) return -1;
    return CacheValidateBytes(reinterpret_cast<const unsigned char*>(bytes.get()), size);
}

int CacheLoad(int archive, const char* filePath, uint32_t magic) {
    CacheArchive* a = CacheArchiveAt(archive);
    if (!a) return -1;
    a->magic = magic;
    std::unique_ptr<char[]> bytes;
    size_t size;
    if (!ReadWholeFile(filePath, &bytes, &size, 0)) return 1;
    LoadOwnedBytes(*a, bytes.release(), size);
    return 1;
}

int CacheSave(int archive, const char* filePath, uint32_t magic) {
    CacheArchive* a = CacheArchiveAt(archive);
    if (!a) return -1;
    a->magic = magic;
    std::string bytes;
    if (!CacheSaveBytes(*a, &bytes)) return 0;
    if (!SaveFileAtomically(filePath, bytes.data(), bytes.size())) return 0;
    return static_cast<int>(bytes.size());
}

int CacheIsModified(int archive) {
    CacheArchive* a = CacheArchiveAt(archive);
    return a && a->modified ? 1 : 0;
}

void CacheReadAtStartUp(int archive, const char* filePath, CacheStartUpRead* read) {
    CacheArchive* a = CacheArchiveAt(archive);
    read->bytes.reset();
    read->size = 0;
    read->verdict = -1;
    read->unreadable = false;
    if (!a) return;
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
    if (!ReadWholeFile(filePath, &bytes, &size, 0)) {
        read->unreadable = PathExists(filePath);
        return;
    }
    read->verdict = CacheValidateBytes(reinterpret_cast<const unsigned char*>(bytes.get()), size);
    if (read->verdict == 1) {
        a->magic = kCacheMagic;
        LoadOwnedBytes(*a, bytes.release(), size);
    } else {
        read->bytes = std::move(bytes);
        read->size = size;
    }
}

int CacheFinishStartUp(int archive, CacheStartUpRead* read, bool (*loadChanged)(void* context),
                       void* context) {
    CacheArchive* a = CacheArchiveAt(archive);
    if (!a) return -1;
    unreadableAtStart[archive] = read->unreadable;
    if (read->verdict == 0) {
        if (loadChanged && loadChanged(context)) {
            a->magic = kCacheMagic;
            LoadOwnedBytes(*a, read->bytes.release(), read->size);
        } else {
            // The user chose to clear the cache: the empty archive replaces the file at the next
            // save, so the question is not asked again at every start.
            a->modified = true;
        }
    }
    read->bytes.reset();
    return read->verdict;
}

int CacheStartUp(int archive, const char* filePath, bool (*loadChanged)(void* context),
                 void* context) {
    CacheStartUpRead read;
    CacheReadAtStartUp(archive, filePath, &read);
    return CacheFinishStartUp(archive, &read, loadChanged, context);
}

int CacheShutDown(int archive, const char* filePath) {
    if (!CacheArchiveAt(archive)) return -1;
    if (!CacheIsModified(archive) || unreadableAtStart[archive]) return 0;
    return CacheSave(archive, filePath, kCacheMagic) > 0 ? 1 : 0;
}
