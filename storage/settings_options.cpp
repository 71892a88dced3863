#include "storage/settings_options.h"

#include "storage/menu_commands.h"
#include "storage/settings.h"
#include "storage/settings_file.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

const char kInfoSection[] = "[Info]";
const char kSettingsHeaderLine[] =
    "; 設定ファイルを手動で編集した場合、正確なロードは保証されません";

namespace {

// One option of the [Info] section: its key, how it is written, and its field.
struct OptionKey {
    const char* key;
    SettingsType type; // Integer, or Byte for the low byte of the field
    int32_t (*get)();
    void (*set)(int32_t);
};

#define OPTION(Type, Name)                                                                         \
    {                                                                                              \
#Name, SettingsType::Type, [] { return static_cast<int32_t>(Get##Name()); },           \
            [](int32_t v) { Set##Name(static_cast<decltype(Get##Name())>(v)); }           \
    }

const OptionKey kOptionKeys[] = {
    OPTION(Byte, Sort),
    OPTION(Byte, Alpha),
    OPTION(Byte, TopMost),
    OPTION(Byte, MoveLock),
    OPTION(Byte, AutoHide),
    OPTION(Byte, Multi),
    OPTION(Integer, AutoHideTimer),
    OPTION(Byte, DeadLink),
    OPTION(Byte, Tooltip),
    OPTION(Byte, DeleteCheck),
    OPTION(Byte, FileNotCheck),
    OPTION(Byte, ShortcutFull),
    OPTION(Integer, HotKey),
    OPTION(Byte, Style),
    OPTION(Byte, Size),
    OPTION(Byte, IconDraw),
    OPTION(Integer, Color),
    OPTION(Byte, BackGround),
    OPTION(Byte, Grid),
    OPTION(Byte, GridType),
    OPTION(Integer, GridColor),
    OPTION(Integer, CursorColor),
    OPTION(Byte, CursorGround),
    OPTION(Byte, CursorGradWay),
    OPTION(Integer, CursorGColorStart),
    OPTION(Integer, CursorGColorEnd),
    OPTION(Byte, GradWay),
    OPTION(Integer, GColorStart),
    OPTION(Integer, GColorEnd),
    {"Version", SettingsType::Byte, [] { return static_cast<int32_t>(VersionValue()); },
     [](int32_t v) { SetVersion(v); }},
    {"VersionMiner", SettingsType::Byte, [] { return static_cast<int32_t>(VersionMinerValue()); },
     [](int32_t v) { SetVersionMiner(v); }},
};
#undef OPTION

void PositionKeys(int style, char* xKey, char* yKey) {
    std::snprintf(xKey, kSettingsNameField, "%s_%d", "MainWindowPosX", style);
    std::snprintf(yKey, kSettingsNameField, "%s_%d", "MainWindowPosY", style);
}

void MenuKey(char* out, const char* word, int i) {
    std::snprintf(out, kSettingsNameField, "%s_%d", word, i);
}

} // namespace

bool GetIntegerKey(const char* section, const char* key, int* value, int occurrence) {
    int32_t read = 0;
    if (SettingsGet(section, key, SettingsType::Integer, &read, sizeof read, 0, occurrence) < 0)
        return false;
    *value = read;
    return true;
}

bool GetTextKey(const char* section, const char* key, char* field, int size, int occurrence) {
    if (size <= 0) return false;
    field[0] = '\0';
    return SettingsGet(section, key, SettingsType::String, field, static_cast<size_t>(size), 0,
                       occurrence) >= 0;
}

void SetIntegerKey(const char* section, const char* key, int value) {
    int32_t stored = value;
    SettingsSet(section, key, SettingsType::Integer, &stored, 1);
}

void SetByteKey(const char* section, const char* key, int value) {
    unsigned char stored = static_cast<unsigned char>(value & 0xFF);
    SettingsSet(section, key, SettingsType::Byte, &stored, 1);
}

void SetTextKey(const char* section, const char* key, const char* text) {
    SettingsSet(section, key, SettingsType::String, text, static_cast<int32_t>(std::strlen(text)));
}

void LoadOptions() {
    for (int style = 0; style < kDisplayStyles; ++style) {
        char xKey[kSettingsNameField];
        char yKey[kSettingsNameField];
        PositionKeys(style, xKey, yKey);
        int x = 0, y = 0;
        // A position is only taken as a pair.
        bool hasX = GetIntegerKey(kInfoSection, xKey, &x);
        bool hasY = GetIntegerKey(kInfoSection, yKey, &y);
        if (hasX && hasY) SetMainWindowPos(style, x, y);
    }
    for (const OptionKey& option : kOptionKeys) {
        int value = 0;
        if (!GetIntegerKey(kInfoSection, option.key, &value)) continue;
        option.set(option.type == SettingsType::Byte ? (value & 0xFF) : value);
    }
}

void SaveOptions() {
    for (int style = 0; style < kDisplayStyles; ++style) {
        char xKey[kSettingsNameField];
        char yKey[kSettingsNameField];
        PositionKeys(style, xKey, yKey);
        int32_t x = 0, y = 0;
        GetMainWindowPos(style, &x, &y);
        SetIntegerKey(kInfoSection, xKey, x);
        SetIntegerKey(kInfoSection, yKey, y);
    }
    for (const OptionKey& option : kOptionKeys) {
        if (option.type == SettingsType::Byte) {
            SetByteKey(kInfoSection, option.key, option.get());
        } else {
            SetIntegerKey(kInfoSection, option.key, option.get());
        }
    }
}

void LoadMenuCommands() {
    int total = 0;
    if (!GetIntegerKey(kInfoSection, "MenuTotal", &total)) {
        FillDefaultMenuCommands();
        return;
    }
    if (total > kMenuCommandSlots) total = kMenuCommandSlots;
    for (int i = 0; i < total; ++i) {
        // A key missing from a hand-edited file gives an empty text or 0.
        MenuCommand line;
        std::memset(&line, 0, sizeof line);
        char key[kSettingsNameField];
        MenuKey(key, "MenuName", i);
        GetTextKey(kInfoSection, key, line.MenuName, sizeof line.MenuName);
        MenuKey(key, "MenuPath", i);
        GetTextKey(kInfoSection, key, line.MenuPath, sizeof line.MenuPath);
        MenuKey(key, "MenuArg", i);
        GetTextKey(kInfoSection, key, line.MenuArg, sizeof line.MenuArg);
        MenuKey(key, "MenuID", i);
        int id = 0;
        GetIntegerKey(kInfoSection, key, &id);
        AddMenuCommand(line.MenuName, line.MenuPath, line.MenuArg, id);
    }
}

void SaveMenu() {
    int total = MenuCommandCount();
    SetIntegerKey(kInfoSection, "MenuTotal", total);
    for (int i = 0; i < total; ++i) {
        MenuCommand line;
        if (!GetMenuCommand(i, &line)) continue;
        char key[kSettingsNameField];
        MenuKey(key, "MenuName", i);
        SetTextKey(kInfoSection, key, line.MenuName);
        MenuKey(key, "MenuPath", i);
        SetTextKey(kInfoSection, key, line.MenuPath);
        MenuKey(key, "MenuArg", i);
        SetTextKey(kInfoSection, key, line.MenuArg);
        MenuKey(key, "MenuID", i);
        SetIntegerKey(kInfoSection, key, line.MenuID);
    }
}
