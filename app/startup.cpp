#include "app/startup.h"

#include "app/catalogue_services.h"
#include "app/command_dispatch.h"
#include "app/main_window.h"
#include "app/settings_contents.h"
#include "app/startup_reading.h"
#include "app/tray_icon.h"
#include "base/app_state.h"
#include "catalogue/catalogue.h"
#include "commands/menus.h"
#include "commands/shortcuts.h"
#include "res/command_ids.h"
#include "storage/icon_loading.h"
#include "storage/menu_commands.h"
#include "storage/settings.h"
#include "storage/settings_catalogue.h"
#include "storage/settings_file.h"
#include "view/grid_view.h"
#include "view/painting.h"
#include "view/window_behaviours.h"

const char kInstanceMutexName[] = "VARROW_M_";

HANDLE AcquireSingleInstance() {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kInstanceMutexName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex) CloseHandle(mutex);
        return nullptr;
    }
    return mutex;
}

void InitDataPaths() {
    char module[1024] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    module[sizeof module - 1] = '\0';
    SetDataPathsFromModule(module);
    // "C:" alone would name the drive's current folder, not its root.
    char folder[1024];
    lstrcpynA(folder, ProgramFolder(), sizeof folder - 1);
    int length = lstrlenA(folder);
    if (length == 2 && folder[1] == ':') lstrcatA(folder, "\\");
    SetCurrentDirectoryA(folder);
}

bool RegisterMainClass(HINSTANCE instance) {
    // Registered before the window exists, so the first message can already be matched.
    if (TaskbarCreatedMessage() == 0)
        SetTaskbarCreatedMessage(RegisterWindowMessageA("TaskbarCreated"));
    WNDCLASSA wc;
    ZeroMemory(&wc, sizeof wc);
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszMenuName = "VARROW_MENU";
    wc.lpszClassName = kMainClassName;
    return RegisterClassA(&wc) != 0;
}

// The layered style is only given where its attributes can be set (the Windows 2000 class);
// elsewhere a layered window would stay invisible, and transparency is never offered there.
DWORD MainWindowExStyle(int osVersionCode) {
    DWORD style = WS_EX_TOOLWINDOW | WS_EX_ACCEPTFILES;
    if (osVersionCode >= 8) style |= WS_EX_LAYERED;
    return style;
}

HWND CreateMainWindow(HINSTANCE instance) {
    SetAppInstance(instance);
    HWND window = CreateWindowExA(MainWindowExStyle(GetOsVersionCode()), kMainClassName,
                                  kMainWindowTitle, WS_SYSMENU | WS_MINIMIZEBOX, 30, 30, 414, 420,
                                  nullptr, nullptr, instance, nullptr);
    SetMainWindow(window);
    if (!window) return nullptr;
    InstallDialogRunners();
    FitStandardWindowHeight(window);
    LoadLayeredFunction();
    if (HasLayeredFunction()) SetLayeredAlpha(window, 255);
    return window;
}

void ApplyDefaultSettings() {
    ResetSettings();
    ApplyDefaultSettingValues(GetSysColor(COLOR_BTNSHADOW), GetOsVersionCode());
}

namespace {

bool g_iconsAfterLoad = false;

// How start-up loads entries: icons only marked, stored attributes kept to be read anew.
void LoadLikeStartUp(bool on) {
    DeferIconBinding(on);
    SetAttributesReadLater(on);
}

bool LoadOneKeptTab() {
    LoadLikeStartUp(true);
    bool loaded = LoadNextKeptTab();
    LoadLikeStartUp(false);
    return loaded;
}

void EndLoad() {
    FreeSpareEntries();
    // The parsed document is dropped; the lookup scratch stays for the save at exit.
    SettingsRelease();
    SettingsPrepare();
    SetVersion(1);
    SetVersionMiner(20);
    if (g_iconsAfterLoad) StartIconLoading(MainWindow());
    g_iconsAfterLoad = false;
}

void LoadEveryKeptTab() {
    while (LoadOneKeptTab()) {
    }
    EndLoad();
}

// One step of the load between messages: the next kept tab, or the end when none is left.
void LoadBetweenMessages() {
    if (!LoadOneKeptTab()) CompleteCatalogue();
}

} // namespace

void LoadForFirstPaint() {
    LoadMsiFunctions();
    ClearMenuCommands();
    ClearCatalogue();
    InstallCatalogueServices();
    bool settingsRead = FinishStartUpReading();
    SettingsPrepare();
    LoadArchives(MainWindow());
    if (!settingsRead) SettingsRead(SettingsPath());
    ReportUnreadableSettings(MainWindow());
    LoadOptions();
    // Only the current tab is on screen: icons are bound after the window shows.
    LoadLikeStartUp(true);
    LoadOtherTabsLater(true);
    LoadMenuAndCatalogue();
    LoadOtherTabsLater(false);
    LoadLikeStartUp(false);
    SetCatalogueCompletion(LoadEveryKeptTab);
}

void LoadAll() {
    LoadForFirstPaint();
    CompleteCatalogue();
}

void ShowMainWindow() {
    UpdateWindow(MainWindow());
    ShowWindow(MainWindow(), SW_SHOW);
    PaintGrid();
}

int RunMessageLoop() {
    MSG msg;
    for (;;) {
        // A kept tab is loaded whenever no message waits: the first paint comes before it.
        while (!IsCatalogueComplete() && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            LoadBetweenMessages();
        if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void CloseApplication(HWND window) {
    CompleteCatalogue();
    StopAutoHide();
    // Icons not bound by now are captured at the next start; everything else is saved, with
    // the attributes a finished load would have read.
    StopIconLoading(window);
    ReadPendingAttributes();
    DestroyWindow(ToolTip());
    SetToolTip(nullptr);

    RECT rect;
    if (IsSummoned()) {
        rect = SummonSavedRect();
    } else {
        GetWindowRect(window, &rect);
    }
    SetMainWindowPos(GetStyle(), rect.left, rect.top);

    UnregisterSummonHotKey(kSummonHotKeyId);
    SaveAll();
    FreeMsiFunctions();
    FreeCatalogue();
    SettingsRelease();
    RemoveTrayIcon();
    DestroyTrayMenu(TrayMenu());
    SetTrayMenu(nullptr);
    DestroyWindow(window);
}

int RunApplication(HINSTANCE instance) {
    HANDLE mutex = AcquireSingleInstance();
    if (!mutex) return 0;
    InitDataPaths();
    // The files are read while the window is made; they are waited for before they are used.
    BeginStartUpReading();
    // A close can arrive as soon as the window exists (WM_CREATE sends to other programs, the
    // questions of the load run message loops): it waits until everything is loaded.
    HoldClose();
    if (!RegisterMainClass(instance) || !CreateMainWindow(instance)) {
        FinishStartUpReading();
        FreeSpareEntries();
        return -1;
    }
    ApplyDefaultSettings();
    LoadForFirstPaint();
    RegisterSummonHotKey(GetHotKey(), kSummonHotKeyId);
    UpdateScrollRange();
    if (!IsCloseRemembered()) {
        // The icons not on screen are bound once every tab is loaded.
        g_iconsAfterLoad = true;
        ShowMainWindow();
    }
    ReleaseClose();
    int exitCode = RunMessageLoop();
    FreeLayeredFunction();
    ReleaseMutex(mutex);
    CloseHandle(mutex);
    return exitCode;
}
