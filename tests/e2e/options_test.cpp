// The options dialog in the running program: changes made through its controls are in
// qdx.ini after the program closes and are shown again by the next start.
#include "e2e/process.h"
#include "res/command_ids.h"
#include "res/option_dialog_ids.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

struct DialogSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchOptionDialog(HWND window, LPARAM param) {
    DialogSearch* search = reinterpret_cast<DialogSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner != search->processId || !IsWindowVisible(window) || std::string(title) != "設定")
        return TRUE;
    search->found = window;
    return FALSE;
}

class OptionsEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = MakeFreshFolder("options");
        DeleteFileA((folder_ + "\\qdx.ini").c_str());
        exe_ = InstallProgram(folder_);
        ASSERT_TRUE(FileExists(exe_)) << exe_;
    }
    void TearDown() override {
        if (program_.process.hProcess && WaitForExit(program_, 0) == -1000) {
            TerminateProcess(program_.process.hProcess, 99);
        }
        CloseHandles(&program_);
    }
    void Start() {
        ASSERT_TRUE(StartProgram(exe_, &program_));
        program_.window = WaitForMainWindow(program_.process.dwProcessId);
        ASSERT_NE(nullptr, program_.window);
    }
    // Chooses "通常設定" as the menu bar does and waits for the dialog.
    HWND OpenOptions() {
        PostMessageA(program_.window, WM_COMMAND, IDM_OPTIONS, 0);
        for (int tries = 0; tries < 400; ++tries) {
            DialogSearch search = {program_.process.dwProcessId, nullptr};
            EnumWindows(MatchOptionDialog, reinterpret_cast<LPARAM>(&search));
            if (search.found) return search.found;
            Sleep(25);
        }
        return nullptr;
    }
    static void Press(HWND dialog, int id) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
        for (int tries = 0; tries < 400 && IsWindow(dialog); ++tries)
            Sleep(25);
    }
    void Close() {
        PostMessageA(program_.window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, WaitForExit(program_));
        CloseHandles(&program_);
    }
    std::string folder_, exe_;
    RunningProgram program_;
};

const int kBoxes[] = {IDC_OPTION_DEAD_LINK, IDC_OPTION_DELETE_CHECK, IDC_OPTION_TOOLTIP,
                      IDC_OPTION_FILE_NOT_CHECK, IDC_OPTION_SHORTCUT_FULL};

std::vector<bool> BoxStates(HWND dialog) {
    std::vector<bool> states;
    for (int id : kBoxes)
        states.push_back(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED);
    return states;
}

TEST_F(OptionsEndToEnd, ChangesSurviveARestartThroughQdxIni) {
    Start();
    HWND dialog = OpenOptions();
    ASSERT_NE(nullptr, dialog);
    // The defaults: DeadLink 0, DeleteCheck 1, Tooltip 1, FileNotCheck 0, ShortcutFull 0.
    EXPECT_EQ((std::vector<bool>{false, true, true, false, false}), BoxStates(dialog));
    for (int id : kBoxes)
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    const int hotKey = MAKEWORD('K', HOTKEYF_CONTROL | HOTKEYF_ALT);
    SendDlgItemMessageA(dialog, IDC_OPTION_HOT_KEY, HKM_SETHOTKEY, hotKey, 0);
    Press(dialog, IDC_OPTION_SAVE);
    EXPECT_FALSE(IsWindow(dialog));
    Close();

    std::string ini = ReadWholeFile(folder_ + "\\qdx.ini");
    for (const char* line :
         {"\r\nMulti = 0\r\n", "\r\nDeadLink = 1\r\n", "\r\nTooltip = 0\r\n",
          "\r\nDeleteCheck = 0\r\n", "\r\nFileNotCheck = 1\r\n", "\r\nShortcutFull = 1\r\n"})
        EXPECT_NE(std::string::npos, ini.find(line)) << line;
    EXPECT_NE(std::string::npos, ini.find("\r\nHotKey = " + std::to_string(hotKey) + "\r\n"));

    Start();
    dialog = OpenOptions();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ((std::vector<bool>{true, false, false, true, true}), BoxStates(dialog));
    EXPECT_EQ(hotKey, SendDlgItemMessageA(dialog, IDC_OPTION_HOT_KEY, HKM_GETHOTKEY, 0, 0));
    Press(dialog, IDC_OPTION_CANCEL);
    EXPECT_FALSE(IsWindow(dialog));
    Close();
}

} // namespace
