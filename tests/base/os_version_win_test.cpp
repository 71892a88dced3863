#include "base/app_state.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

TEST(OsVersionCode, FollowsTheVersionTable) {
    struct Case {
        DWORD major, minor, platform;
        char sp;
        int code;
    } cases[] = {
        {3, 51, VER_PLATFORM_WIN32_NT, 0, 7},        {4, 0, VER_PLATFORM_WIN32_WINDOWS, 'a', 1},
        {4, 0, VER_PLATFORM_WIN32_WINDOWS, 'B', 2},  {4, 0, VER_PLATFORM_WIN32_WINDOWS, 'C', 3},
        {4, 0, VER_PLATFORM_WIN32_NT, ' ', 8},       {4, 0, VER_PLATFORM_WIN32_WINDOWS, 0, 0},
        {4, 0, VER_PLATFORM_WIN32_WINDOWS, 'A', 0},  {4, 10, VER_PLATFORM_WIN32_WINDOWS, 'A', 5},
        {4, 10, VER_PLATFORM_WIN32_WINDOWS, 'a', 4}, {4, 90, VER_PLATFORM_WIN32_WINDOWS, 0, 0},
        {5, 0, VER_PLATFORM_WIN32_NT, 'S', 8},       {5, 1, VER_PLATFORM_WIN32_NT, 'S', 9},
        {5, 2, VER_PLATFORM_WIN32_NT, 0, 0},         {6, 1, VER_PLATFORM_WIN32_NT, 'S', 0},
        {10, 0, VER_PLATFORM_WIN32_NT, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.code, OsVersionCodeFor(c.major, c.minor, c.platform, c.sp))
            << c.major << "." << c.minor << " '" << c.sp << "'";
    }
}

TEST(OsVersionCode, LayeredFunctionOnlyForTheWindows2000Class) {
    // The copy of these tests named qdx_win32_xp_tests.exe is given Windows XP by the prefix.
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    bool asXp = std::string(module).find("qdx_win32_xp_tests") != std::string::npos;
    EXPECT_EQ(asXp, GetOsVersionCode() == 9);
    LoadLayeredFunction();
    EXPECT_EQ(GetOsVersionCode() >= 8, HasLayeredFunction());
    if (!HasLayeredFunction()) {
        EXPECT_EQ(0, SetLayeredAlpha(GetDesktopWindow(), 255));
    }
    FreeLayeredFunction();
    EXPECT_FALSE(HasLayeredFunction());
}

} // namespace
