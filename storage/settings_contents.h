// What the settings file holds: options, the pop-up command list, tabs and entries, and
// the two icon archives, moved between the files and memory at start and at close.
#pragma once

#include <windows.h>

// Validates and loads both archives, asking when one was changed outside the program.
void LoadArchives(HWND owner);
void LoadOptions();
void LoadMenuAndCatalogue();
// Writes the settings file and every changed archive.
void SaveAll();
