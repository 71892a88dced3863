// Icons of a large catalogue arrive after the window shows. While the catalogue is loaded at
// start-up every entry is only marked (and, unless DeadLink needs them at once, keeps its stored
// attributes); the cells on screen have their attributes read anew and their icons bound before
// they are painted, captured from the shell where the archive lacks them (a screenful is a few
// dozen); the rest (other rows and tabs) follow on a timer between messages, a slice at a time,
// the current tab first.
#pragma once

#include <windows.h>

// While on, entries added to the catalogue are marked instead of having their icons bound.
void DeferIconBinding(bool on);
bool IconBindingDeferred();
// Reads anew the attributes of tab t's marked entries first to first + count - 1 and binds
// their icons; returns how many it bound.
int BindShownIcons(int t, int first, int count);
// Binds the icon of one marked entry at once, for a command that needs its bits now.
void BindEntryIconNow(int t, int index);
// Binds marked entries, the current tab first, until budgetMs milliseconds have passed (at
// least one entry when any is marked); returns how many.
int BindPendingIcons(DWORD budgetMs);
int PendingIconCount();
// Reads anew the attributes of every entry still loaded with its stored ones; no icon is bound.
void ReadPendingAttributes();
// The timer that binds the remaining icons; it stops by itself when none is left.
void StartIconLoading(HWND window);
void StopIconLoading(HWND window);
