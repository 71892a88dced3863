// A main window with one tab "Cmds", the recording helper as "tool.exe" in a scratch folder,
// and file dialogs answered by the test: for the entry commands and the command dispatch.
#pragma once

#include "app/catalogue_services.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "commands/entry_commands.h"
#include "commands/launch.h"
#include "commands/scratch_folder.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "storage/settings.h"
#include "support/input_state.h"
#include "support/main_window_fixture.h"
#include "view/grid.h"
#include "view/tab_strip.h"

#include <objbase.h>

#include <cstring>
#include <string>
#include <vector>

// The file dialogs as the commands asked for them, answered with a prepared name.
struct FileDialogCall {
    bool save;
    std::string filter; // with its zero separators
    DWORD flags;
    DWORD capacity;
};
inline std::vector<FileDialogCall>& DialogCalls() {
    static std::vector<FileDialogCall> calls;
    return calls;
}
inline std::string& DialogAnswer() { // empty: the user cancels
    static std::string answer;
    return answer;
}

inline BOOL AnswerFileDialog(OPENFILENAMEA* request, bool save) {
    const char* end = request->lpstrFilter;
    while (*end)
        end += std::strlen(end) + 1;
    DialogCalls().push_back(
        {save, std::string(request->lpstrFilter, end + 1), request->Flags, request->nMaxFile});
    if (DialogAnswer().empty()) return FALSE;
    lstrcpynA(request->lpstrFile, DialogAnswer().c_str(), request->nMaxFile);
    return TRUE;
}

inline const char* EntryTabName() {
    return "Cmds";
}

class EntryCommandsTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ClearCatalogue();
        InstallCatalogueServices();
        CacheClear(0);
        CacheClear(1);
        CoInitialize(nullptr);
        SetSort(0);
        SetDeleteCheck(0);
        AppendTab(EntryTabName());
        SelectTab(0);
        tool_ = scratch_.InstallRecorder("tool.exe");
        DialogCalls().clear();
        DialogAnswer().clear();
        SetFileDialogRunner(AnswerFileDialog);
    }
    void TearDown() override {
        SetFileDialogRunner(nullptr);
        SetOpenWithPending(false);
        FreeCatalogue();
        CoUninitialize();
        MainWindowTest::TearDown();
    }
    void Drop(const std::vector<std::string>& paths) {
        SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
    }
    static bool Launched(const std::string& path) {
        for (const CaughtLaunch& launch : CaughtLaunches())
            if (launch.path == path) return true;
        return false;
    }
    // Puts the grid cursor on cell `index` of the first row, as a click does.
    void Select(int index) { SetCursorFromPoint(index * CellWidth() + 5, GridTop() + 5); }
    void Command(int id) { SendMessageA(window_, WM_COMMAND, id, 0); }
    static std::string Folder(const std::string& path) {
        char tabFolder[kIconFolderSize], folder[kIconFolderSize];
        TabCacheFolder(tabFolder, EntryTabName());
        IconCacheFolder(folder, tabFolder, path.c_str());
        return folder;
    }
    // The four cache items of an entry: icon and mask in each archive.
    static std::vector<int> Items(const std::string& path, const char* name) {
        std::string folder = Folder(path), mask = std::string(name) + kMaskSuffix;
        return {CacheHasFile(0, folder.c_str(), name), CacheHasFile(1, folder.c_str(), name),
                CacheHasFile(0, folder.c_str(), mask.c_str()),
                CacheHasFile(1, folder.c_str(), mask.c_str())};
    }
    ScratchFolder scratch_;
    std::string tool_;
};
