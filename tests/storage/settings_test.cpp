#include "storage/settings.h"

#include <gtest/gtest.h>

TEST(Settings, DefaultsOnBothSidesOfTheVersionThreshold) {
    for (int os : {0, 7, 8, 9}) {
        ResetSettings();
        ApplyDefaultSettingValues(0x808080, os);
        for (int style = 0; style < kDisplayStyles; ++style) {
            int32_t x = -1, y = -1;
            GetMainWindowPos(style, &x, &y);
            EXPECT_EQ(30, x);
            EXPECT_EQ(30, y);
        }
        EXPECT_EQ(3, GetSort());
        EXPECT_EQ(255, GetAlpha());
        EXPECT_EQ(1, GetDeleteCheck());
        EXPECT_EQ(1, GetMulti());
        EXPECT_EQ(1, GetTooltip());
        EXPECT_EQ(1000, GetAutoHideTimer());
        EXPECT_EQ(0x808080u, GetColor());
        EXPECT_EQ(0x302010u, GetGColorStart());
        EXPECT_EQ(0xFFFFFFu, GetGColorEnd());
        EXPECT_EQ(0xFFFFFFu, GetCursorColor());
        EXPECT_EQ(0x302010u, GetCursorGColorStart());
        EXPECT_EQ(0xFFFFFFu, GetCursorGColorEnd());
        EXPECT_EQ(os >= 8 ? 1 : 2, GetIconDraw());
        EXPECT_EQ(0, GetStyle());
        EXPECT_EQ(0, GetHotKey());
        EXPECT_EQ(0, GetBackGround());
        EXPECT_EQ(1, VersionValue());
        EXPECT_EQ(20, VersionMinerValue());
    }
}

TEST(Settings, FieldWidthsKeepTheLowByte) {
    ResetSettings();
    SetAlpha(0x1FF);
    EXPECT_EQ(0xFF, GetAlpha());
    SetCursorGround(0x101);
    EXPECT_EQ(1, GetCursorGround());
    SetStyle(7); // kept as stored; start-up decides what 7 means
    EXPECT_EQ(7, GetStyle());
    SetSort(0x103);
    EXPECT_EQ(3, GetSort());
    SetHotKey(0x0241);
    EXPECT_EQ(0x0241, GetHotKey());
}

TEST(Settings, WindowPositionsIgnoreBadStyles) {
    ResetSettings();
    SetMainWindowPos(4, 100, 200);
    SetMainWindowPos(5, 1, 1);
    SetMainWindowPos(-1, 1, 1);
    int32_t x = 7, y = 7;
    GetMainWindowPos(5, &x, &y);
    EXPECT_EQ(7, x);
    GetMainWindowPos(4, &x, &y);
    EXPECT_EQ(100, x);
    EXPECT_EQ(200, y);
}
