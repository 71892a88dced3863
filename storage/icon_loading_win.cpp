#include "storage/icon_loading.h"

#include "base/app_state.h"
#include "base/path_utils.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "storage/entry_icons.h"

namespace {

const UINT_PTR kIconLoadingTimerId = 5;
const UINT kIconLoadingIntervalMs = 10;
// Long enough to bind many cached icons per tick, short enough that input and painting,
// which come before timer messages, are answered at once.
const DWORD kIconLoadingSliceMs = 25;

bool g_binding = false; // a bind can show a message box, whose loop delivers timer ticks

void MarkEntryIcon(const char*, Entry* entry) {
    entry->iconPending = 1;
}

// Visits the marked entries of tab t until visit answers false; returns that answer.
template <typename Visit> bool ForEachMarked(int t, Visit visit) {
    Tab* tab = GetTab(t);
    if (!tab || !tab->head) return true;
    Entry* e = tab->head;
    do {
        Entry* next = e->next;
        if ((e->iconPending || e->attributesPending) && !visit(e)) return false;
        e = next;
    } while (e && e != tab->head);
    return true;
}

// Reads anew the attributes an entry was loaded with; a file gone since shows the cross, a
// file back since gets its icon.
void RefreshAttributes(Entry* entry) {
    if (!entry->attributesPending) return;
    entry->attributesPending = 0;
    entry->Attribute = GetPathAttributes(entry->FilePath);
    if (entry->Attribute == kMissingAttributes) {
        FreeEntryIconBits(entry);
        entry->noIcon = 1;
        entry->iconPending = 0;
    } else if (entry->noIcon) {
        entry->noIcon = 0;
        entry->iconPending = 1;
    }
}

void BindMarked(Entry* entry, const char* folder) {
    RefreshAttributes(entry);
    if (!entry->iconPending) return;
    entry->iconPending = 0;
    BindEntryIcon(folder, entry);
}

int MarkedInTab(int t) {
    int count = 0;
    ForEachMarked(t, [&](Entry*) {
        ++count;
        return true;
    });
    return count;
}

// Repaints only when the shown tab changed: binding the other tabs shows nothing.
void CALLBACK OnIconLoadingTimer(HWND window, UINT, UINT_PTR, DWORD) {
    if (g_binding) return;
    int shown = CurrentTab();
    int before = MarkedInTab(shown);
    BindPendingIcons(kIconLoadingSliceMs);
    if (MarkedInTab(shown) != before) InvalidateRect(window, nullptr, FALSE);
    if (PendingIconCount() == 0) KillTimer(window, kIconLoadingTimerId);
}

} // namespace

void DeferIconBinding(bool on) {
    CatalogueServices services = GetCatalogueServices();
    services.bindEntryIcon = on ? MarkEntryIcon : BindEntryIcon;
    SetCatalogueServices(services);
}

bool IconBindingDeferred() {
    return GetCatalogueServices().bindEntryIcon == MarkEntryIcon;
}

int BindShownIcons(int t, int first, int count) {
    if (g_binding) return 0;
    CloseHold hold; // the shown entries are bound across a possible box
    g_binding = true;
    int bound = 0;
    // Only the shown cells are looked at: a walk over the whole tab at every paint would cost
    // more than the painting of its cells.
    for (int k = first; k < first + count; ++k) {
        Entry* e = FindEntry(t, k);
        if (!e) break;
        if (!e->iconPending && !e->attributesPending) continue;
        RefreshAttributes(e);
        if (!e->iconPending) continue;
        char folder[kIconFolderSize];
        TabEntryIconFolder(folder, t, e->FilePath);
        BindMarked(e, folder);
        ++bound;
    }
    g_binding = false;
    return bound;
}

void BindEntryIconNow(int t, int index) {
    Entry* entry = FindEntry(t, index);
    if (!entry || (!entry->iconPending && !entry->attributesPending)) return;
    char folder[kIconFolderSize];
    TabEntryIconFolder(folder, t, entry->FilePath);
    BindMarked(entry, folder);
}

int BindPendingIcons(DWORD budgetMs) {
    if (g_binding) return 0;
    CloseHold hold;
    g_binding = true;
    DWORD start = GetTickCount();
    bool inTime = true;
    int bound = 0;
    auto bindOne = [&](int t, Entry* e) {
        char folder[kIconFolderSize];
        TabEntryIconFolder(folder, t, e->FilePath);
        BindMarked(e, folder);
        ++bound;
        inTime = GetTickCount() - start < budgetMs;
        return inTime;
    };
    int current = CurrentTab();
    if (current >= 0) ForEachMarked(current, [&](Entry* e) { return bindOne(current, e); });
    for (int t = 0; inTime && t < kTabSlots; ++t)
        if (t != current) ForEachMarked(t, [&](Entry* e) { return bindOne(t, e); });
    g_binding = false;
    return bound;
}

void ReadPendingAttributes() {
    for (int t = 0; t < kTabSlots; ++t)
        ForEachMarked(t, [](Entry* e) {
            RefreshAttributes(e);
            return true;
        });
}

int PendingIconCount() {
    int count = 0;
    for (int t = 0; t < kTabSlots; ++t)
        count += MarkedInTab(t);
    return count;
}

void StartIconLoading(HWND window) {
    if (PendingIconCount() > 0)
        SetTimer(window, kIconLoadingTimerId, kIconLoadingIntervalMs, OnIconLoadingTimer);
}

void StopIconLoading(HWND window) {
    KillTimer(window, kIconLoadingTimerId);
}
