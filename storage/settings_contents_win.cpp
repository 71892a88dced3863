#include "storage/settings_contents.h"

// Reading and writing the settings file and the archives is not built yet: the program
// starts with its defaults and saves nothing.
void LoadArchives(HWND) {}
void LoadOptions() {}
void LoadMenuAndCatalogue() {}
void SaveAll() {}
