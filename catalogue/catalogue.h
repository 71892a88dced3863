// The catalogue: up to 30 tabs, each an ordered ring of registered entries.
// Entries are addressed everywhere by (tab index, entry index); indices are dense.
#pragma once

#include <cstddef>
#include <cstdint>

enum {
    kTabSlots = 30,
    kEntryPathSize = 1024, // FilePath, WorkPath, Comment
    kEntryNameSize = 256,  // FileName, Arg
};
const uint32_t kMissingAttributes = 0xFFFFFFFFu; // the file did not exist
const uint32_t kFolderAttribute = 0x10;

typedef void* DrawHandle; // HICON or HBITMAP in the Windows layer

struct Entry {
    char FilePath[kEntryPathSize];
    char FileName[kEntryNameSize];
    char Arg[kEntryNameSize];
    char WorkPath[kEntryPathSize];
    char Comment[kEntryPathSize];
    int32_t Count;
    uint32_t Attribute;
    int32_t index;
    int32_t noIcon;
    int32_t iconPending;       // registered at start-up, its icon not bound yet
    int32_t attributesPending; // loaded with its stored attributes, to be read anew
    int32_t IconType;
    unsigned char* colourBits; // 4096 bytes, owned or borrowed from a shared type icon
    unsigned char* maskBits;   // 2048 bytes
    Entry* next;
    Entry* prev;
};

struct Tab {
    Entry* head;
    Entry* middle;
    Entry* lastFound;
};

struct Catalogue {
    Tab tabs[kTabSlots];
};

struct EntrySnapshot {
    char FilePath[kEntryPathSize];
    char FileName[kEntryNameSize];
    char Arg[kEntryNameSize];
    char WorkPath[kEntryPathSize];
    char Comment[kEntryPathSize];
    int32_t Count;
    uint32_t Attribute;
    int32_t index;
    int32_t IconType;
    DrawHandle icon;
    DrawHandle colourBitmap;
    DrawHandle maskBitmap;
    Entry* entry;
};

// What a shortcut resolves to, as far as the catalogue needs it.
struct ShortcutTarget {
    char target[kEntryPathSize];
    char arguments[kEntryPathSize];
    char workingFolder[kEntryPathSize];
};

// The catalogue's links to the platform: icons, file attributes and shortcuts. The Windows
// layer installs them at start; a null member means "not available" (no icon, missing
// file, not a shortcut).
struct CatalogueServices {
    // Icon side of registration for an entry whose file exists: captures or loads its bits.
    void (*bindEntryIcon)(const char* cacheFolder, Entry* entry);
    // Releases an entry's bits (own bits freed, shared type bits only dropped).
    void (*freeEntryIconBits)(Entry* entry);
    void (*freeTypeIcons)();
    // Makes the drawing handles of a snapshot for an icon mode 1..3.
    void (*makeSnapshotHandles)(EntrySnapshot* snapshot, const Entry* entry, int iconMode);
    uint32_t (*pathAttributes)(const char* path);
    bool (*resolveShortcut)(const char* path, ShortcutTarget* out);
    bool (*startFolderOf)(char* out, size_t capacity, const char* path);
};
void SetCatalogueServices(const CatalogueServices& services);
const CatalogueServices& GetCatalogueServices();

// At start-up the tabs not shown first are loaded between messages. Whatever acts on the
// catalogue for the user (every command, a close) calls CompleteCatalogue first, which then
// runs the completion set here once, loading the rest at once.
void SetCatalogueCompletion(void (*complete)());
void CompleteCatalogue();
bool IsCatalogueComplete();

// Whole catalogue.
void ClearCatalogue();
void FreeCatalogue();
Tab* GetTab(int t); // null outside 0..29

// Records.
void FillEntry(Entry* entry, const char* path, const char* arg, const char* workPath,
               const char* comment, int32_t count);
int FillEntryFromShortcut(Entry* entry, const char* shortcutPath, const char* comment,
                          int32_t count);

// Records made ahead: a large catalogue's records are allocated (zero-filled, one at a time) on
// the start-up worker while the window is made, and AddEntry takes them before it allocates.
// Whatever the load did not use is freed by FreeSpareEntries.
void PrepareSpareEntries(int count);
int SpareEntryCount();
void FreeSpareEntries();

// Lists.
int AddEntry(const char* cacheFolder, const Entry& record, int iconType, int t);
Entry* FindEntry(int t, int k);
int EntryCount(int t);
void DeleteEntry(int t, int k);
int RefreshEntry(int t, int k, int recomputeFolder, int fromShortcut);
int ReplaceEntry(int t, int k, const Entry& record);
int GetEntrySnapshot(EntrySnapshot* snapshot, int t, int k, int iconMode, int countLaunch);
int SnapshotIndex(const EntrySnapshot& snapshot);
void RemoveTab(int t);
void SwapTabs(int a, int b);

// Number of link steps walked by lookups since the last reset (lookup cost, for tests and
// benchmarks).
long LookupSteps();
void ResetLookupSteps();

// Copies src into a field of `size` bytes, cutting it so that it and its zero fit.
void CopyField(char* field, size_t size, const char* src);
