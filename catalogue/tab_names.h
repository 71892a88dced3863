// Tab names: the texts of the tab strip's items, the only place that holds them.
#pragma once

enum { kTabNameSize = 256 };

void AppendTab(const char* name);
// Appends count tabs in order, as AppendTab does one by one.
void AppendTabs(const char* const* names, int count);
// Appends tabs in order as AppendTabs does, but stops after the first that reaches past the
// strip's right end: the ones after it could not show. Returns how many were appended.
int AppendTabsThatShow(const char* const* names, int count);
void GetTabName(int t, char* buffer); // buffer of kTabNameSize bytes
void SetTabName(int t, const char* name);
int FindTab(const char* name);
int TabNameExists(const char* name);
void SwapTabNames(int a, int b);
int CurrentTab();
int TabNameCount();
