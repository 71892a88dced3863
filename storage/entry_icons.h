// Entry icons: 32 x 32 colour and mask bits captured from the shell, kept in the icon cache
// archives, shared per file type where a type has no icon of its own, turned into drawing
// handles for painting and exported as .bmp files.
#pragma once

#include "catalogue/catalogue.h"

#include <cstddef>
#include <cstdint>

enum {
    kIconSide = 32,
    kColourBitsSize = 4096,  // 32 x 32 at 32 bits per pixel, rows bottom-up
    kMaskBitsSize = 2048,    // 32 x 32 at 16 bits per pixel (5-5-5), rows bottom-up
    kBitmapHeadersSize = 54, // BITMAPFILEHEADER + BITMAPINFOHEADER
    kTypeKeySize = 256,
    kIconFolderSize = 1024,
    kMaskNameSize = 256, // an archive name: at most 255 bytes
    kMaskHashSize = 10,  // "~" and eight hex digits
};

extern const char kMaskSuffix[]; // "_Mask"

// "Cache\\" + tab name: the archive folder of a tab (out of kIconFolderSize bytes).
void TabCacheFolder(char* out, const char* tabName);
// The archive folder of an entry's icon: the tab's folder, then a backslash and the folder
// part of the path (before its last separator that is not the final character).
void IconCacheFolder(char* out, const char* tabFolder, const char* path);

// The archive name of an entry's mask file (out of kMaskNameSize bytes): the file name and
// the suffix; a name too long for that keeps its head and a hash of the whole name.
void MaskFileName(char* out, const char* fileName, const char* suffix);

// Copies an entry's icon and mask items of an archive (0 or 1) to another folder and name,
// unless the target already holds an icon: an entry whose path was edited keeps the icon it
// shows. 1 when copied, 0 otherwise.
int CopyIconItems(int archive, const char* fromFolder, const char* fromName, const char* toFolder,
                  const char* toName);

// Folders and the types exe, lnk, ico, scr and msc have an icon of their own.
bool HasOwnIconType(const char* fileName);
// The lower-cased extension of a file name, or "None" (out of kTypeKeySize bytes).
void TypeKey(char* out, const char* fileName);

// The 54 header bytes of an exported .bmp for 32 or 16 bits per pixel.
void BuildBitmapHeaders(unsigned char* out, int bitCount);

// Icon bits shared by all files of one type. The list's first record is static.
struct TypeIcon {
    char key[kTypeKeySize];
    unsigned char* colourBits;
    unsigned char* maskBits;
    TypeIcon* next;
};

TypeIcon* FindTypeIcon(const char* key);
// Adds an empty record with this key: the static one while it is unused, else a new record
// directly behind it.
TypeIcon* AddTypeIcon(const char* key);
// Takes a record (not the static one) out of the list and frees it with its bits.
void RemoveTypeIcon(TypeIcon* record);
bool IsStaticTypeIcon(const TypeIcon* record);
// True when the bits belong to a type record (entries only borrow them).
bool IsTypeIconBits(const unsigned char* bits);
// Frees every record's bits and every record but the static one, which is emptied.
void FreeTypeIcons();
int TypeIconCount();

// Releases an entry's bits: its own are freed, borrowed type bits only dropped.
void FreeEntryIconBits(Entry* entry);

// The shell's side (Windows layer).
// Captures the shell's large icon of path into the archive (0 "Cache.arc", 1
// "CacheUser.arc") as fileName and its mask name (MaskFileName): 1, or -1 without a shell
// icon or when it cannot be converted (nothing is stored then).
int CaptureEntryIcon(int archive, const char* folder, const char* path, const char* fileName,
                     const char* maskSuffix);
// The same, replacing both files: 1 when both were replaced, 0 when either was missing.
int RecaptureEntryIcon(int archive, const char* folder, const char* path, const char* fileName,
                       const char* maskSuffix);
// Attaches bits to an entry: 1 own bits, 2 shared type bits, 0 none.
int LoadEntryIconBits(const char* folder, Entry* entry);
void ReloadEntryIcon(int tab, const char* folder, int index, int iconType);
// Icon side of registering an entry whose file exists: captures into "Cache.arc" when the
// archive does not hold the icon yet, then attaches the bits.
void BindEntryIcon(const char* folder, Entry* entry);
// The drawing handles of a snapshot for IconDraw mode 1 (icon), 2 (bitmaps) or 3 (the
// shell's icon fetched anew).
void MakeSnapshotHandles(EntrySnapshot* snapshot, const Entry* entry, int iconMode);
// The archive folder of the icon of an entry of tab t (by its name in the tab strip) with this
// path (out of kIconFolderSize bytes).
void TabEntryIconFolder(char* out, int t, const char* path);
// Whether an entry of tab t other than `except` keeps its icons under this folder and name
// (two entries of one path in a tab share them).
bool IconItemsShared(int t, const Entry* except, const char* folder, const char* fileName);
// Removes an entry's icon and mask items from both archives.
void RemoveIconItems(const char* folder, const char* fileName);
// Exports an entry's bits as a .bmp file (replaced when it exists).
void SaveIconBitmap(const char* fileName, int tab, int index);
void SaveMaskBitmap(const char* fileName, int tab, int index);
#ifdef _WIN32
#include <windows.h>
// Converts any icon into the two 32 x 32 frames; false when the system cannot read it.
bool IconToFrames(HICON icon, unsigned char* colour, unsigned char* mask);
// The conversion used by captures; null restores IconToFrames (tests replace it).
typedef bool (*IconFrameConverter)(HICON icon, unsigned char* colour, unsigned char* mask);
void SetIconFrameConverter(IconFrameConverter converter);
// An icon (mode 1) made from an entry's colour and mask bits; null when it cannot be made.
HICON IconFromBits(const unsigned char* colourBits, const unsigned char* maskBits);
// The shell's icon of an entry's file as it is now (mode 3); null without one.
HICON EntryShellIcon(const Entry& entry);
#endif
