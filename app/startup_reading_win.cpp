#include "app/startup_reading.h"

#include "base/app_state.h"
#include "catalogue/catalogue.h"
#include "storage/settings_catalogue.h"
#include "storage/settings_file.h"

#include <windows.h>

namespace {

HANDLE g_reader = nullptr;
CacheStartUpRead g_archives[2];
bool g_archiveTaken[2] = {true, true};

DWORD WINAPI ReadStartUpFiles(LPVOID) {
    CacheReadAtStartUp(CacheArchiveAuto(), CachePath(), &g_archives[0]);
    CacheReadAtStartUp(CacheArchiveUser(), CacheUserPath(), &g_archives[1]);
    SettingsPrepare();
    // [Info] and the section of the tab shown first; the other tabs' sections are read after
    // the first paint.
    SettingsRead(SettingsPath(), 2);
    // Records cost most of a load in fresh memory: those of the tab shown first are made here.
    PrepareSpareEntries(StoredEntryCount(1));
    return 0;
}

} // namespace

void BeginStartUpReading() {
    if (g_reader) return;
    g_reader = CreateThread(nullptr, 0, ReadStartUpFiles, nullptr, 0, nullptr);
}

bool FinishStartUpReading() {
    if (!g_reader) return false;
    WaitForSingleObject(g_reader, INFINITE);
    CloseHandle(g_reader);
    g_reader = nullptr;
    g_archiveTaken[0] = g_archiveTaken[1] = false;
    return true;
}

CacheStartUpRead* TakeEarlyArchiveRead(int archive) {
    if (archive < 0 || archive > 1 || g_archiveTaken[archive]) return nullptr;
    g_archiveTaken[archive] = true;
    return &g_archives[archive];
}
