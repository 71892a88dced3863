// Shell links and advertised (Windows Installer) shortcuts, the folder a path starts in, and
// the launcher's own shortcut in the user's start-up folder.
#pragma once

#include <windows.h>

enum { kShortcutField = 512 };

// Filled with zeros by the caller before each resolution.
struct ShortcutInfo {
    char target[kShortcutField];
    char arguments[kShortcutField];
    int showCommand;
    char workingFolder[kShortcutField];
};

// msi.dll and its two entry points; loaded at start-up, switched off at shutdown. The module
// itself stays loaded for the life of the process, as a launch worker may still be inside it.
bool LoadMsiFunctions();
void FreeMsiFunctions();

// Resolves a shortcut: first as an advertised shortcut of a locally installed product, then
// as a shell link. findData is for the shell's use only. False for anything else.
bool ResolveShortcut(const char* path, ShortcutInfo* info, WIN32_FIND_DATAA* findData);

// The folder in which a path is started: a shortcut's working folder (or its target's
// folder), else the path's own folder. False, with out untouched, for a null path or an
// unresolvable shortcut.
bool StartFolderOf(char* out, int capacity, const char* path);

// The user's start-up folder (out of MAX_PATH bytes); false leaves out as it was.
bool GetStartupFolder(char* out);
// The start-up shortcut's file name, and its full path (1024 bytes).
extern const char kStartupShortcutName[]; // "qdx.lnk"
void StartupShortcutPath(char* out);

bool CreateStartupShortcut(const char* linkPath, const char* target, const char* description,
                           const char* arguments, const char* workingFolder, const char* iconPath,
                           int iconIndex, int showCommand);
