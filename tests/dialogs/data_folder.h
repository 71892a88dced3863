// The main window with its data files in a folder of the test's own, and a restart as the
// program does it: close (which saves), then a new window that loads what was written.
#pragma once

#include "app/startup.h"
#include "base/app_state.h"
#include "dialogs/refusal.h"
#include "support/main_window_fixture.h"

#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

class DataFolderTest : public MainWindowTest {
  protected:
    void SetUp() override {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::string(temp) + "qdx-" + info->test_suite_name() + "-" +
                  std::to_string(GetCurrentProcessId()) + "-" + info->name();
        CreateDirectoryA(folder_.c_str(), nullptr);
        for (const char* name : {"qdx.ini", "Cache.arc", "CacheUser.arc"})
            DeleteFileA(Path(name).c_str());
        SetDataPathsFromModule(Path("QDX.exe").c_str());
        MainWindowTest::SetUp();
        LoadAll();
    }
    std::string Path(const std::string& name) const { return folder_ + "\\" + name; }
    void Restart() {
        CloseApplication(window_);
        PumpMessages();
        window_ = CreateMainWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(nullptr, window_);
        ApplyDefaultSettings();
        LoadAll();
    }
    std::string ReadText(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    void WriteText(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
    }
    std::string folder_;
};

// Waits for the message box of this process with this caption, closes it with a button and
// returns its text ("(no message box)" when none came).
inline std::string AnswerBox(const char* caption, int buttonId = IDOK) {
    HWND box = nullptr;
    for (int tries = 0; tries < 200 && !box; ++tries) {
        box = FindOwnWindow("#32770", caption);
        if (!box) Sleep(25);
    }
    if (!box) return "(no message box)";
    Sleep(50);
    std::string text = MessageBoxText(box);
    PressButton(box, buttonId);
    for (int tries = 0; tries < 200 && IsWindow(box) && IsWindowVisible(box); ++tries)
        Sleep(25);
    return text;
}

// Presses a button and answers the message box it brings.
inline std::string PressAndAnswer(HWND dialog, int id, const char* caption, int buttonId = IDOK) {
    PressButton(dialog, id);
    return AnswerBox(caption, buttonId);
}

// An HDROP of these paths, as the shell hands one to a window that accepts files.
inline HGLOBAL MakeDrop(const std::vector<std::string>& paths) {
    std::string list;
    for (const std::string& p : paths)
        list += p + '\0';
    list += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
    DROPFILES* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    CopyMemory(reinterpret_cast<char*>(files) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(memory);
    return memory;
}
