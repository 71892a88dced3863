#include "app/settings_contents.h"

#include "app/startup_reading.h"
#include "base/app_state.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "commands/menus.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "storage/icon_loading.h"
#include "storage/menu_commands.h"
#include "storage/settings.h"
#include "storage/settings_catalogue.h"
#include "storage/settings_file.h"
#include "view/grid_view.h"
#include "view/window_behaviours.h"

#include <cstdio>
#include <vector>

const char kCacheChangedQuestion[] =
    "キャッシュの内容が変更されています\r\n"
    "正確なロードが行われないかもしれませんが、ロードを続行しますか？\r\n"
    "＊続行しない時はキャッシュはクリアされます";

namespace {

const char kErrorCaption[] = "Error";
const int kLowestAppliedAlpha = 20;

// Answering No starts with the archive empty; the file is replaced at the next save.
bool AskToLoadChangedArchive(void* owner) {
    return MessageBoxA(static_cast<HWND>(owner), kCacheChangedQuestion, kErrorCaption,
                       MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2) == IDYES;
}

void TabKey(char* out, int i) {
    std::snprintf(out, kSettingsNameField, "Tab_%d", i);
}

void TabCountKey(char* out, int i) {
    std::snprintf(out, kSettingsNameField, "Tab_%d_Count", i);
}

bool IsNameTakenBefore(int slot, const char* name) {
    char other[kTabNameSize];
    for (int t = 0; t < slot; ++t) {
        GetTabName(t, other);
        if (SameTabSection(other, name)) return true;
    }
    return false;
}

void ApplyStoredStyle() {
    int style = GetStyle();
    if (style >= kDisplayStyles) {
        SetStyle(0);
        return;
    }
    if (style != 0) ApplyDisplayStyle(style);
    int32_t x = 0, y = 0;
    GetMainWindowPos(style, &x, &y);
    // A position no monitor shows (one removed since) leaves the window at its first place.
    if (IsShownOnAMonitor(x, y)) PlaceMainWindow(MainWindow(), x, y, 0, 0, SWP_NOSIZE);
}

// The name the tab strip holds may differ from the stored one (bytes that are no Shift-JIS come
// back as another character), may be one the file cannot give back, or may be one an earlier
// tab already has. Any of these would lose entries at the next start: the tab gets a name of
// its own that reads back, and its icon folder follows it when no earlier tab shares it.
void GiveLoadedTabItsOwnName(int slot, const char* storedName, bool ownsIconFolder) {
    char shown[kTabNameSize];
    GetTabName(slot, shown);
    MakeStorableTabName(shown);
    char name[kSettingsNameField];
    lstrcpynA(name, shown, sizeof name);
    for (int k = 2; k < 1000 && IsNameTakenBefore(slot, name); ++k)
        NumberedTabName(name, shown, k);
    char current[kTabNameSize];
    GetTabName(slot, current);
    if (lstrcmpA(current, name) != 0) SetTabName(slot, name);
    if (!ownsIconFolder || lstrcmpA(storedName, name) == 0) return;
    char folder[kIconFolderSize];
    TabCacheFolder(folder, storedName);
    CacheRenameFolder(CacheArchiveAuto(), folder, name);
    CacheRenameFolder(CacheArchiveUser(), folder, name);
}

const char kUnreadableSettingsMessage[] =
    "設定ファイル(qdx.ini)を読み込めませんでした\r\n"
    "他のソフトが使用中か、読み取りが許可されていない可能性があります\r\n"
    "設定ファイルを守るため、今回の終了時には設定を保存しません";
const char kNoticeCaption[] = "お知らせ";

} // namespace

void ReportUnreadableSettings(HWND owner) {
    if (SettingsReadState() != FileReadResult::Unreadable) return;
    MessageBoxA(owner, kUnreadableSettingsMessage, kNoticeCaption, MB_OK | MB_ICONWARNING);
}

void LoadArchives(HWND owner) {
    const int archives[] = {CacheArchiveAuto(), CacheArchiveUser()};
    const char* paths[] = {CachePath(), CacheUserPath()};
    for (int i = 0; i < 2; ++i) {
        CacheStartUpRead own;
        CacheStartUpRead* read = TakeEarlyArchiveRead(archives[i]);
        if (!read) {
            CacheReadAtStartUp(archives[i], paths[i], &own);
            read = &own;
        }
        CacheFinishStartUp(archives[i], read, AskToLoadChangedArchive, owner);
    }
}

void ApplyLoadedOptions() {
    int size = GetSize();
    if (size >= 0 && size <= 2) SelectCellSize(size);
    ApplyStoredStyle();
    MarkStartupSortItem(MainMenu(), GetSort());
    if (GetAlpha() >= kLowestAppliedAlpha) SetLayeredAlpha(MainWindow(), GetAlpha());
    int iconDraw = GetIconDraw();
    if (iconDraw == 0 || iconDraw > 3) SetIconDraw(DefaultIconDraw(GetOsVersionCode()));
}

namespace {

// One tab of the stored list: a skipped tab leaves no gap, so catalogue slots and tab strip
// items stay aligned; a later tab of the same name reads the next group of keys.
struct StoredTab {
    int slot;
    char name[kTabNameSize];
    bool hasCount;
    int entries;
    int occurrence;
    bool later; // its entries are loaded by LoadNextKeptTab
};

bool g_otherTabsLater = false;
std::vector<StoredTab> g_tabsKeptForLater;
// Tabs whose strip items could not show in the first paint: they are appended after it.
std::vector<StoredTab> g_stripItemsKeptForLater;

void ReadTabList(std::vector<StoredTab>* tabs) {
    int count = 0;
    if (!GetIntegerKey(kInfoSection, "TabCount", &count)) return;
    if (count > kTabSlots) count = kTabSlots;
    int first = TabNameCount();
    for (int i = 0; i < count; ++i) {
        StoredTab tab = {};
        char key[kSettingsNameField];
        TabKey(key, i);
        if (!GetTextKey(kInfoSection, key, tab.name, sizeof tab.name)) continue;
        tab.slot = first + static_cast<int>(tabs->size());
        for (const StoredTab& earlier : *tabs)
            if (SameTabSection(earlier.name, tab.name)) ++tab.occurrence;
        TabCountKey(key, i);
        tab.hasCount = GetIntegerKey(kInfoSection, key, &tab.entries);
        tabs->push_back(tab);
    }
}

void LoadEntriesOf(const StoredTab& tab) {
    if (tab.hasCount && tab.slot < kTabSlots && !tab.later)
        LoadTabEntries(tab.slot, tab.name, tab.entries, tab.occurrence);
}

// Settles the names of the first count tabs, in order: a name is compared with the tabs
// before it.
void SettleTabNames(const std::vector<StoredTab>& tabs, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (tabs[i].slot < kTabSlots)
            GiveLoadedTabItsOwnName(tabs[i].slot, tabs[i].name, tabs[i].occurrence == 0);
}

// Appends the strip items of the tabs, or only of those that show; the number appended.
size_t AppendStripItems(const std::vector<StoredTab>& tabs, bool onlyThoseShown) {
    std::vector<const char*> names;
    for (const StoredTab& tab : tabs)
        names.push_back(tab.name);
    int count = static_cast<int>(names.size());
    if (onlyThoseShown) return static_cast<size_t>(AppendTabsThatShow(names.data(), count));
    AppendTabs(names.data(), count);
    return tabs.size();
}

DWORD WINAPI LoadEntriesOfTabs(LPVOID param) {
    for (const StoredTab& tab : *static_cast<const std::vector<StoredTab>*>(param))
        LoadEntriesOf(tab);
    return 0;
}

} // namespace

void LoadOtherTabsLater(bool on) {
    g_otherTabsLater = on;
}

bool LoadNextKeptTab() {
    // The strip items first: the names of the kept tabs are settled with them, before any
    // of their entries bind an icon from the folder of their name.
    if (!g_stripItemsKeptForLater.empty()) {
        std::vector<StoredTab> tabs;
        tabs.swap(g_stripItemsKeptForLater);
        // Items that cannot show change no pixel of a painted strip, which is not painted
        // again for them: that paint could cost more than the appending.
        HWND strip = TabControl();
        bool painted = !GetUpdateRect(strip, nullptr, FALSE);
        AppendStripItems(tabs, false);
        SettleTabNames(tabs, tabs.size());
        if (painted) ValidateRect(strip, nullptr);
        return true;
    }
    if (g_tabsKeptForLater.empty()) return false;
    StoredTab tab = g_tabsKeptForLater.front();
    g_tabsKeptForLater.erase(g_tabsKeptForLater.begin());
    tab.later = false;
    LoadEntriesOf(tab);
    return true;
}

void LoadTabs() {
    std::vector<StoredTab> tabs;
    ReadTabList(&tabs);
    // Only the first tab is shown when the window appears.
    g_tabsKeptForLater.clear();
    g_stripItemsKeptForLater.clear();
    if (g_otherTabsLater) {
        for (size_t i = 1; i < tabs.size(); ++i) {
            tabs[i].later = true;
            g_tabsKeptForLater.push_back(tabs[i]);
        }
    }
    // At start-up, when entries only mark their icons, they are read on a worker while the tab
    // strip gets its items (each costs the strip a new layout). The two share nothing: an insert
    // notifies no window, so nothing reads the catalogue meanwhile. The names are settled once
    // both are done.
    HANDLE worker = nullptr;
    if (IconBindingDeferred())
        worker = CreateThread(nullptr, 0, LoadEntriesOfTabs, &tabs, 0, nullptr);
    if (!worker) {
        for (const StoredTab& tab : tabs) {
            AppendTab(tab.name);
            if (tab.slot >= kTabSlots) continue;
            LoadEntriesOf(tab);
            GiveLoadedTabItsOwnName(tab.slot, tab.name, tab.occurrence == 0);
        }
        return;
    }
    // At start-up the items that could not show in the first paint are appended after it.
    size_t appended = AppendStripItems(tabs, g_otherTabsLater);
    g_stripItemsKeptForLater.assign(tabs.begin() + static_cast<std::ptrdiff_t>(appended),
                                    tabs.end());
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    SettleTabNames(tabs, appended);
}

void LoadMenuAndCatalogue() {
    ApplyLoadedOptions();
    if (!SettingsHasSection(kInfoSection)) {
        FillDefaultMenuCommands();
    } else {
        LoadMenuCommands();
        LoadTabs();
    }
    if (GetAutoHide()) StartAutoHide();
}

void SaveTabList() {
    int count = TabNameCount();
    SetIntegerKey(kInfoSection, "TabCount", count);
    for (int i = 0; i < count; ++i) {
        char key[kSettingsNameField];
        char name[kTabNameSize];
        GetTabName(i, name);
        TabKey(key, i);
        SetTextKey(kInfoSection, key, name);
        int entries = EntryCount(i);
        TabCountKey(key, i);
        SetIntegerKey(kInfoSection, key, entries < 0 ? 0 : entries);
    }
}

void SaveEntries() {
    int count = TabNameCount();
    for (int t = 0; t < kTabSlots && t < count; ++t) {
        if (EntryCount(t) <= 0) continue;
        char name[kTabNameSize];
        GetTabName(t, name);
        SaveTabEntries(t, name);
    }
}

void SaveAll() {
    SaveOptions();
    SaveTabList();
    SaveMenu();
    SaveEntries();
    SettingsWrite(SettingsPath(), kSettingsHeaderLine);
    CacheShutDown(CacheArchiveAuto(), CachePath());
    CacheShutDown(CacheArchiveUser(), CacheUserPath());
}
