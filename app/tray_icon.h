// The notification-area icon.
#pragma once

#include <windows.h>
#include <shellapi.h>

enum { kTrayIconId = 3 };
const UINT kTrayCallbackMessage = WM_APP + 100;

void AddTrayIcon(HWND window, UINT callbackMessage, UINT iconId, HICON icon, const char* tip);
void RemoveTrayIcon();
// The record of the icon as last added (also used to remove it).
const NOTIFYICONDATAA& TrayIconRecord();
// Adds the icon with the values the main window uses.
void AddMainTrayIcon(HWND window);
void OnTaskbarCreated(HWND window);
void OnTrayNotify(HWND window, LPARAM mouseMessage);
