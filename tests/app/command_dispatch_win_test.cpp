#include "base/app_state.h"
#include "commands/entry_fixture.h"
#include "res/command_ids.h"
#include "res/window_command_ids.h"
#include "storage/menu_commands.h"
#include "support/modal_driver.h"

#include <functional>

namespace {

using CommandDispatchTest = EntryCommandsTest;

bool Checked(UINT id) {
    return (GetMenuState(MainMenu(), id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

TEST_F(CommandDispatchTest, EveryCommandIdReachesItsHandler) {
    Drop({tool_});
    Select(0);
    const struct {
        int id;
        const char* window; // a dialog or message box it opens, closed again here
        std::function<bool()> done;
    } rows[] = {
        {kToggleOpenWithId, "お知らせ", [] { return OpenWithPending(); }},
        {kOpenParentFolderId, nullptr, [this] { return Launched(tool_); }},
        {kRevealLinkTargetId, nullptr, [] { return Launched("explorer.exe"); }},
        {kEditEntryInformationId, "登録情報の編集", [] { return true; }},
        {kRefetchIconId, nullptr, [] { return FindEntry(0, 0)->IconType == 0; }},
        {kSetIndividualIconId, nullptr, [] { return DialogCalls().size() == 1; }},
        {kExportIconBitmapId, nullptr, [] { return DialogCalls().size() == 2; }},
        {kExportMaskBitmapId, nullptr, [] { return DialogCalls().size() == 3; }},
        {kDeleteEntryId, nullptr, [] { return EntryCount(0) == 0; }},
        {IDM_STYLE_TALL, nullptr, [] { return GetStyle() == 1; }},
        {IDM_STYLE_WIDE, nullptr, [] { return GetStyle() == 2; }},
        {IDM_STYLE_HALF_TALL, nullptr, [] { return GetStyle() == 3; }},
        {IDM_STYLE_HALF_WIDE, nullptr, [] { return GetStyle() == 4; }},
        {IDM_SIZE_SMALL, nullptr, [] { return GetSize() == 1; }},
        {IDM_SIZE_SMALLEST, nullptr, [] { return GetSize() == 2; }},
        {IDM_SIZE_STANDARD, nullptr, [] { return GetSize() == 0; }},
        {IDM_STYLE_STANDARD, nullptr, [] { return GetStyle() == 0; }},
        {IDM_TOP_MOST, nullptr,
         [this] {
             return GetTopMost() == 1 && (GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
         }},
        {IDM_MOVE_LOCK, nullptr, [] { return GetMoveLock() == 1; }},
        {IDM_AUTO_HIDE, nullptr, [] { return GetAutoHide() == 1; }},
        {IDM_TAB_NEW, "作成するタブ名を入力してください", [] { return true; }},
        {IDM_EXIT, nullptr,
         [this] {
             MSG msg;
             return PeekMessageA(&msg, window_, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE;
         }},
        {IDM_SORT_COUNT, nullptr, [] { return GetSort() == 2 && Checked(IDM_SORT_COUNT); }},
        {IDM_SORT_COUNT_NAME, nullptr,
         [] { return GetSort() == 3 && Checked(IDM_SORT_COUNT_NAME); }},
        {IDM_SORT_NONE, nullptr, [] { return GetSort() == 0 && Checked(IDM_SORT_NONE); }},
        {IDM_SORT_NAME, nullptr, [] { return GetSort() == 1 && !Checked(IDM_SORT_NONE); }},
        {IDM_OPTIONS, "設定", [] { return true; }},
        {IDM_HELP, "Error", [] { return true; }},
        {IDM_MENU_EDIT, "ポップアップメニューの編集", [] { return true; }},
        {IDM_BACKGROUND_COLOUR, "カラー設定", [] { return true; }},
        {IDM_OTHER_COLOURS, "境界線と選択色の設定", [] { return true; }},
        {IDM_ICON_DRAWING, "設定", [] { return true; }},
        {IDM_SEARCH, "検索", [] { return true; }},
        {IDM_REBUILD, "再構築", [] { return true; }},
        {IDM_VERSION, "バージョン情報", [] { return true; }},
    };
    ASSERT_EQ(35u, sizeof rows / sizeof rows[0]); // fifteen menu-bar and twenty window ids
    // A pop-up line of every id: an id that fell through to the user commands would start it.
    CatchingLaunches catching;
    for (const auto& row : rows) {
        ClearMenuCommands();
        AddMenuCommand("probe", "probe.exe", "", row.id);
        ModalDriver driver;
        if (row.window) {
            driver.Expect(row.window, [](HWND w) { PostMessageA(w, WM_CLOSE, 0, 0); });
            driver.Start();
        }
        SendMessageA(window_, WM_COMMAND, row.id, 0);
        if (row.window) {
            EXPECT_TRUE(driver.Finish()) << row.id;
        }
        if (row.id == IDM_HELP && !driver.Seen().empty()) {
            EXPECT_EQ("ヘルプファイル\"QDX.chm\"が見つかりません", driver.Seen()[0].text);
        }
        EXPECT_TRUE(row.done()) << row.id;
        EXPECT_FALSE(Launched("probe.exe")) << row.id;
        // The probe lines only start with an entry under the cursor.
        if (EntryCount(0) == 0) Drop({tool_});
        Select(0);
    }
}

// With QDX.chm in the current folder (start-up makes it the program's own), Help hands the
// file beside the program to the shell, which opens its viewer.
TEST_F(CommandDispatchTest, HelpOpensTheHelpFileBesideTheProgram) {
    char module[MAX_PATH] = "", previous[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string folder(module, std::strrchr(module, '\\') + 1), help = folder + "QDX.chm";
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(folder.c_str());
    CloseHandle(CreateFileA(help.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    CatchingLaunches catching;
    SendMessageA(window_, WM_COMMAND, IDM_HELP, 0);
    DeleteFileA(help.c_str());
    SetCurrentDirectoryA(previous);
    ASSERT_EQ(1u, CaughtLaunches().size());
    EXPECT_EQ(help, CaughtLaunches()[0].path);
}

TEST_F(CommandDispatchTest, UserCommandStartsItsProgramWithTheQuotedEntryPath) {
    Drop({tool_});
    Select(0);
    std::string viewer = scratch_.InstallRecorder("viewer.exe");
    ClearMenuCommands();
    AddMenuCommand("first", viewer.c_str(), "-a", 96);
    AddMenuCommand("second", tool_.c_str(), "-b", 96);
    SendMessageA(window_, WM_COMMAND, 96, 0);
    std::string log = viewer + ".log";
    for (int waited = 0; waited < 30000 && !PathExists(log); waited += 50) {
        PumpMessages();
        Sleep(50);
    }
    std::string record = ReadFileText(log);
    EXPECT_NE(std::string::npos, record.find(" -a \"" + tool_ + "\"\r\n")) << record;
    EXPECT_NE(std::string::npos, record.find(scratch_.Path() + "\r\n")) << "started in its folder";

    // An id no line has, or no entry under the cursor: nothing starts.
    CatchingLaunches catching;
    SendMessageA(window_, WM_COMMAND, 97, 0);
    Select(3);
    SendMessageA(window_, WM_COMMAND, 96, 0);
    EXPECT_TRUE(CaughtLaunches().empty());
}

} // namespace
