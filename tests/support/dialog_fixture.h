// The main window with its data files in a folder of the test's own, and the ways a user
// reaches and answers the launcher's dialogs: the menu command, the buttons, the colour
// picker, and qdx.ini as the close writes it.
#pragma once

#include "app/startup.h"
#include "base/app_state.h"
#include "support/main_window_fixture.h"
#include "support/modal_driver.h"

#include <cstdio>
#include <functional>
#include <string>

class DialogTest : public MainWindowTest {
  protected:
    void SetUp() override {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::string(temp) + "qdx-dialogs-" + std::to_string(GetCurrentProcessId()) + "-" +
                  info->name();
        CreateDirectoryA(folder_.c_str(), nullptr);
        for (const char* name : {"qdx.ini", "Cache.arc", "CacheUser.arc"})
            DeleteFileA((folder_ + "\\" + name).c_str());
        SetDataPathsFromModule((folder_ + "\\QDX.exe").c_str());
        MainWindowTest::SetUp();
    }
    // Opens a dialog through its menu command and runs `act` on it from the watcher thread;
    // the dialog is gone afterwards.
    void WithDialog(int command, const char* title, std::function<void(HWND)> act) {
        ModalDriver driver;
        driver.Expect(title, act);
        driver.Start();
        SendMessageA(MainWindow(), WM_COMMAND, command, 0);
        ASSERT_TRUE(driver.Finish(20000));
        EXPECT_FALSE(IsWindow(driver.Seen().at(0).window));
    }
    // Closes the window as a user does and returns the qdx.ini it wrote.
    std::string CloseAndReadSettings() {
        CloseApplication(window_);
        PumpMessages();
        std::string text;
        if (FILE* f = std::fopen((folder_ + "\\qdx.ini").c_str(), "rb")) {
            char chunk[4096];
            size_t n;
            while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
                text.append(chunk, n);
            std::fclose(f);
        }
        return text;
    }
    std::string folder_;
};

// The value of one key in a settings text, or "(missing)".
inline std::string SettingsValue(const std::string& ini, const std::string& key) {
    std::string mark = "\r\n" + key + " = ";
    size_t at = ini.find(mark);
    if (at == std::string::npos) return "(missing)";
    at += mark.size();
    return ini.substr(at, ini.find("\r\n", at) - at);
}

// A button press as the button itself makes it, from the watcher thread: auto buttons tick
// themselves, and the parent gets BN_CLICKED. Only for buttons that open nothing modal.
inline void ClickButton(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

inline bool IsTicked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

struct OwnedDialogSearch {
    HWND owner;
    const char* title;
    HWND found;
};

inline BOOL CALLBACK MatchOwnedDialog(HWND window, LPARAM param) {
    OwnedDialogSearch* search = reinterpret_cast<OwnedDialogSearch*>(param);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(window) ||
        GetWindow(window, GW_OWNER) != search->owner)
        return TRUE;
    if (search->title && WindowText(window) != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

// Waits for a visible dialog owned by `owner` (with this title, when given).
inline HWND WaitForOwnedDialog(HWND owner, const char* title = nullptr) {
    for (int tries = 0; tries < 200; ++tries) {
        OwnedDialogSearch search = {owner, title, nullptr};
        EnumWindows(MatchOwnedDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            Sleep(50);
            return search.found;
        }
        Sleep(25);
    }
    return nullptr;
}

inline void WaitUntilGone(HWND window) {
    for (int tries = 0; tries < 200 && IsWindow(window) && IsWindowVisible(window); ++tries)
        Sleep(25);
}

// Presses `button` of `owner` (posted, since it opens the colour picker) and answers the
// picker: with a colour typed into its red, green and blue fields and OK, or with Cancel when
// `colour` is CLR_INVALID. Returns the colour the picker opened with, or CLR_INVALID.
inline COLORREF AnswerColourPicker(HWND owner, int button, COLORREF colour) {
    const int kRed = 706, kGreen = 707, kBlue = 708;
    PressButton(owner, button);
    HWND picker = WaitForOwnedDialog(owner);
    if (!picker) return CLR_INVALID;
    COLORREF opened = RGB(GetDlgItemInt(picker, kRed, nullptr, FALSE),
                          GetDlgItemInt(picker, kGreen, nullptr, FALSE),
                          GetDlgItemInt(picker, kBlue, nullptr, FALSE));
    if (colour == CLR_INVALID) {
        PressButton(picker, IDCANCEL);
    } else {
        SetDlgItemInt(picker, kRed, GetRValue(colour), FALSE);
        SetDlgItemInt(picker, kGreen, GetGValue(colour), FALSE);
        SetDlgItemInt(picker, kBlue, GetBValue(colour), FALSE);
        PressButton(picker, IDOK);
    }
    WaitUntilGone(picker);
    Sleep(50);
    return opened;
}

// A dialog redraws its preview after a nested modal dialog (a picker, the gradient dialog)
// has returned, on its own thread: waits until `surface` shows `expected` at (x, y), or gives
// up after two seconds, and returns what it shows.
inline COLORREF PixelOnceDrawn(HDC surface, int x, int y, COLORREF expected) {
    COLORREF shown = CLR_INVALID;
    for (int tries = 0; tries < 80; ++tries) {
        shown = surface ? GetPixel(surface, x, y) : CLR_INVALID;
        if (shown == expected) break;
        Sleep(25);
    }
    return shown;
}
