#include "storage/settings_catalogue.h"

#include "base/data_paths.h"
#include "catalogue/catalogue.h"
#include "storage/entry_icons.h"
#include "storage/settings.h"
#include "storage/settings_file.h"
#include "storage/settings_options.h"
#include "storage/settings_text.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kTabSectionPrefix[] = "[Tab_";

bool IsShortcutName(const char* path) {
    size_t n = std::strlen(path);
    if (n < 4) return false;
    const char* ext = path + n - 4;
    return ext[0] == '.' && (ext[1] | 0x20) == 'l' && (ext[2] | 0x20) == 'n' &&
           (ext[3] | 0x20) == 'k';
}

bool CanReadAttributes() {
    return GetCatalogueServices().pathAttributes != nullptr;
}

uint32_t ReadAttributes(const char* path) {
    return GetCatalogueServices().pathAttributes(path);
}

// Without the platform's existence test nothing is known to be gone, so nothing is dropped.
bool IsKnownMissing(const char* path) {
    return CanReadAttributes() && ReadAttributes(path) == kMissingAttributes;
}

bool GetByteAsInteger(const char* section, const char* key, int* value, int occurrence) {
    if (!GetIntegerKey(section, key, value, occurrence)) return false;
    *value &= 0xFF;
    return true;
}

// Reads entry n of the section into record; false when its path key is missing or its file
// is gone while DeadLink is set.
bool ReadStoredEntry(const char* section, const char* tabName, int n, int occurrence,
                     bool dropMissing, bool useStoredAttributes, Entry* record, int* iconType) {
    char key[kSettingsNameField];
    // Each text is set by its lookup, found or not; only the numbers and links are cleared.
    std::memset(&record->Count, 0, sizeof *record - offsetof(Entry, Count));
    EntryKeyName(key, tabName, "FilePath", n);
    if (!GetTextKey(section, key, record->FilePath, sizeof record->FilePath, occurrence))
        return false;
    if (dropMissing && IsKnownMissing(record->FilePath)) return false;

    EntryKeyName(key, tabName, "FileName", n);
    GetTextKey(section, key, record->FileName, sizeof record->FileName, occurrence);
    EntryKeyName(key, tabName, "Arg", n);
    GetTextKey(section, key, record->Arg, sizeof record->Arg, occurrence);
    EntryKeyName(key, tabName, "WorkPath", n);
    if (!GetTextKey(section, key, record->WorkPath, sizeof record->WorkPath, occurrence)) {
        DerivedWorkPath(record->WorkPath, sizeof record->WorkPath, record->FilePath);
    }

    EntryKeyName(key, tabName, "Attribute", n);
    int attribute = 0;
    bool stored = GetIntegerKey(section, key, &attribute, occurrence);
    // Without the platform's attribute reader the stored value is all there is.
    if (stored && (useStoredAttributes || !CanReadAttributes())) {
        record->Attribute = static_cast<uint32_t>(attribute);
    } else {
        record->Attribute =
            CanReadAttributes() ? ReadAttributes(record->FilePath) : kMissingAttributes;
    }

    int value = 0;
    EntryKeyName(key, tabName, "IconType", n);
    *iconType = GetByteAsInteger(section, key, &value, occurrence) ? value : 0;
    value = 0;
    EntryKeyName(key, tabName, "Count", n);
    GetIntegerKey(section, key, &value, occurrence);
    record->Count = value;
    EntryKeyName(key, tabName, "Comment", n);
    GetTextKey(section, key, record->Comment, sizeof record->Comment, occurrence);
    return true;
}

void WriteEntry(const char* section, const char* tabName, const Entry& e, int n) {
    char key[kSettingsNameField];
    EntryKeyName(key, tabName, "FilePath", n);
    SetTextKey(section, key, e.FilePath);
    EntryKeyName(key, tabName, "FileName", n);
    SetTextKey(section, key, e.FileName);
    EntryKeyName(key, tabName, "Arg", n);
    SetTextKey(section, key, e.Arg);
    EntryKeyName(key, tabName, "WorkPath", n);
    SetTextKey(section, key, e.WorkPath);
    EntryKeyName(key, tabName, "Attribute", n);
    SetIntegerKey(section, key, static_cast<int>(e.Attribute));
    EntryKeyName(key, tabName, "IconType", n);
    SetByteKey(section, key, e.IconType);
    EntryKeyName(key, tabName, "Count", n);
    SetIntegerKey(section, key, e.Count);
    EntryKeyName(key, tabName, "Comment", n);
    SetTextKey(section, key, e.Comment);
}

} // namespace

void TabSectionName(char* out, const char* tabName) {
    // "[Tab_" and "]" take 6 of the 255 bytes.
    const size_t room = kSettingsNameField - 1 - (sizeof kTabSectionPrefix - 1) - 1;
    size_t n = CharacterPrefixLength(tabName, std::strlen(tabName), room);
    std::snprintf(out, kSettingsNameField, "%s%.*s]", kTabSectionPrefix, static_cast<int>(n),
                  tabName);
}

namespace {

// Writes n in decimal (no terminator) and returns the number of characters.
size_t WriteDecimal(char* out, int n) {
    char digits[12];
    size_t count = 0;
    uint32_t magnitude = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    size_t length = 0;
    if (n < 0) out[length++] = '-';
    while (count > 0)
        out[length++] = digits[--count];
    return length;
}

} // namespace

// Made by hand rather than formatted: it runs eight times for every entry loaded or saved.
void EntryKeyName(char* out, const char* tabName, const char* field, int n) {
    char suffix[64];
    size_t fieldLength = std::min<size_t>(std::strlen(field), 48);
    size_t s = 0;
    suffix[s++] = '_';
    std::memcpy(suffix + s, field, fieldLength);
    s += fieldLength;
    suffix[s++] = '_';
    s += WriteDecimal(suffix + s, n);
    size_t room = kSettingsNameField - 1 - s;
    size_t kept = CharacterPrefixLength(tabName, std::strlen(tabName), room);
    std::memcpy(out, tabName, kept);
    std::memcpy(out + kept, suffix, s);
    out[kept + s] = '\0';
}

void PathFolderPart(char* out, size_t size, const char* path) {
    if (size == 0) return;
    int length = ModuleFolderLength(path);
    size_t n = length < 0 ? 0 : static_cast<size_t>(length);
    n = CharacterPrefixLength(path, n, size - 1);
    std::memcpy(out, path, n);
    out[n] = '\0';
}

void DerivedWorkPath(char* out, size_t size, const char* path) {
    if (size == 0) return;
    out[0] = '\0';
    const CatalogueServices& services = GetCatalogueServices();
    if (IsShortcutName(path) && services.resolveShortcut) {
        ShortcutTarget* link = static_cast<ShortcutTarget*>(std::calloc(1, sizeof(ShortcutTarget)));
        if (link && services.resolveShortcut(path, link)) {
            link->workingFolder[sizeof link->workingFolder - 1] = '\0';
            link->target[sizeof link->target - 1] = '\0';
            if (link->workingFolder[0] != '\0') {
                CopyTextField(out, size, link->workingFolder);
            } else {
                PathFolderPart(out, size, link->target);
            }
            std::free(link);
            return;
        }
        std::free(link);
    }
    // Any other file, and a shortcut that cannot be resolved: the folder that holds it.
    PathFolderPart(out, size, path);
}

TabNameFault CheckTabName(const char* name) {
    if (name[0] == ' ') return TabNameFault::LeadingSpace;
    if (name[0] == '[') return TabNameFault::LeadingBracket;
    // Every byte, second bytes included: the key reader looks for '=' byte by byte.
    for (const char* p = name; *p; ++p) {
        if (*p == '=') return TabNameFault::Equals;
        if (*p == '\r' || *p == '\n') return TabNameFault::LineBreak;
    }
    return TabNameFault::None;
}

void MakeStorableTabName(char* name) {
    for (char* p = name; *p; ++p) {
        bool leading = p == name && (*p == ' ' || *p == '[');
        if (leading || *p == '=' || *p == '\r' || *p == '\n') *p = '_';
    }
}

bool SameTabSection(const char* a, const char* b) {
    char first[kSettingsNameField];
    char second[kSettingsNameField];
    TabSectionName(first, a);
    TabSectionName(second, b);
    return std::strcmp(first, second) == 0;
}

void NumberedTabName(char* out, const char* base, int k) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "(%d)", k);
    const size_t room = kSettingsNameField - 1 - (sizeof kTabSectionPrefix - 1) - 1;
    size_t kept = CharacterPrefixLength(base, std::strlen(base), room - std::strlen(suffix));
    std::snprintf(out, kSettingsNameField, "%.*s%s", static_cast<int>(kept), base, suffix);
}

void StoredEntryIndexes(const char* tabName, int count, std::vector<int>* out) {
    out->clear();
    char sectionName[kSettingsNameField];
    TabSectionName(sectionName, tabName);
    const SettingsSection* section = SettingsFindSection(sectionName);
    if (!section || count <= 0) return;
    static const char kField[] = "_FilePath_";
    const size_t fieldLength = sizeof kField - 1;
    const SettingsKey* k = section->firstKey;
    do {
        // The index is the run of digits after the last "_FilePath_"; the whole name must then
        // be the one the writer makes for that index.
        const char* name = k->name;
        size_t length = static_cast<size_t>(k->nameLength);
        size_t digits = 0;
        while (digits < length && digits < 10 && name[length - 1 - digits] >= '0' &&
               name[length - 1 - digits] <= '9')
            ++digits;
        if (digits > 0 && length >= digits + fieldLength &&
            std::memcmp(name + length - digits - fieldLength, kField, fieldLength) == 0) {
            long long n = std::strtoll(name + length - digits, nullptr, 10);
            char expected[kSettingsNameField];
            if (n < count) EntryKeyName(expected, tabName, "FilePath", static_cast<int>(n));
            if (n < count && std::strcmp(expected, name) == 0) out->push_back(static_cast<int>(n));
        }
        k = k->next;
    } while (k != section->firstKey);
    std::sort(out->begin(), out->end());
    out->erase(std::unique(out->begin(), out->end()), out->end());
}

int StoredEntryCount(int firstTabs) {
    int tabs = 0;
    if (!GetIntegerKey(kInfoSection, "TabCount", &tabs)) return 0;
    tabs = std::min(tabs, static_cast<int>(kTabSlots));
    int total = 0;
    int named = 0;
    std::vector<int> indexes;
    for (int i = 0; i < tabs && named < firstTabs; ++i) {
        char key[kSettingsNameField];
        char name[kSettingsNameField];
        int count = 0;
        std::snprintf(key, sizeof key, "Tab_%d", i);
        if (!GetTextKey(kInfoSection, key, name, sizeof name)) continue;
        ++named;
        std::snprintf(key, sizeof key, "Tab_%d_Count", i);
        if (!GetIntegerKey(kInfoSection, key, &count)) continue;
        StoredEntryIndexes(name, count, &indexes);
        total += static_cast<int>(indexes.size());
    }
    return total;
}

namespace {
bool g_attributesReadLater = false;
} // namespace

void SetAttributesReadLater(bool on) {
    g_attributesReadLater = on;
}

void LoadTabEntries(int t, const char* tabName, int count, int occurrence) {
    if (!GetTab(t)) return;
    char section[kSettingsNameField];
    TabSectionName(section, tabName);
    bool dropMissing = GetDeadLink() != 0;
    bool useStoredAttributes = GetFileNotCheck() != 0;
    bool readLater = g_attributesReadLater && !dropMissing && !useStoredAttributes;
    std::vector<int> indexes;
    StoredEntryIndexes(tabName, count, &indexes);
    Entry* record = static_cast<Entry*>(std::calloc(1, sizeof(Entry)));
    if (!record) return;
    char tabFolder[kIconFolderSize];
    TabCacheFolder(tabFolder, tabName);
    for (int n : indexes) {
        int iconType = 0;
        if (!ReadStoredEntry(section, tabName, n, occurrence, dropMissing,
                             useStoredAttributes || readLater, record, &iconType)) {
            continue;
        }
        char iconFolder[kIconFolderSize];
        IconCacheFolder(iconFolder, tabFolder, record->FilePath);
        int k = AddEntry(iconFolder, *record, iconType, t);
        Entry* added = readLater && k >= 0 ? FindEntry(t, k) : nullptr;
        if (added) added->attributesPending = 1;
    }
    std::free(record);
}

void SaveTabEntries(int t, const char* tabName) {
    Tab* tab = GetTab(t);
    if (!tab || !tab->head) return;
    char section[kSettingsNameField];
    TabSectionName(section, tabName);
    const Entry* e = tab->head;
    int n = 0;
    do {
        WriteEntry(section, tabName, *e, n++);
        e = e->next;
    } while (e && e != tab->head);
}
