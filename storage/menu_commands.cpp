#include "storage/menu_commands.h"

#include "storage/settings_text.h"

#include <cstring>

namespace {

MenuCommand g_commands[kMenuCommandSlots];
int g_count;

bool IsLine(int index) {
    return index >= 0 && index < g_count;
}

void FillLine(MenuCommand* line, const char* name, const char* path, const char* arg, int32_t id) {
    std::memset(line, 0, sizeof *line);
    CopyTextField(line->MenuName, sizeof line->MenuName, name);
    CopyTextField(line->MenuPath, sizeof line->MenuPath, path);
    CopyTextField(line->MenuArg, sizeof line->MenuArg, arg);
    line->MenuID = id;
}

struct DefaultLine {
    const char* name;
    int32_t id;
};

const char kSeparatorName[] = "---セパレータ---";

const DefaultLine kDefaultLines[] = {
    {"リンク先を開く", 3},
    {"親ディレクトリを開く", 2},
    {"登録されている他のアプリを使って開く", 1},
    {kSeparatorName, kMenuSeparatorId},
    {"項目から削除", 4},
    {kSeparatorName, kMenuSeparatorId},
    {"アイコンを再取得", 6},
    {"個別にアイコンを設定する", 7},
    {kSeparatorName, kMenuSeparatorId},
    {"登録情報の編集", 5},
};

} // namespace

void ClearMenuCommands() {
    std::memset(g_commands, 0, sizeof g_commands);
    g_count = 0;
}

int AddMenuCommand(const char* name, const char* path, const char* arg, int32_t id) {
    if (g_count >= kMenuCommandSlots) return -1;
    FillLine(&g_commands[g_count], name, path, arg, id);
    return g_count++;
}

int GetMenuCommand(int index, MenuCommand* out) {
    if (!IsLine(index) || !out) return 0;
    *out = g_commands[index];
    return 1;
}

int FindMenuCommand(int32_t id) {
    for (int i = 0; i < g_count; ++i) {
        if (g_commands[i].MenuID == id) return i;
    }
    return -1;
}

int HasMenuCommandId(int32_t id) {
    return FindMenuCommand(id) >= 0 ? 1 : 0;
}

int MenuCommandCount() {
    return g_count;
}

int MenuCommandCapacity() {
    return kMenuCommandSlots;
}

int RemoveMenuCommand(int index) {
    if (!IsLine(index)) return 0;
    std::memmove(&g_commands[index], &g_commands[index + 1],
                 sizeof(MenuCommand) * static_cast<size_t>(g_count - index - 1));
    --g_count;
    std::memset(&g_commands[g_count], 0, sizeof(MenuCommand));
    return 1;
}

int ReplaceMenuCommand(int index, const MenuCommand& command) {
    if (!IsLine(index)) return 0;
    // The record may come from anywhere: its texts are bounded on the way in.
    MenuCommand copy = command;
    copy.MenuName[sizeof copy.MenuName - 1] = '\0';
    copy.MenuPath[sizeof copy.MenuPath - 1] = '\0';
    copy.MenuArg[sizeof copy.MenuArg - 1] = '\0';
    FillLine(&g_commands[index], copy.MenuName, copy.MenuPath, copy.MenuArg, copy.MenuID);
    return 1;
}

int SwapMenuCommands(int a, int b) {
    if (a < 0 || b < 0 || a >= kMenuCommandSlots || b >= kMenuCommandSlots) return 0;
    MenuCommand held = g_commands[a];
    g_commands[a] = g_commands[b];
    g_commands[b] = held;
    return 1;
}

void FillDefaultMenuCommands() {
    for (const DefaultLine& line : kDefaultLines)
        AddMenuCommand(line.name, "", "", line.id);
}
