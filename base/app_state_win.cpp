#include "base/app_state.h"

#include "base/data_paths.h"

namespace {

HINSTANCE g_appInstance;
HWND g_mainWindow;
DataPaths g_paths;
HWND g_tabControl;
HWND g_scrollBar;
HWND g_statusBar;
HWND g_toolTip;
HMENU g_mainMenu;
HMENU g_trayMenu;
UINT g_taskbarCreatedMessage;
int g_closeHolds;
bool g_closeRemembered;

} // namespace

HINSTANCE AppInstance() {
    return g_appInstance;
}
void SetAppInstance(HINSTANCE instance) {
    g_appInstance = instance;
}
HWND MainWindow() {
    return g_mainWindow;
}
void SetMainWindow(HWND window) {
    g_mainWindow = window;
}

const char* SettingsPath() {
    return g_paths.settings;
}
const char* CachePath() {
    return g_paths.cache;
}
const char* CacheUserPath() {
    return g_paths.cacheUser;
}
const char* ProgramFolder() {
    return g_paths.folder;
}
void SetDataPathsFromModule(const char* moduleFileName) {
    DeriveDataPaths(moduleFileName, &g_paths);
}

HWND TabControl() {
    return g_tabControl;
}
void SetTabControl(HWND control) {
    g_tabControl = control;
}
HWND ScrollBar() {
    return g_scrollBar;
}
void SetScrollBar(HWND control) {
    g_scrollBar = control;
}
HWND StatusBar() {
    return g_statusBar;
}
void SetStatusBar(HWND control) {
    g_statusBar = control;
}
HWND ToolTip() {
    return g_toolTip;
}
void SetToolTip(HWND control) {
    g_toolTip = control;
}
HMENU MainMenu() {
    return g_mainMenu;
}
void SetMainMenu(HMENU menu) {
    g_mainMenu = menu;
}
HMENU TrayMenu() {
    return g_trayMenu;
}
void SetTrayMenu(HMENU menu) {
    g_trayMenu = menu;
}
UINT TaskbarCreatedMessage() {
    return g_taskbarCreatedMessage;
}
void SetTaskbarCreatedMessage(UINT message) {
    g_taskbarCreatedMessage = message;
}

void HoldClose() {
    ++g_closeHolds;
}
void ReleaseClose() {
    if (g_closeHolds == 0 || --g_closeHolds > 0 || !g_closeRemembered) return;
    g_closeRemembered = false;
    // Posted, not run here: the caller is still inside the work that held it.
    if (g_mainWindow) PostMessageA(g_mainWindow, WM_CLOSE, 0, 0);
}
bool IsCloseHeld() {
    return g_closeHolds > 0;
}
void RememberClose() {
    g_closeRemembered = true;
}
bool IsCloseRemembered() {
    return g_closeRemembered;
}
