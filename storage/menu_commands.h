// The lines of the entry pop-up menu: built-in entry commands, separators and user commands,
// one process-wide list of at most 30.
#pragma once

#include <cstdint>

enum {
    kMenuCommandSlots = 30,
    kMenuNameSize = 256,
    kMenuPathSize = 1024,
    kMenuArgSize = 256,
    kMenuSeparatorId = -1,
};

struct MenuCommand {
    char MenuName[kMenuNameSize];
    char MenuPath[kMenuPathSize];
    char MenuArg[kMenuArgSize];
    int32_t MenuID; // -1 separator, 1..9 entry command, 96..255 user command
};

void ClearMenuCommands();
// Appends a line; its index, or -1 when the list is full. Texts are cut to their fields.
int AddMenuCommand(const char* name, const char* path, const char* arg, int32_t id);
// Copies line `index` into out; 1, or 0 when there is no such line.
int GetMenuCommand(int index, MenuCommand* out);
// Index of the first line with this MenuID, or -1.
int FindMenuCommand(int32_t id);
int HasMenuCommandId(int32_t id);
int MenuCommandCount();
int MenuCommandCapacity();
// Removes a line and closes the gap; 1, or 0 for an index outside the list.
int RemoveMenuCommand(int index);
// 1 when line `index` exists and was replaced (texts cut to their fields), else 0.
int ReplaceMenuCommand(int index, const MenuCommand& command);
// Exchanges two slots (also beyond the count); 1, or 0 when an index is outside 0..29.
int SwapMenuCommands(int a, int b);
// The ten lines the list starts with when nothing else is known.
void FillDefaultMenuCommands();
