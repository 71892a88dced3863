// A fixture that creates the real main window in this process, as start-up does, and
// closes it again through the application's own close sequence. It holds the display lock
// for the whole test.
#pragma once

#include "app/startup.h"
#include "base/app_state.h"
#include "commands/menus.h"
#include "support/display_lock.h"

#include <gtest/gtest.h>
#include <windows.h>

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        static bool registered = RegisterMainClass(instance);
        ASSERT_TRUE(registered);
        window_ = CreateMainWindow(instance);
        ASSERT_NE(nullptr, window_);
        ApplyDefaultSettings();
        // A right click's menu would wait for a user: tests see it built, not tracked.
        SetGridMenuTracker(SkipTracking);
    }
    void TearDown() override {
        if (IsWindow(window_)) CloseApplication(window_);
        PumpMessages();
        SetGridMenuTracker(nullptr);
    }
    static BOOL SkipTracking(HMENU, HWND) { return FALSE; }
    // Handles whatever is queued (paints, posted messages) and returns the quit code, or
    // -1 when no quit message came.
    static int PumpMessages() {
        MSG msg;
        int quit = -1;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = static_cast<int>(msg.wParam);
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return quit;
    }
    DisplayLock display_;
    HWND window_ = nullptr;
};
