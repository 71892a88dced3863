#include "storage/settings_catalogue.h"

#include "catalogue/catalogue.h"
#include "storage/entry_icons.h"
#include "storage/data_paths.h"
#include "storage/settings.h"
#include "storage/settings_file.h"
#include "storage/settings_options.h"
#include "storage/settings_text.h"

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

bool GetByteAsInteger(const char* section, const char* key, int* value) {
    if (!GetIntegerKey(section, key, value)) return false;
    *value &= 0xFF;
    return true;
}

// Reads entry n of the section into record; false when its path key is missing or its file
// is gone while DeadLink is set.
bool ReadStoredEntry(const char* section, const char* tabName, int n, bool dropMissing,
                     bool useStoredAttributes, Entry* record, int* iconType) {
    char key[kSettingsNameField];
    std::memset(record, 0, sizeof *record);
    EntryKeyName(key, tabName, "FilePath", n);
    if (!GetTextKey(section, key, record->FilePath, sizeof record->FilePath)) return false;
    if (dropMissing && IsKnownMissing(record->FilePath)) return false;

    EntryKeyName(key, tabName, "FileName", n);
    GetTextKey(section, key, record->FileName, sizeof record->FileName);
    EntryKeyName(key, tabName, "Arg", n);
    GetTextKey(section, key, record->Arg, sizeof record->Arg);
    EntryKeyName(key, tabName, "WorkPath", n);
    if (!GetTextKey(section, key, record->WorkPath, sizeof record->WorkPath)) {
        DerivedWorkPath(record->WorkPath, sizeof record->WorkPath, record->FilePath);
    }

    EntryKeyName(key, tabName, "Attribute", n);
    int attribute = 0;
    bool stored = GetIntegerKey(section, key, &attribute);
    // Without the platform's attribute reader the stored value is all there is.
    if (stored && (useStoredAttributes || !CanReadAttributes())) {
        record->Attribute = static_cast<uint32_t>(attribute);
    } else {
        record->Attribute =
            CanReadAttributes() ? ReadAttributes(record->FilePath) : kMissingAttributes;
    }

    int value = 0;
    EntryKeyName(key, tabName, "IconType", n);
    *iconType = GetByteAsInteger(section, key, &value) ? value : 0;
    value = 0;
    EntryKeyName(key, tabName, "Count", n);
    GetIntegerKey(section, key, &value);
    record->Count = value;
    EntryKeyName(key, tabName, "Comment", n);
    GetTextKey(section, key, record->Comment, sizeof record->Comment);
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

void EntryKeyName(char* out, const char* tabName, const char* field, int n) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "_%s_%d", field, n);
    size_t room = kSettingsNameField - 1 - std::strlen(suffix);
    size_t kept = CharacterPrefixLength(tabName, std::strlen(tabName), room);
    std::snprintf(out, kSettingsNameField, "%.*s%s", static_cast<int>(kept), tabName, suffix);
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

void LoadTabEntries(int t, const char* tabName, int count) {
    if (!GetTab(t)) return;
    char section[kSettingsNameField];
    TabSectionName(section, tabName);
    bool dropMissing = GetDeadLink() != 0;
    bool useStoredAttributes = GetFileNotCheck() != 0;
    Entry* record = static_cast<Entry*>(std::calloc(1, sizeof(Entry)));
    if (!record) return;
    for (int n = 0; n < count; ++n) {
        int iconType = 0;
        if (!ReadStoredEntry(section, tabName, n, dropMissing, useStoredAttributes, record,
                             &iconType)) {
            continue;
        }
        char tabFolder[kIconFolderSize];
        char iconFolder[kIconFolderSize];
        TabCacheFolder(tabFolder, tabName);
        IconCacheFolder(iconFolder, tabFolder, record->FilePath);
        AddEntry(iconFolder, *record, iconType, t);
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
