// Icons of a large catalogue arrive after the window shows. While the catalogue is loaded at
// start-up every entry is only marked; the current tab's icons that the archive holds are bound
// before it is painted; the rest (other tabs, and icons that must be captured from the shell)
// are bound on a timer between messages, a slice at a time, the current tab first.
#pragma once

#include <windows.h>

// While on, entries added to the catalogue are marked instead of having their icons bound.
void DeferIconBinding(bool on);
// Binds the marked entries of tab t whose icons are in the archive; returns how many.
int BindCachedTabIcons(int t);
// Binds marked entries, the current tab first, until budgetMs milliseconds have passed (at
// least one entry when any is marked); returns how many.
int BindPendingIcons(DWORD budgetMs);
int PendingIconCount();
// The timer that binds the remaining icons; it stops by itself when none is left.
void StartIconLoading(HWND window);
void StopIconLoading(HWND window);
