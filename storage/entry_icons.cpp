#include "storage/entry_icons.h"

#include "base/path_utils.h"
#include "storage/cache_archive.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

const char kMaskSuffix[] = "_Mask";

namespace {

bool IsLeadByte(unsigned char b) {
    return b >= 0x80 && (b < 0xA1 || b > 0xDF);
}

TypeIcon g_staticTypeIcon;

// Start of the extension of a file name's last component, or null without one.
const char* FindExtension(const char* fileName) {
    const char* ext = nullptr;
    for (const char* p = fileName; *p; ++p) {
        unsigned char b = static_cast<unsigned char>(*p);
        if (IsLeadByte(b)) {
            if (p[1] == '\0') break;
            ++p;
            continue;
        }
        if (b == '\\' || b == '/') ext = nullptr;
        if (b == '.') ext = p + 1;
    }
    return ext;
}

// Lower-cases the one-byte letters only: a second byte in the letter range is left alone.
void LowerExtension(char* out, size_t capacity, const char* ext) {
    size_t n = 0;
    for (const char* p = ext; *p && n + 1 < capacity; ++p) {
        unsigned char b = static_cast<unsigned char>(*p);
        if (IsLeadByte(b) && p[1] != '\0') {
            if (n + 2 >= capacity) break;
            out[n++] = *p++;
            out[n++] = *p;
            continue;
        }
        out[n++] = (b >= 'A' && b <= 'Z') ? static_cast<char>(b - 'A' + 'a') : *p;
    }
    out[n] = '\0';
}

void PutLittleEndian(unsigned char* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<unsigned char>(value >> (8 * i));
}

void AppendCut(char* out, size_t capacity, size_t* n, const char* text) {
    size_t length = std::strlen(text);
    if (*n + length >= capacity) length = capacity - 1 - *n;
    std::memcpy(out + *n, text, length);
    *n += length;
    out[*n] = '\0';
}

// FNV-1a over the bytes of a name.
uint32_t NameHash(const char* name) {
    uint32_t h = 2166136261u;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p)
        h = (h ^ *p) * 16777619u;
    return h;
}

void FreeRecordBits(TypeIcon* record) {
    std::free(record->colourBits);
    std::free(record->maskBits);
    record->colourBits = record->maskBits = nullptr;
}

} // namespace

void TabCacheFolder(char* out, const char* tabName) {
    std::snprintf(out, kIconFolderSize, "Cache\\%s", tabName ? tabName : "");
}

void IconCacheFolder(char* out, const char* tabFolder, const char* path) {
    char copy[kIconFolderSize];
    size_t length = 0;
    AppendCut(copy, sizeof copy, &length, path ? path : "");
    int prefix = FolderPrefixLength(copy);
    if (prefix <= 0) {
        std::snprintf(out, kIconFolderSize, "%s", tabFolder);
        return;
    }
    copy[prefix - 1] = '\0';
    // Cut to the field like any composed text.
    size_t n = 0;
    AppendCut(out, kIconFolderSize, &n, tabFolder);
    AppendCut(out, kIconFolderSize, &n, "\\");
    AppendCut(out, kIconFolderSize, &n, copy);
}

void MaskFileName(char* out, const char* fileName, const char* suffix) {
    if (!fileName) fileName = "";
    if (!suffix) suffix = "";
    size_t nameLength = std::strlen(fileName);
    size_t suffixLength = std::strlen(suffix);
    const size_t kLongest = kMaskNameSize - 1;
    if (nameLength + suffixLength <= kLongest) {
        std::snprintf(out, kMaskNameSize, "%s%s", fileName, suffix);
        return;
    }
    // The archive takes no name over 255 bytes: a long name keeps its head, cut at a
    // character boundary, and a hash of the whole name keeps it apart from its neighbours.
    char hash[kMaskHashSize];
    std::snprintf(hash, sizeof hash, "~%08X", static_cast<unsigned>(NameHash(fileName)));
    size_t tail = (kMaskHashSize - 1) + suffixLength;
    size_t room = tail < kLongest ? kLongest - tail : 0;
    size_t keep = 0;
    while (keep < nameLength) {
        size_t step = IsLeadByte(static_cast<unsigned char>(fileName[keep])) ? 2 : 1;
        if (keep + step > room || keep + step > nameLength) break;
        keep += step;
    }
    std::memcpy(out, fileName, keep);
    size_t n = keep;
    out[n] = '\0';
    AppendCut(out, kMaskNameSize, &n, hash);
    AppendCut(out, kMaskNameSize, &n, suffix);
}

bool HasOwnIconType(const char* fileName) {
    const char* ext = FindExtension(fileName ? fileName : "");
    if (!ext) return false;
    char lower[8];
    if (std::strlen(ext) >= sizeof lower) return false;
    LowerExtension(lower, sizeof lower, ext);
    static const char* const kOwnTypes[] = {"exe", "lnk", "ico", "scr", "msc"};
    for (const char* type : kOwnTypes) {
        if (std::strcmp(lower, type) == 0) return true;
    }
    return false;
}

void TypeKey(char* out, const char* fileName) {
    const char* ext = FindExtension(fileName ? fileName : "");
    // A name ending in a dot has no extension either; an empty key would look unused.
    if (!ext || *ext == '\0') {
        std::strcpy(out, "None");
        return;
    }
    LowerExtension(out, kTypeKeySize, ext);
}

void BuildBitmapHeaders(unsigned char* out, int bitCount) {
    std::memset(out, 0, kBitmapHeadersSize);
    uint32_t pixels = bitCount == 32 ? kColourBitsSize : kMaskBitsSize;
    out[0] = 'B';
    out[1] = 'M';
    PutLittleEndian(out + 2, kBitmapHeadersSize + pixels, 4);
    PutLittleEndian(out + 10, kBitmapHeadersSize, 4);
    PutLittleEndian(out + 14, 40, 4);
    PutLittleEndian(out + 18, kIconSide, 4);
    PutLittleEndian(out + 22, kIconSide, 4);
    PutLittleEndian(out + 26, 1, 2);
    PutLittleEndian(out + 28, static_cast<uint32_t>(bitCount), 2);
}

TypeIcon* FindTypeIcon(const char* key) {
    if (g_staticTypeIcon.key[0] == '\0') return nullptr;
    for (TypeIcon* r = &g_staticTypeIcon; r; r = r->next) {
        if (std::strcmp(r->key, key) == 0) return r;
    }
    return nullptr;
}

TypeIcon* AddTypeIcon(const char* key) {
    TypeIcon* record = &g_staticTypeIcon;
    if (g_staticTypeIcon.key[0] != '\0') {
        record = static_cast<TypeIcon*>(std::calloc(1, sizeof(TypeIcon)));
        if (!record) return nullptr;
        record->next = g_staticTypeIcon.next;
        g_staticTypeIcon.next = record;
    }
    std::snprintf(record->key, sizeof record->key, "%s", key);
    return record;
}

void RemoveTypeIcon(TypeIcon* record) {
    if (!record || record == &g_staticTypeIcon) return;
    for (TypeIcon* r = &g_staticTypeIcon; r->next; r = r->next) {
        if (r->next == record) {
            r->next = record->next;
            FreeRecordBits(record);
            std::free(record);
            return;
        }
    }
}

bool IsStaticTypeIcon(const TypeIcon* record) {
    return record == &g_staticTypeIcon;
}

bool IsTypeIconBits(const unsigned char* bits) {
    if (!bits) return false;
    for (const TypeIcon* r = &g_staticTypeIcon; r; r = r->next) {
        if (r->colourBits == bits || r->maskBits == bits) return true;
    }
    return false;
}

void FreeTypeIcons() {
    TypeIcon* r = g_staticTypeIcon.next;
    while (r) {
        TypeIcon* next = r->next;
        FreeRecordBits(r);
        std::free(r);
        r = next;
    }
    FreeRecordBits(&g_staticTypeIcon);
    std::memset(&g_staticTypeIcon, 0, sizeof g_staticTypeIcon);
}

int TypeIconCount() {
    if (g_staticTypeIcon.key[0] == '\0') return 0;
    int n = 0;
    for (const TypeIcon* r = &g_staticTypeIcon; r; r = r->next)
        ++n;
    return n;
}

void FreeEntryIconBits(Entry* entry) {
    if (!entry) return;
    // Borrowed bits are recognised by identity; either pointer marks the pair as borrowed.
    if (!IsTypeIconBits(entry->colourBits) && !IsTypeIconBits(entry->maskBits)) {
        std::free(entry->colourBits);
        std::free(entry->maskBits);
    }
    entry->colourBits = nullptr;
    entry->maskBits = nullptr;
}

namespace {

// Copies one item; false when the source is missing or the copy failed.
bool CopyCacheItem(int archive, const char* fromFolder, const char* fromName, const char* toFolder,
                   const char* toName) {
    CacheFile file;
    std::memset(&file, 0, sizeof file);
    if (CacheGetFile(archive, &file, fromFolder, fromName) != 1) return false;
    bool copied = CacheAddFile(archive, toFolder, toName, file.size, file.data) == 1;
    std::free(file.data);
    return copied;
}

} // namespace

int CopyIconItems(int archive, const char* fromFolder, const char* fromName, const char* toFolder,
                  const char* toName) {
    if (std::strcmp(fromFolder, toFolder) == 0 && std::strcmp(fromName, toName) == 0) return 0;
    if (CacheHasFile(archive, toFolder, toName) == 1) return 0;
    if (CacheHasFile(archive, fromFolder, fromName) != 1) return 0;
    char fromMask[kMaskNameSize], toMask[kMaskNameSize];
    MaskFileName(fromMask, fromName, kMaskSuffix);
    MaskFileName(toMask, toName, kMaskSuffix);
    if (!CopyCacheItem(archive, fromFolder, fromName, toFolder, toName)) return 0;
    CopyCacheItem(archive, fromFolder, fromMask, toFolder, toMask);
    return 1;
}
