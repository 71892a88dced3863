// What the settings file holds: options, the pop-up command list, tabs and entries, and
// the two icon archives, moved between the files and memory at start and at close.
#pragma once

#include "storage/settings_options.h"

#include <windows.h>

// The question asked when an archive's checksum does not match.
extern const char kCacheChangedQuestion[];

// Tells the user once when the settings file is there but could not be read; it is then not
// saved over at close.
void ReportUnreadableSettings(HWND owner);
// Validates and loads both archives, asking when one was changed outside the program.
void LoadArchives(HWND owner);
// Applies the loaded options to the window, then reads the command list, tabs and entries.
void LoadMenuAndCatalogue();
// The pieces of LoadMenuAndCatalogue.
void ApplyLoadedOptions();
void LoadTabs();
// While on, LoadTabs loads the entries of the first tab only, the one the window shows when
// it appears, and keeps the others for LoadNextKeptTab; it appends only the strip items that
// show, and keeps the others too.
void LoadOtherTabsLater(bool on);
// Appends the strip items kept for later, or else loads the entries of the next tab kept for
// later; false when nothing is left.
bool LoadNextKeptTab();

void SaveTabList();
void SaveEntries();
// Writes the settings file and every changed archive.
void SaveAll();
