// The entries of one tab in the settings file: the section "[Tab_" + name + "]" with eight
// keys per entry, named "%s_%s_%d" from the tab name, the field word and the entry index.
#pragma once

#include "catalogue/catalogue.h"

#include <cstddef>
#include <vector>

// The section of a tab. Names too long for the 255-byte section name are cut at a character
// boundary before the closing bracket, the same way when saving and loading.
void TabSectionName(char* out, const char* tabName); // out: kSettingsNameField bytes
// The key of one field of entry n. When the name would be longer than 255 bytes, the tab
// name part is cut instead of the field word and index, so keys stay distinct.
void EntryKeyName(char* out, const char* tabName, const char* field, int n);
// The folder part of a path: the text before its last backslash or slash (two-byte
// characters stepped over); empty when it has none.
void PathFolderPart(char* out, size_t size, const char* path);
// The working folder of an entry whose WorkPath key is missing.
void DerivedWorkPath(char* out, size_t size, const char* path);

// Why a tab name could not be stored so that it reads back with its entries: a leading space or
// '[' (its key lines would read as other keys or as a section), an '=' (its key names would end
// there), or a line break (the rest would be a line of its own).
enum class TabNameFault { None, LeadingSpace, LeadingBracket, Equals, LineBreak };
TabNameFault CheckTabName(const char* name);
// Replaces every byte that CheckTabName objects to with '_'.
void MakeStorableTabName(char* name);
// True when two names would share one section and so one set of keys.
bool SameTabSection(const char* a, const char* b);
// base followed by "(k)", base cut at a character boundary so the whole fits a section name.
void NumberedTabName(char* out, const char* base, int k); // out: kSettingsNameField bytes

// The indexes below count whose FilePath key the tab's section holds, in increasing order;
// this bounds loading by what the file holds, whatever count it claims.
void StoredEntryIndexes(const char* tabName, int count, std::vector<int>* out);
// How many entries the first firstTabs tabs of the read settings file give at most (a tab
// without a name is no tab): per listed tab its stored count, but never more than its section
// holds paths for.
int StoredEntryCount(int firstTabs = kTabSlots);
// Reads `count` stored entries of the tab called tabName into catalogue slot t. occurrence n
// reads the keys of the (n+1)-th tab of that name in the file.
void LoadTabEntries(int t, const char* tabName, int count, int occurrence = 0);
// While on (at start-up), entries that would have their attributes read anew take the stored
// ones and are marked to be read later; entries are still dropped by DeadLink at once.
void SetAttributesReadLater(bool on);
// Writes the entries of slot t under the tab name; nothing for an empty tab.
void SaveTabEntries(int t, const char* tabName);
