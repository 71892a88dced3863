#include "app/tray_icon.h"

#include "base/app_state.h"
#include "res/command_ids.h"

#include <shellapi.h>

#include <cstring>

namespace {

const char kTrayTip[] = "Varrowin - Ver1.20";

// The record in its first, 88-byte form, kept to remove the icon again.
NOTIFYICONDATAA g_trayIcon;

} // namespace

void AddTrayIcon(HWND window, UINT callbackMessage, UINT iconId, HICON icon, const char* tip) {
    ZeroMemory(&g_trayIcon, sizeof g_trayIcon);
    g_trayIcon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    g_trayIcon.hWnd = window;
    g_trayIcon.uID = iconId;
    g_trayIcon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    g_trayIcon.uCallbackMessage = callbackMessage;
    g_trayIcon.hIcon = icon;
    lstrcpynA(g_trayIcon.szTip, tip, 64);
    Shell_NotifyIconA(NIM_ADD, &g_trayIcon);
}

void RemoveTrayIcon() {
    Shell_NotifyIconA(NIM_DELETE, &g_trayIcon);
}

const NOTIFYICONDATAA& TrayIconRecord() {
    return g_trayIcon;
}

void AddMainTrayIcon(HWND window) {
    HICON icon = LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_TRAY));
    AddTrayIcon(window, kTrayCallbackMessage, kTrayIconId, icon, kTrayTip);
}

void OnTaskbarCreated(HWND window) {
    RemoveTrayIcon();
    AddMainTrayIcon(window);
}

void OnTrayNotify(HWND window, LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONDOWN:
        ShowWindow(window, SW_SHOW);
        if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
        break;
    case WM_RBUTTONDOWN: {
        POINT pointer;
        GetCursorPos(&pointer);
        // The window must be in the foreground, or the menu will not close when the user
        // clicks elsewhere; WM_NULL afterwards lets it close properly.
        SetForegroundWindow(window);
        if (TrayMenu()) {
            TrackPopupMenu(TrayMenu(), TPM_BOTTOMALIGN, pointer.x, pointer.y, 0, window, nullptr);
        }
        PostMessageA(window, WM_NULL, 0, 0);
        break;
    }
    default: break;
    }
}
