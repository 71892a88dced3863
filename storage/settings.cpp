#include "storage/settings.h"

#include <cstring>

namespace {

// Field widths follow the settings file: one-byte options keep their low byte.
struct Settings {
    uint8_t Version;
    uint8_t VersionMiner;
    int32_t MainWindowPos[kDisplayStyles][2];
    int32_t DeadLink;
    int32_t DeleteCheck;
    int32_t Alpha;
    int32_t TopMost;
    int32_t MoveLock;
    int32_t Tooltip;
    int32_t AutoHide;
    int32_t Multi;
    int32_t FileNotCheck;
    int32_t ShortcutFull;
    int32_t HotKey;
    int32_t AutoHideTimer;
    uint8_t Sort;
    uint8_t Style;
    uint8_t Size;
    uint8_t IconDraw;
    uint32_t Color;
    uint8_t BackGround;
    int32_t Grid;
    uint8_t GridType;
    uint32_t GridColor;
    int32_t CursorGround;
    uint32_t CursorColor;
    uint32_t CursorGColorStart;
    uint32_t CursorGColorEnd;
    uint8_t CursorGradWay;
    uint8_t GradWay;
    uint32_t GColorStart;
    uint32_t GColorEnd;
};

Settings g_settings = {1, 20, {}, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                       0, 0,  0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

const uint32_t kGradientStart = 0x302010; // red 0x10, green 0x20, blue 0x30
const uint32_t kWhite = 0xFFFFFF;

} // namespace

void ResetSettings() {
    std::memset(&g_settings, 0, sizeof g_settings);
    g_settings.Version = 1;
    g_settings.VersionMiner = 20;
}

int DefaultIconDraw(int osVersionCode) {
    return osVersionCode >= 8 ? 1 : 2;
}

void ApplyDefaultSettingValues(uint32_t buttonShadowColour, int osVersionCode) {
    for (int style = 0; style < kDisplayStyles; ++style)
        SetMainWindowPos(style, 30, 30);
    SetSort(3);
    SetAlpha(255);
    SetDeleteCheck(1);
    SetMulti(1);
    SetTooltip(1);
    SetAutoHideTimer(1000);
    SetColor(buttonShadowColour);
    SetGColorStart(kGradientStart);
    SetGColorEnd(kWhite);
    SetCursorColor(kWhite);
    SetCursorGColorStart(kGradientStart);
    SetCursorGColorEnd(kWhite);
    SetIconDraw(DefaultIconDraw(osVersionCode));
}

int VersionValue() {
    return g_settings.Version;
}
void SetVersion(int value) {
    g_settings.Version = static_cast<uint8_t>(value);
}
int VersionMinerValue() {
    return g_settings.VersionMiner;
}
void SetVersionMiner(int value) {
    g_settings.VersionMiner = static_cast<uint8_t>(value);
}

void GetMainWindowPos(int style, int32_t* x, int32_t* y) {
    if (style < 0 || style >= kDisplayStyles) return;
    *x = g_settings.MainWindowPos[style][0];
    *y = g_settings.MainWindowPos[style][1];
}

void SetMainWindowPos(int style, int32_t x, int32_t y) {
    if (style < 0 || style >= kDisplayStyles) return;
    g_settings.MainWindowPos[style][0] = x;
    g_settings.MainWindowPos[style][1] = y;
}

#define QDX_FIELD(Type, Name)                                                                      \
    Type Get##Name() {                                                                             \
        return g_settings.Name;                                                                    \
    }                                                                                              \
    void Set##Name(Type value) {                                                                   \
        g_settings.Name = value;                                                                   \
    }
#define QDX_BYTE_FIELD(Name)                                                                       \
    int32_t Get##Name() {                                                                          \
        return g_settings.Name;                                                                    \
    }                                                                                              \
    void Set##Name(int32_t value) {                                                                \
        g_settings.Name = static_cast<uint8_t>(value);                                             \
    }
#define QDX_LOW_BYTE_FIELD(Name)                                                                   \
    int32_t Get##Name() {                                                                          \
        return g_settings.Name;                                                                    \
    }                                                                                              \
    void Set##Name(int32_t value) {                                                                \
        g_settings.Name = value & 0xFF;                                                            \
    }

QDX_FIELD(int32_t, DeadLink)
QDX_FIELD(int32_t, DeleteCheck)
QDX_LOW_BYTE_FIELD(Alpha)
QDX_FIELD(int32_t, TopMost)
QDX_FIELD(int32_t, MoveLock)
QDX_FIELD(int32_t, Tooltip)
QDX_FIELD(int32_t, AutoHide)
QDX_FIELD(int32_t, Multi)
QDX_FIELD(int32_t, FileNotCheck)
QDX_FIELD(int32_t, ShortcutFull)
QDX_FIELD(int32_t, HotKey)
QDX_FIELD(int32_t, AutoHideTimer)
QDX_BYTE_FIELD(Sort)
QDX_BYTE_FIELD(Style)
QDX_BYTE_FIELD(Size)
QDX_BYTE_FIELD(IconDraw)
QDX_FIELD(uint32_t, Color)
QDX_BYTE_FIELD(BackGround)
QDX_FIELD(int32_t, Grid)
QDX_BYTE_FIELD(GridType)
QDX_FIELD(uint32_t, GridColor)
QDX_LOW_BYTE_FIELD(CursorGround)
QDX_FIELD(uint32_t, CursorColor)
QDX_FIELD(uint32_t, CursorGColorStart)
QDX_FIELD(uint32_t, CursorGColorEnd)
QDX_BYTE_FIELD(CursorGradWay)
QDX_BYTE_FIELD(GradWay)
QDX_FIELD(uint32_t, GColorStart)
QDX_FIELD(uint32_t, GColorEnd)
