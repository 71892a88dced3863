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

// The scroll arrows of the tab strip, the scroll bar and the spin controls are drawn with the
// Marlett symbol font. Under Wine the first paint that draws one loads the font, which made
// the first paint of a strip with more tabs than fit about 20 ms later; drawn here once, it is
// loaded while the window is being made.
void LoadArrowFont() {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 16, 16);
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    HFONT font = CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, 0, 0, 0,
                             0, "Marlett");
    HGDIOBJ previousFont = SelectObject(dc, font);
    TextOutA(dc, 0, 0, "34", 2);
    SelectObject(dc, previousFont);
    DeleteObject(font);
    SelectObject(dc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

DWORD WINAPI ReadStartUpFiles(LPVOID) {
    CacheReadAtStartUp(CacheArchiveAuto(), CachePath(), &g_archives[0]);
    CacheReadAtStartUp(CacheArchiveUser(), CacheUserPath(), &g_archives[1]);
    SettingsPrepare();
    // [Info] and the section of the tab shown first; the other tabs' sections are read after
    // the first paint.
    SettingsRead(SettingsPath(), 2);
    // Records cost most of a load in fresh memory: those of the tab shown first are made here.
    PrepareSpareEntries(StoredEntryCount(1));
    LoadArrowFont();
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
