#include "storage/entry_icons.h"

#include "base/app_state.h"
#include "base/path_utils.h"
#include "catalogue/tab_names.h"
#include "storage/cache_archive.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static_assert(int(kMaskNameSize) == int(kCacheNameField), "a mask name is an archive name");

namespace {

const char kTypeIconMissingText[] = "エラー Folder";
IconFrameConverter g_iconConverter = IconToFrames;

void FillFrameHeader(BITMAPINFO* info, int bitCount) {
    ZeroMemory(info, sizeof *info);
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = kIconSide;
    info->bmiHeader.biHeight = kIconSide;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = static_cast<WORD>(bitCount);
    info->bmiHeader.biCompression = BI_RGB;
}

HBITMAP CreateFrameSection(int bitCount, void** pixels) {
    BITMAPINFO info;
    FillFrameHeader(&info, bitCount);
    *pixels = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, pixels, nullptr, 0);
    if (section && !*pixels) {
        DeleteObject(section);
        return nullptr;
    }
    return section;
}

// A DIB section holding stored bits; null when it cannot be made.
HBITMAP SectionFromBits(int bitCount, const unsigned char* bits) {
    void* pixels = nullptr;
    HBITMAP section = CreateFrameSection(bitCount, &pixels);
    if (section) std::memcpy(pixels, bits, static_cast<size_t>(bitCount / 8 * 1024));
    return section;
}

bool IsFrameBitmap(HBITMAP bitmap) {
    BITMAP description;
    if (!bitmap || !GetObjectA(bitmap, sizeof description, &description)) return false;
    return description.bmWidth == kIconSide && description.bmHeight == kIconSide;
}

// The usual shell icon: a 32 x 32 colour bitmap and mask, read as they are.
bool ReadFramesDirectly(const ICONINFO& parts, unsigned char* colour, unsigned char* mask) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    BITMAPINFO info;
    FillFrameHeader(&info, 32);
    int colourLines = GetDIBits(dc, parts.hbmColor, 0, kIconSide, colour, &info, DIB_RGB_COLORS);
    FillFrameHeader(&info, 16);
    int maskLines = GetDIBits(dc, parts.hbmMask, 0, kIconSide, mask, &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    return colourLines == kIconSide && maskLines == kIconSide;
}

// Any other icon (another size, or monochrome without a colour bitmap) is drawn by the
// system into the 32 x 32 frames: its image on black, so transparent pixels stay black as
// in a captured icon, and its mask, which draws black where opaque and white elsewhere.
bool DrawFrames(HICON icon, unsigned char* colour, unsigned char* mask) {
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    bool ok = false;
    void* colourPixels = nullptr;
    void* maskPixels = nullptr;
    HBITMAP colourSection = CreateFrameSection(32, &colourPixels);
    HBITMAP maskSection = CreateFrameSection(16, &maskPixels);
    if (colourSection && maskSection) {
        HGDIOBJ previous = SelectObject(dc, colourSection);
        std::memset(colourPixels, 0, kColourBitsSize);
        BOOL drewImage = DrawIconEx(dc, 0, 0, icon, kIconSide, kIconSide, 0, nullptr, DI_IMAGE);
        SelectObject(dc, maskSection);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        BOOL drewMask = DrawIconEx(dc, 0, 0, icon, kIconSide, kIconSide, 0, nullptr, DI_MASK);
        SelectObject(dc, previous);
        GdiFlush();
        if (drewImage && drewMask) {
            std::memcpy(colour, colourPixels, kColourBitsSize);
            std::memcpy(mask, maskPixels, kMaskBitsSize);
            ok = true;
        }
    }
    if (colourSection) DeleteObject(colourSection);
    if (maskSection) DeleteObject(maskSection);
    DeleteDC(dc);
    return ok;
}

// The shell's large icon of a path (environment references expanded); null without one.
HICON ShellIconOf(const char* path, bool expand) {
    char expanded[kExpandedPathSize];
    if (expand) {
        ExpandEnvironmentReferences(expanded, sizeof expanded, path,
                                    static_cast<int>(std::strlen(path)));
        path = expanded;
    }
    SHFILEINFOA info;
    ZeroMemory(&info, sizeof info);
    if (!SHGetFileInfoA(path, 0, &info, sizeof info, SHGFI_ICON)) return nullptr;
    return info.hIcon;
}

// Stores the frames of the shell icon of path; -1 without an icon or when it gives no frames
// (nothing is stored then, so a later capture can still succeed), else whether both files
// were stored by `store`.
typedef int (*StoreFile)(int archive, const char* path, const char* name, int32_t size,
                         const void* data);
int StoreShellIcon(StoreFile store, int archive, const char* folder, const char* path,
                   const char* fileName, const char* maskSuffix) {
    HICON icon = ShellIconOf(path ? path : "", true);
    if (!icon) return -1;
    unsigned char* colour = static_cast<unsigned char*>(std::calloc(1, kColourBitsSize));
    unsigned char* mask = static_cast<unsigned char*>(std::calloc(1, kMaskBitsSize));
    int stored = -1;
    if (colour && mask && g_iconConverter(icon, colour, mask)) {
        char maskName[kMaskNameSize];
        MaskFileName(maskName, fileName, maskSuffix);
        int storedColour = store(archive, folder, fileName, kColourBitsSize, colour);
        int storedMask = store(archive, folder, maskName, kMaskBitsSize, mask);
        stored = storedColour == 1 && storedMask == 1;
    }
    std::free(colour);
    std::free(mask);
    DestroyIcon(icon);
    return stored;
}

// A stored file of exactly the expected size; anything else counts as missing, so a
// damaged archive can never make a reader run past the bits.
unsigned char* ReadBits(int archive, const char* folder, const char* name, int32_t size) {
    CacheFile file;
    ZeroMemory(&file, sizeof file);
    if (CacheGetFile(archive, &file, folder, name) != 1) return nullptr;
    if (file.size != size) {
        std::free(file.data);
        return nullptr;
    }
    return file.data;
}

// Both files of an entry's icon, or neither.
bool ReadBitsPair(int archive, const char* folder, const char* fileName, unsigned char** colour,
                  unsigned char** mask) {
    *colour = ReadBits(archive, folder, fileName, kColourBitsSize);
    *mask = nullptr;
    if (!*colour) return false;
    char maskName[kMaskNameSize];
    MaskFileName(maskName, fileName, kMaskSuffix);
    *mask = ReadBits(archive, folder, maskName, kMaskBitsSize);
    if (*mask) return true;
    std::free(*colour);
    *colour = nullptr;
    return false;
}

bool IsFolderEntry(const Entry* entry) {
    return (entry->Attribute & kFolderAttribute) != 0;
}

// The shared record of a type, added and filled from this entry's files on first sight.
TypeIcon* SharedTypeIcon(const char* folder, const Entry* entry) {
    char key[kTypeKeySize];
    TypeKey(key, entry->FileName);
    if (!FindTypeIcon(key)) {
        TypeIcon* record = AddTypeIcon(key);
        if (record) {
            unsigned char* colour = ReadBits(0, folder, entry->FileName, kColourBitsSize);
            if (!colour) {
                // The static record keeps its key, without bits.
                if (!IsStaticTypeIcon(record)) RemoveTypeIcon(record);
            } else {
                char maskName[kMaskNameSize];
                MaskFileName(maskName, entry->FileName, kMaskSuffix);
                unsigned char* mask = ReadBits(0, folder, maskName, kMaskBitsSize);
                if (mask) {
                    record->colourBits = colour;
                    record->maskBits = mask;
                } else {
                    std::free(colour);
                }
            }
        }
    }
    return FindTypeIcon(key);
}

void WriteBitmapFile(const char* fileName, const unsigned char* bits, int bitCount) {
    HANDLE file = CreateFileA(fileName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    unsigned char headers[kBitmapHeadersSize];
    BuildBitmapHeaders(headers, bitCount);
    DWORD written = 0;
    WriteFile(file, headers, sizeof headers, &written, nullptr);
    WriteFile(file, bits, static_cast<DWORD>(bitCount / 8 * 1024), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
}

} // namespace

bool IconToFrames(HICON icon, unsigned char* colour, unsigned char* mask) {
    ICONINFO parts;
    ZeroMemory(&parts, sizeof parts);
    if (!GetIconInfo(icon, &parts)) return false;
    bool ok = false;
    if (parts.hbmColor && IsFrameBitmap(parts.hbmColor) && IsFrameBitmap(parts.hbmMask)) {
        ok = ReadFramesDirectly(parts, colour, mask);
    }
    if (!ok) ok = DrawFrames(icon, colour, mask);
    if (parts.hbmColor) DeleteObject(parts.hbmColor);
    if (parts.hbmMask) DeleteObject(parts.hbmMask);
    return ok;
}

void SetIconFrameConverter(IconFrameConverter converter) {
    g_iconConverter = converter ? converter : IconToFrames;
}

int CaptureEntryIcon(int archive, const char* folder, const char* path, const char* fileName,
                     const char* maskSuffix) {
    int stored = StoreShellIcon(CacheAddFile, archive, folder, path, fileName, maskSuffix);
    return stored == -1 ? -1 : 1;
}

int RecaptureEntryIcon(int archive, const char* folder, const char* path, const char* fileName,
                       const char* maskSuffix) {
    return StoreShellIcon(CacheReplaceFile, archive, folder, path, fileName, maskSuffix);
}

int LoadEntryIconBits(const char* folder, Entry* entry) {
    unsigned char* colour = nullptr;
    unsigned char* mask = nullptr;
    if (entry->IconType != 0 && ReadBitsPair(1, folder, entry->FileName, &colour, &mask)) {
        entry->colourBits = colour;
        entry->maskBits = mask;
        return 1;
    }
    entry->colourBits = entry->maskBits = nullptr;

    if (!IsFolderEntry(entry) && !HasOwnIconType(entry->FileName)) {
        TypeIcon* record = SharedTypeIcon(folder, entry);
        if (!record) {
            MessageBoxA(MainWindow(), kTypeIconMissingText, "", MB_OK);
            return 0;
        }
        entry->colourBits = record->colourBits;
        entry->maskBits = record->maskBits;
        return 2;
    }
    if (!ReadBitsPair(0, folder, entry->FileName, &colour, &mask)) return 0;
    entry->colourBits = colour;
    entry->maskBits = mask;
    return 1;
}

void ReloadEntryIcon(int tab, const char* folder, int index, int iconType) {
    Entry* entry = FindEntry(tab, index);
    if (!entry) return;
    entry->IconType = iconType & 0xFF;
    entry->iconPending = 0;
    FreeEntryIconBits(entry);
    if (entry->noIcon == 1) return;

    if (!IsFolderEntry(entry) && !HasOwnIconType(entry->FileName)) {
        char key[kTypeKeySize];
        TypeKey(key, entry->FileName);
        TypeIcon* record = FindTypeIcon(key);
        unsigned char* colour = nullptr;
        unsigned char* mask = nullptr;
        if (record && ReadBitsPair(0, folder, entry->FileName, &colour, &mask)) {
            if (record->colourBits && record->maskBits) {
                // Overwritten in place: every entry of the type shows the new icon.
                std::memcpy(record->colourBits, colour, kColourBitsSize);
                std::memcpy(record->maskBits, mask, kMaskBitsSize);
                std::free(colour);
                std::free(mask);
            } else {
                std::free(record->colourBits);
                std::free(record->maskBits);
                record->colourBits = colour;
                record->maskBits = mask;
            }
        }
    }
    LoadEntryIconBits(folder, entry);
}

void BindEntryIcon(const char* folder, Entry* entry) {
    if (!CacheHasFile(0, folder, entry->FileName) &&
        CaptureEntryIcon(0, folder, entry->FilePath, entry->FileName, kMaskSuffix) == -1) {
        entry->noIcon = 1;
        entry->colourBits = entry->maskBits = nullptr;
        return;
    }
    LoadEntryIconBits(folder, entry);
}

HICON IconFromBits(const unsigned char* colourBits, const unsigned char* maskBits) {
    HICON icon = nullptr;
    HBITMAP colour = SectionFromBits(32, colourBits);
    HBITMAP mask = SectionFromBits(16, maskBits);
    if (colour && mask) {
        ICONINFO parts = {TRUE, 0, 0, mask, colour};
        icon = CreateIconIndirect(&parts);
    }
    if (colour) DeleteObject(colour);
    if (mask) DeleteObject(mask);
    return icon;
}

void MakeSnapshotHandles(EntrySnapshot* snapshot, const Entry* entry, int iconMode) {
    bool hasBits = entry->colourBits && entry->maskBits;
    if (iconMode == 1 && hasBits) {
        snapshot->icon = IconFromBits(entry->colourBits, entry->maskBits);
    } else if (iconMode == 2 && hasBits) {
        HBITMAP colour = SectionFromBits(32, entry->colourBits);
        HBITMAP mask = SectionFromBits(16, entry->maskBits);
        if (colour && mask) {
            snapshot->colourBitmap = colour;
            snapshot->maskBitmap = mask;
        } else {
            if (colour) DeleteObject(colour);
            if (mask) DeleteObject(mask);
        }
    } else if (iconMode == 3) {
        snapshot->icon = EntryShellIcon(*entry);
    }
}

HICON EntryShellIcon(const Entry& entry) {
    return ShellIconOf(entry.FilePath, false);
}

void TabEntryIconFolder(char* out, int t, const char* path) {
    char name[kTabNameSize] = "";
    GetTabName(t, name);
    char tabFolder[kIconFolderSize];
    TabCacheFolder(tabFolder, name);
    IconCacheFolder(out, tabFolder, path);
}

bool IconItemsShared(int t, const Entry* except, const char* folder, const char* fileName) {
    const Tab* list = GetTab(t);
    if (!list || !list->head) return false;
    const Entry* e = list->head;
    do {
        if (e != except && std::strcmp(e->FileName, fileName) == 0) {
            char other[kIconFolderSize];
            TabEntryIconFolder(other, t, e->FilePath);
            if (std::strcmp(other, folder) == 0) return true;
        }
        e = e->next;
    } while (e && e != list->head);
    return false;
}

void RemoveIconItems(const char* folder, const char* fileName) {
    char maskName[kMaskNameSize];
    MaskFileName(maskName, fileName, kMaskSuffix);
    for (const char* name : {fileName, static_cast<const char*>(maskName)}) {
        CacheDeleteFile(CacheArchiveAuto(), folder, name);
        CacheDeleteFile(CacheArchiveUser(), folder, name);
    }
}

void SaveIconBitmap(const char* fileName, int tab, int index) {
    Entry* entry = FindEntry(tab, index);
    if (!entry || !entry->colourBits) return;
    WriteBitmapFile(fileName, entry->colourBits, 32);
}

void SaveMaskBitmap(const char* fileName, int tab, int index) {
    Entry* entry = FindEntry(tab, index);
    if (!entry || !entry->maskBits) return;
    WriteBitmapFile(fileName, entry->maskBits, 16);
}
