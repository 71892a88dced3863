// The files read at start-up need no window: the two icon archives and the settings file are
// read on a worker thread while the main window is being made, and the load sequence takes
// what it found. Everything that asks the user (a changed archive, an unreadable settings file)
// still happens on the window's thread, in the usual order, after the reading has finished.
#pragma once

#include "storage/cache_archive.h"

// Starts reading Cache.arc, CacheUser.arc and qdx.ini from the data paths, and making the
// records of the entries of the first tab the file lists (PrepareSpareEntries). Until
// FinishStartUpReading returns, nothing may touch the archives, the settings layer or the spare
// records.
void BeginStartUpReading();
// Waits for the reading. True when the settings file was read by it; false when the reading
// was never begun or could not be started (the caller then reads everything itself).
bool FinishStartUpReading();
// What the reading found of one archive, handed out once; null when it was not read early.
CacheStartUpRead* TakeEarlyArchiveRead(int archive);
