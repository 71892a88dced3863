// The [Info] section of the settings file: the options, in the order they are written, and
// the pop-up command list. Works on the process-wide settings document.
#pragma once

extern const char kInfoSection[];        // "[Info]"
extern const char kSettingsHeaderLine[]; // the file's first line

// Fetches every option that the document holds; missing keys keep the current values.
void LoadOptions();
// The window positions and the options, in file order.
void SaveOptions();
// The command list from MenuTotal and its lines, or the default list without MenuTotal.
void LoadMenuCommands();
// MenuTotal and the four keys of each command.
void SaveMenu();

// Fetches an Integer key into *value; false (value untouched) when the key is missing.
bool GetIntegerKey(const char* section, const char* key, int* value, int occurrence = 0);
// Fetches a String key into a field of `size` bytes, cut to fit; empty when missing.
bool GetTextKey(const char* section, const char* key, char* field, int size, int occurrence = 0);
void SetIntegerKey(const char* section, const char* key, int value);
void SetByteKey(const char* section, const char* key, int value);
void SetTextKey(const char* section, const char* key, const char* text);
