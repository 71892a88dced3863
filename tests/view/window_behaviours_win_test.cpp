#include "base/app_state.h"
#include "storage/settings.h"
#include "support/input_state.h"
#include "support/main_window_fixture.h"
#include "view/window_behaviours.h"

#include <cstring>

namespace {

// Moves the pointer without handing its mouse messages to the window (each drag step below is
// the one WM_MOUSEMOVE the test sends), and until the display's late motion reports of earlier
// moves have come in and the position holds.
void MovePointerQuietly(int x, int y) {
    int held = 0;
    for (int attempt = 0; attempt < 100 && held < 3; ++attempt) {
        SetCursorPos(x, y);
        Sleep(20);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        }
        POINT p;
        GetCursorPos(&p);
        held = p.x == x && p.y == y ? held + 1 : 0;
    }
}

class WindowBehavioursTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work_, 0);
        ShowWindow(window_, SW_SHOW);
        Place(100, 100);
    }
    void TearDown() override {
        if (IsSummoned()) ReturnFromSummon();
        MainWindowTest::TearDown();
    }
    void Place(int x, int y) {
        SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    RECT Frame() const {
        RECT r;
        GetWindowRect(window_, &r);
        return r;
    }
    int ClientWidth() const {
        RECT r;
        GetClientRect(window_, &r);
        return r.right;
    }
    RECT work_;
};

// Another program, started beside the tests, whose window is active until it is closed.
struct OtherProgram {
    OtherProgram() {
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        lstrcpyA(std::strrchr(path, '\\') + 1, "hold_activation.exe");
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &run);
        for (int tries = 0; tries < 200 && !window; ++tries, Sleep(25))
            window = FindWindowA("QdxOtherProgram", nullptr);
    }
    ~OtherProgram() {
        PostMessageA(window, WM_CLOSE, 0, 0);
        WaitForSingleObject(run.hProcess, 5000);
        CloseHandle(run.hProcess);
        CloseHandle(run.hThread);
    }
    PROCESS_INFORMATION run = {};
    HWND window = nullptr;
};

TEST_F(WindowBehavioursTest, HotKeyBringsTheWindowToThePointerAndFocusLossReturnsIt) {
    // Near the right edge the window is kept flush with it, by its client width.
    MovePointerQuietly(work_.right - 20, 300);
    SendMessageA(window_, WM_HOTKEY, kSummonHotKeyId, 0);
    EXPECT_TRUE(IsSummoned());
    EXPECT_EQ(work_.right - ClientWidth(), Frame().left);
    EXPECT_EQ(300, Frame().top);
    // A second press moves it again but keeps the first saved place.
    MovePointerQuietly(200, 250);
    SendMessageA(window_, WM_HOTKEY, kSummonHotKeyId, 0);
    EXPECT_EQ(200, Frame().left);
    SendMessageA(window_, WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(IsSummoned());
    EXPECT_EQ(100, Frame().left);
    EXPECT_EQ(100, Frame().top);
}

TEST_F(WindowBehavioursTest, AutoHideHidesAtTheSecondTickOutsideAndShowsUnderThePointer) {
    OtherProgram other; // the program in use
    SetForegroundWindow(other.window);
    MovePointerQuietly(work_.right - 2, work_.bottom - 2);
    AutoHideTick();
    EXPECT_TRUE(IsWindowVisible(window_)) << "the first tick outside only remembers";
    AutoHideTick();
    EXPECT_FALSE(IsWindowVisible(window_));
    RECT frame = Frame();
    MovePointerQuietly((frame.left + frame.right) / 2, (frame.top + frame.bottom) / 2);
    AutoHideTick();
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(other.window, GetForegroundWindow()) << "the program in use keeps the keyboard";

    // The active window never hides.
    SetForegroundWindow(window_);
    SetActiveWindow(window_);
    MovePointerQuietly(work_.right - 2, work_.bottom - 2);
    AutoHideTick();

    AutoHideTick();
    EXPECT_TRUE(IsWindowVisible(window_));
}

TEST_F(WindowBehavioursTest, DragFollowsThePointerAndSnapsToTheLeftEdge) {
    Place(40, 200);
    MovePointerQuietly(60, 220);
    SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ASSERT_TRUE(WindowDragActive());
    HeldKeys button({VK_LBUTTON});
    const struct {
        int pointerX, left;
    } steps[] = {{85, 65}, {50, 30}, {30, 10}, {27, 0}, {25, 0}, {60, 32}};
    for (const auto& step : steps) {
        MovePointerQuietly(step.pointerX, 220);
        SendMessageA(window_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 20));
        EXPECT_EQ(step.left, Frame().left) << "pointer at " << step.pointerX;
        EXPECT_EQ(200, Frame().top);
    }
    SendMessageA(window_, WM_LBUTTONUP, 0, 0);
    EXPECT_FALSE(WindowDragActive());
}

} // namespace
