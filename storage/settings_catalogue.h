// The entries of one tab in the settings file: the section "[Tab_" + name + "]" with eight
// keys per entry, named "%s_%s_%d" from the tab name, the field word and the entry index.
#pragma once

#include <cstddef>

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

// Reads `count` stored entries of the tab called tabName into catalogue slot t.
void LoadTabEntries(int t, const char* tabName, int count);
// Writes the entries of slot t under the tab name; nothing for an empty tab.
void SaveTabEntries(int t, const char* tabName);
