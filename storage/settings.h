// The option values, one process-wide record; each field has its own get and set function.
#pragma once

#include <cstdint>

enum { kDisplayStyles = 5 };

void ResetSettings(); // every field 0, the version 1.20
// The built-in defaults, given the system's button shadow colour and OS version code.
void ApplyDefaultSettingValues(uint32_t buttonShadowColour, int osVersionCode);
// The "IconDraw" default for an OS version code: 1 for the Windows 2000 class, else 2.
int DefaultIconDraw(int osVersionCode);

int VersionValue(); // read only for saving: the version has no get function of its own
void SetVersion(int value);
int VersionMinerValue();
void SetVersionMiner(int value);
// One (x, y) pair per display style 0..4; other style indexes are ignored.
void GetMainWindowPos(int style, int32_t* x, int32_t* y);
void SetMainWindowPos(int style, int32_t x, int32_t y);

#define QDX_SETTING(Type, Name)                                                                    \
    Type Get##Name();                                                                              \
    void Set##Name(Type value);
QDX_SETTING(int32_t, DeadLink)
QDX_SETTING(int32_t, DeleteCheck)
QDX_SETTING(int32_t, Alpha)
QDX_SETTING(int32_t, TopMost)
QDX_SETTING(int32_t, MoveLock)
QDX_SETTING(int32_t, Tooltip)
QDX_SETTING(int32_t, AutoHide)
QDX_SETTING(int32_t, Multi)
QDX_SETTING(int32_t, FileNotCheck)
QDX_SETTING(int32_t, ShortcutFull)
QDX_SETTING(int32_t, HotKey)
QDX_SETTING(int32_t, AutoHideTimer)
QDX_SETTING(int32_t, Sort)
QDX_SETTING(int32_t, Style)
QDX_SETTING(int32_t, Size)
QDX_SETTING(int32_t, IconDraw)
QDX_SETTING(uint32_t, Color)
QDX_SETTING(int32_t, BackGround)
QDX_SETTING(int32_t, Grid)
QDX_SETTING(int32_t, GridType)
QDX_SETTING(uint32_t, GridColor)
QDX_SETTING(int32_t, CursorGround)
QDX_SETTING(uint32_t, CursorColor)
QDX_SETTING(uint32_t, CursorGColorStart)
QDX_SETTING(uint32_t, CursorGColorEnd)
QDX_SETTING(int32_t, CursorGradWay)
QDX_SETTING(int32_t, GradWay)
QDX_SETTING(uint32_t, GColorStart)
QDX_SETTING(uint32_t, GColorEnd)
#undef QDX_SETTING
