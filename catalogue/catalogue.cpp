#include "catalogue/catalogue.h"

#include "base/data_paths.h"

#include <cstdlib>
#include <cstring>

namespace {

Catalogue g_catalogue;
CatalogueServices g_services;
long g_lookupSteps;
void (*g_completion)(); // loads the tabs start-up kept for later

bool HasLinks(const Entry* e) {
    return e->next != nullptr;
}

Entry* LastEntry(const Tab& tab) {
    if (!tab.head) return nullptr;
    return tab.head->prev ? tab.head->prev : tab.head;
}

void ReleaseEntry(Entry* e) {
    e->next = e->prev = nullptr;
    if (g_services.freeEntryIconBits) {
        g_services.freeEntryIconBits(e);
    } else {
        std::free(e->colourBits);
        std::free(e->maskBits);
    }
    e->colourBits = e->maskBits = nullptr;
    std::free(e);
}

// Frees every entry of a ring (or a lone entry without links) and empties the slot.
void FreeTabEntries(Tab* tab) {
    Entry* head = tab->head;
    if (head) {
        Entry* p = head;
        do {
            Entry* next = p->next;
            ReleaseEntry(p);
            p = next;
        } while (p && p != head);
    }
    tab->head = tab->middle = tab->lastFound = nullptr;
}

// Walks from start towards index k; fails at an empty link or when back at the start.
Entry* WalkTo(Entry* start, int k, bool backward) {
    Entry* p = start;
    for (;;) {
        if (p->index == k) return p;
        Entry* step = backward ? p->prev : p->next;
        ++g_lookupSteps;
        if (!step || step == start) return nullptr;
        p = step;
    }
}

int Distance(int a, int b) {
    return a > b ? a - b : b - a;
}

// Folder part of a target without its final separator; empty when there is none.
void TargetFolder(char* out, size_t size, const char* target) {
    int folder = ModuleFolderLength(target);
    size_t n = folder < 0 ? 0 : static_cast<size_t>(folder);
    if (n >= size) n = size - 1;
    std::memcpy(out, target, n);
    out[n] = '\0';
}

} // namespace

void CopyField(char* field, size_t size, const char* src) {
    if (size == 0) return;
    if (!src) src = "";
    size_t n = std::strlen(src);
    if (n >= size) n = size - 1;
    std::memmove(field, src, n);
    field[n] = '\0';
}

void SetCatalogueServices(const CatalogueServices& services) {
    g_services = services;
}
const CatalogueServices& GetCatalogueServices() {
    return g_services;
}

Tab* GetTab(int t) {
    if (t < 0 || t >= kTabSlots) return nullptr;
    return &g_catalogue.tabs[t];
}

void SetCatalogueCompletion(void (*complete)()) {
    g_completion = complete;
}

void CompleteCatalogue() {
    void (*complete)() = g_completion;
    g_completion = nullptr;
    if (complete) complete();
}

bool IsCatalogueComplete() {
    return g_completion == nullptr;
}

void ClearCatalogue() {
    std::memset(&g_catalogue, 0, sizeof g_catalogue);
}

void FreeCatalogue() {
    for (Tab& tab : g_catalogue.tabs)
        FreeTabEntries(&tab);
    if (g_services.freeTypeIcons) g_services.freeTypeIcons();
}

void FillEntry(Entry* entry, const char* path, const char* arg, const char* workPath,
               const char* comment, int32_t count) {
    CopyField(entry->FilePath, sizeof entry->FilePath, path);
    CopyField(entry->Arg, sizeof entry->Arg, arg);
    CopyField(entry->WorkPath, sizeof entry->WorkPath, workPath);
    CopyField(entry->Comment, sizeof entry->Comment, comment);
    entry->Count = count;

    // Paths are stored without double quotes, wherever they stood.
    char* out = entry->FilePath;
    for (const char* in = entry->FilePath; *in; ++in) {
        if (*in != '"') *out++ = *in;
    }
    *out = '\0';

    // The file name follows the last separator that is not the final character.
    const char* path0 = entry->FilePath;
    int nameStart = 0;
    for (int i = 0; path0[i] != '\0'; ++i) {
        unsigned char b = static_cast<unsigned char>(path0[i]);
        if (IsPathLeadByte(b)) {
            if (path0[i + 1] == '\0') break;
            ++i;
            continue;
        }
        if ((b == '\\' || b == '/') && path0[i + 1] != '\0') nameStart = i + 1;
    }
    CopyField(entry->FileName, sizeof entry->FileName, path0 + nameStart);
}

int FillEntryFromShortcut(Entry* entry, const char* shortcutPath, const char* comment,
                          int32_t count) {
    if (!g_services.resolveShortcut) return 0;
    ShortcutTarget* link = static_cast<ShortcutTarget*>(std::calloc(1, sizeof(ShortcutTarget)));
    if (!link) return 0;
    int result = 0;
    if (g_services.resolveShortcut(shortcutPath, link)) {
        if (link->workingFolder[0] == '\0') {
            TargetFolder(link->workingFolder, sizeof link->workingFolder, link->target);
        }
        FillEntry(entry, link->target, link->arguments, link->workingFolder, comment, count);
        entry->Attribute = g_services.pathAttributes ? g_services.pathAttributes(link->target)
                                                     : kMissingAttributes;
        result = 1;
    }
    std::free(link);
    return result;
}

int EntryCount(int t) {
    Tab* tab = GetTab(t);
    if (!tab) return -1;
    if (!tab->head) return 0;
    if (!HasLinks(tab->head)) return 1;
    return tab->head->prev->index + 1;
}

namespace {

// Spare records, chained through next.
Entry* g_spares = nullptr;
int g_spareCount = 0;

Entry* NewEntryRecord() {
    Entry* e = g_spares;
    if (!e) return static_cast<Entry*>(std::calloc(1, sizeof(Entry)));
    g_spares = e->next;
    --g_spareCount;
    e->next = nullptr;
    return e;
}

} // namespace

void PrepareSpareEntries(int count) {
    for (int i = 0; i < count; ++i) {
        Entry* e = static_cast<Entry*>(std::calloc(1, sizeof(Entry)));
        if (!e) return;
        e->next = g_spares;
        g_spares = e;
        ++g_spareCount;
    }
}

int SpareEntryCount() {
    return g_spareCount;
}

void FreeSpareEntries() {
    while (g_spares) {
        Entry* next = g_spares->next;
        std::free(g_spares);
        g_spares = next;
    }
    g_spareCount = 0;
}

int AddEntry(const char* cacheFolder, const Entry& record, int iconType, int t) {
    Tab* tab = GetTab(t);
    if (!tab) return -1;
    Entry* e = NewEntryRecord();
    if (!e) return -1;

    Entry* head = tab->head;
    if (!head) {
        tab->head = e;
        e->index = 0;
    } else if (!HasLinks(head)) {
        head->next = head->prev = e;
        e->next = e->prev = head;
        e->index = 1;
    } else {
        Entry* last = head->prev;
        e->index = last->index + 1;
        e->prev = last;
        e->next = head;
        last->next = e;
        head->prev = e;
        if (!tab->middle) {
            tab->middle = e->prev;
        } else if ((e->index >> 1) > tab->middle->index) {
            tab->middle = tab->middle->next;
        }
    }

    FillEntry(e, record.FilePath, record.Arg, record.WorkPath, record.Comment, record.Count);
    e->Attribute = record.Attribute;
    e->IconType = iconType & 0xFF;
    if (e->Attribute == kMissingAttributes) {
        e->noIcon = 1;
    } else if (g_services.bindEntryIcon) {
        g_services.bindEntryIcon(cacheFolder ? cacheFolder : "", e);
    }
    return e->index;
}

Entry* FindEntry(int t, int k) {
    Tab* tab = GetTab(t);
    if (!tab || !tab->head) return nullptr;
    Entry* head = tab->head;
    Entry* last = LastEntry(*tab);
    // Indices are dense, so anything outside 0..last is absent without a walk.
    if (k < 0 || k > last->index) return nullptr;

    const int none = -1;
    int dHead = k;
    int dMiddle = tab->middle ? Distance(tab->middle->index, k) : none;
    int dLast = (head->prev && last->index >= k) ? last->index - k : none;
    int dFound = tab->lastFound ? Distance(tab->lastFound->index, k) : none;

    Entry* start;
    bool backward;
    if (tab->lastFound && dMiddle != none && dLast != none && dFound < dHead && dFound < dMiddle &&
        dFound < dLast) {
        start = tab->lastFound;
        backward = start->index > k;
    } else if (tab->middle && tab->middle->index - (tab->middle->index >> 1) <= k &&
               k <= tab->middle->index + (tab->middle->index >> 1)) {
        start = tab->middle;
        backward = start->index > k;
    } else {
        start = head;
        backward = head->prev && k > (last->index >> 1);
    }

    Entry* found = WalkTo(start, k, backward);
    if (found) tab->lastFound = found;
    return found;
}

void DeleteEntry(int t, int k) {
    Entry* e = FindEntry(t, k);
    if (!e) return;
    Tab* tab = GetTab(t);

    if (HasLinks(e)) {
        int index = e->index;
        for (Entry* p = e->next; p && p != tab->head && p != e; p = p->next)
            p->index = index++;
        e->prev->next = e->next;
        e->next->prev = e->prev;
    }
    if (e == tab->head) {
        tab->head = e->next;
        if (tab->head == e) tab->head = tab->middle = tab->lastFound = nullptr;
    }
    if (e == tab->middle) {
        tab->middle = e->prev;
        // A lone entry keeps its links to itself; the hint must never name a freed entry.
        if (tab->middle == e) tab->middle = nullptr;
    } else if (EntryCount(t) < 3) {
        tab->middle = nullptr;
    } else if (tab->head && tab->head->prev && tab->middle &&
               (tab->head->prev->index >> 1) < tab->middle->index) {
        tab->middle = tab->middle->prev;
    }
    if (e == tab->lastFound) {
        tab->lastFound = e->prev == e ? nullptr : e->prev;
    }
    ReleaseEntry(e);
}

int RefreshEntry(int t, int k, int recomputeFolder, int fromShortcut) {
    Entry* e = FindEntry(t, k);
    if (!e) return 0;
    Entry* copy = static_cast<Entry*>(std::calloc(1, sizeof(Entry)));
    if (!copy) return 0;
    std::memcpy(copy->FilePath, e->FilePath, sizeof copy->FilePath);
    std::memcpy(copy->FileName, e->FileName, sizeof copy->FileName);
    std::memcpy(copy->Arg, e->Arg, sizeof copy->Arg);
    std::memcpy(copy->WorkPath, e->WorkPath, sizeof copy->WorkPath);
    std::memcpy(copy->Comment, e->Comment, sizeof copy->Comment);
    copy->Count = e->Count;
    copy->Attribute = e->Attribute;

    if (fromShortcut) {
        FillEntryFromShortcut(copy, e->FilePath, e->Comment, e->Count);
    } else if (recomputeFolder && g_services.startFolderOf) {
        char folder[kEntryPathSize];
        if (g_services.startFolderOf(folder, sizeof folder, copy->FilePath)) {
            CopyField(copy->WorkPath, sizeof copy->WorkPath, folder);
        }
    }
    FillEntry(e, copy->FilePath, copy->Arg, copy->WorkPath, copy->Comment, copy->Count);
    std::free(copy);

    uint32_t attributes =
        g_services.pathAttributes ? g_services.pathAttributes(e->FilePath) : kMissingAttributes;
    e->noIcon = 0;
    e->Attribute = attributes;
    if (attributes == kMissingAttributes) {
        e->Attribute = 0;
        e->noIcon = 1;
    }
    return 1;
}

int ReplaceEntry(int t, int k, const Entry& record) {
    Entry* e = FindEntry(t, k);
    if (!e) return 0;
    CopyField(e->FilePath, sizeof e->FilePath, record.FilePath);
    CopyField(e->FileName, sizeof e->FileName, record.FileName);
    CopyField(e->Arg, sizeof e->Arg, record.Arg);
    CopyField(e->WorkPath, sizeof e->WorkPath, record.WorkPath);
    CopyField(e->Comment, sizeof e->Comment, record.Comment);
    e->Count = record.Count;
    e->Attribute = record.Attribute;
    return 1;
}

int GetEntrySnapshot(EntrySnapshot* snapshot, int t, int k, int iconMode, int countLaunch) {
    Entry* e = FindEntry(t, k);
    if (!e) return 0;
    std::memcpy(snapshot->FilePath, e->FilePath, sizeof snapshot->FilePath);
    std::memcpy(snapshot->FileName, e->FileName, sizeof snapshot->FileName);
    std::memcpy(snapshot->Arg, e->Arg, sizeof snapshot->Arg);
    std::memcpy(snapshot->WorkPath, e->WorkPath, sizeof snapshot->WorkPath);
    std::memcpy(snapshot->Comment, e->Comment, sizeof snapshot->Comment);
    snapshot->Count = e->Count;
    snapshot->Attribute = e->Attribute;
    snapshot->index = e->index;
    snapshot->IconType = e->IconType;
    snapshot->icon = snapshot->colourBitmap = snapshot->maskBitmap = nullptr;
    snapshot->entry = e;
    if (iconMode != 0 && g_services.makeSnapshotHandles) {
        g_services.makeSnapshotHandles(snapshot, e, iconMode);
    }
    if (countLaunch) ++e->Count;
    return 1;
}

int SnapshotIndex(const EntrySnapshot& snapshot) {
    return snapshot.entry ? snapshot.entry->index : -1;
}

void RemoveTab(int t) {
    Tab* tab = GetTab(t);
    if (!tab) return;
    FreeTabEntries(tab);
    for (int i = t; i < kTabSlots - 1; ++i)
        g_catalogue.tabs[i] = g_catalogue.tabs[i + 1];
    g_catalogue.tabs[kTabSlots - 1] = Tab{};
}

void SwapTabs(int a, int b) {
    Tab* ta = GetTab(a);
    Tab* tb = GetTab(b);
    if (!ta || !tb) return;
    Tab tmp = *ta;
    *ta = *tb;
    *tb = tmp;
}

long LookupSteps() {
    return g_lookupSteps;
}
void ResetLookupSteps() {
    g_lookupSteps = 0;
}
