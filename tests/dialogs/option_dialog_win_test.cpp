#include "base/app_state.h"
#include "commands/shortcuts.h"
#include "dialogs/data_folder.h"
#include "dialogs/help_tips.h"
#include "dialogs/option_dialog.h"
#include "dialogs/refusal.h"
#include "dialogs/tab_name_dialogs.h"
#include "res/command_ids.h"
#include "res/option_dialog_ids.h"
#include "storage/settings.h"
#include "support/dialog_fixture.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

const char kOptionTitle[] = "設定";
const char kHotKeyNeedsCtrl[] = "ホットキーには必ず CTRLキー を含んで下さい";

// What a dialog's help tips say, read back from its tooltip window.
struct SeenTool {
    int controlId;
    std::string text;  // the string the tool names (resource instance and id)
    std::string shown; // what the control gives back (Wine cuts it at 80 bytes)
    UINT flags;
    bool enabled;
};

struct TipWindowSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK MatchTipWindow(HWND window, LPARAM param) {
    TipWindowSearch* search = reinterpret_cast<TipWindowSearch*>(param);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0 || GetWindow(window, GW_OWNER) != search->owner)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND TipWindowOf(HWND dialog) {
    TipWindowSearch search = {dialog, nullptr};
    EnumWindows(MatchTipWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<SeenTool> ReadTools(HWND tips) {
    std::vector<SeenTool> tools;
    int count = static_cast<int>(SendMessageA(tips, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TOOLINFOA tool;
        ZeroMemory(&tool, sizeof tool);
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        // The control fills the text member only when it is given one; a resource tool
        // then gives back its string id.
        char stored[1024] = "";
        tool.lpszText = stored;
        if (!SendMessageA(tips, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool))) continue;
        HWND control = reinterpret_cast<HWND>(tool.uId);
        char text[1024] = "";
        if (IS_INTRESOURCE(tool.lpszText))
            LoadStringA(tool.hinst, LOWORD(reinterpret_cast<UINT_PTR>(tool.lpszText)), text,
                        sizeof text);
        char shown[1024] = "";
        tool.lpszText = shown;
        SendMessageA(tips, TTM_GETTEXTA, sizeof shown, reinterpret_cast<LPARAM>(&tool));
        tools.push_back(
            {GetDlgCtrlID(control), text, shown, tool.uFlags, IsWindowEnabled(control) != 0});
    }
    return tools;
}

struct ExpectedTip {
    int id;
    const char* text;
};

const ExpectedTip kOptionTips[] = {
    {384, "起動時に登録されているファイルが存在しないとき登録から削除します"},
    {385, "登録情報を削除するとき確認をとります"},
    {386, "登録情報をツールチップで表示します"},
    {387, "スタートアップにQDXのショートカットを作ります"},
    {389, "起動時にファイルの存在をチェックしません。その分起動が速くなります"},
    {390, "ショートカットファイルのリンク先を管理します。情報の再構成で登録されているファイル全"
          "てが対象となります"},
    {393, "透過値を設定します"},
    {397, "設定を保存します"},
    {396, "設定したキーを押すとマウスカーソルの元へウィンドウが移動します。必ず "
          "CTRLキーを含んで下さい。"},
};

struct DialogTipsCase {
    const char* name;
    const char* title;
    DLGPROC proc;
    const ExpectedTip* tips;
    size_t tipCount;
};

const DialogTipsCase kDialogTips[] = {
    {"OPTION_DIALOG", kOptionTitle, OptionDialogProc, kOptionTips,
     sizeof kOptionTips / sizeof kOptionTips[0]},
    {"TAB_CREATE_DIALOG", "作成するタブ名を入力してください", CreateTabDialogProc, nullptr, 0},
    {"TAB_RENAME_DIALOG", "新しいタブ名を入力してください", RenameTabDialogProc, nullptr, 0},
};

using HelpTipsTest = MainWindowTest;

// Every dialog so far: the listed controls, in order, with their string-table texts; the tip
// window goes with the dialog. (Run as Windows XP too, where the slider is enabled.)
TEST_F(HelpTipsTest, EachDialogRegistersItsListedTipsAndDropsThemOnClose) {
    for (const DialogTipsCase& c : kDialogTips) {
        SCOPED_TRACE(c.name);
        std::vector<SeenTool> tools;
        HWND tips = nullptr;
        ModalDriver driver;
        driver.Expect(c.title, [&tools, &tips](HWND dialog) {
            tips = TipWindowOf(dialog);
            if (tips) tools = ReadTools(tips);
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        });
        driver.Start();
        DialogBoxParamA(GetModuleHandleA(nullptr), c.name, MainWindow(), c.proc, 0);
        ASSERT_TRUE(driver.Finish());
        EXPECT_EQ(static_cast<int>(c.tipCount), HelpTipsOf(c.name).count);
        if (c.tipCount == 0) {
            EXPECT_EQ(nullptr, tips) << "a dialog without tips has no tip window";
            continue;
        }
        ASSERT_NE(nullptr, tips);
        EXPECT_FALSE(IsWindow(tips)) << "the tip window is destroyed with the dialog";
        ASSERT_EQ(c.tipCount, tools.size());
        for (size_t i = 0; i < c.tipCount; ++i) {
            EXPECT_EQ(c.tips[i].id, tools[i].controlId) << "registration order, item " << i;
            EXPECT_EQ(c.tips[i].text, tools[i].text) << c.tips[i].id;
            EXPECT_FALSE(tools[i].shown.empty());
            EXPECT_EQ(0u, tools[i].text.find(tools[i].shown)) << "the control shows that string";
            EXPECT_EQ(UINT(TTF_IDISHWND | TTF_SUBCLASS), tools[i].flags & 0xFF);
        }
        // A disabled control keeps its tool (the slider below the Windows 2000 class).
        EXPECT_EQ(GetOsVersionCode() >= 8, tools[6].enabled) << "tool of control 393";
    }
}

// The main window with qdx.ini in a folder of the test's own, restarted as start-up does.
class OptionDialogTest : public DialogTest {
  protected:
    // Opens the dialog as the menu bar does and runs `act` on it from the watcher thread.
    void WithOptions(std::function<void(HWND)> act) { WithDialog(IDM_OPTIONS, kOptionTitle, act); }
};

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

TEST_F(OptionDialogTest, AHotKeyWithoutCtrlIsRefusedNoneAtAllIsStored) {
    const int withoutCtrl = MAKEWORD('Q', HOTKEYF_ALT | HOTKEYF_SHIFT);
    for (int hotKey : {withoutCtrl, 0}) {
        SCOPED_TRACE(hotKey);
        SetHotKey(MAKEWORD('Q', HOTKEYF_CONTROL));
        SetTooltip(1);
        std::string message;
        WithOptions([&](HWND dialog) {
            Click(dialog, IDC_OPTION_TOOLTIP);
            SendDlgItemMessageA(dialog, IDC_OPTION_HOT_KEY, HKM_SETHOTKEY, hotKey, 0);
            PressButton(dialog, IDC_OPTION_SAVE);
            if (hotKey == 0) return;
            message = AnswerBox("Error");
            Sleep(100);
            EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << "the dialog stays open";
            PressButton(dialog, IDC_OPTION_CANCEL);
        });
        if (hotKey == withoutCtrl) {
            EXPECT_EQ(kHotKeyNeedsCtrl, message);
            EXPECT_EQ(MAKEWORD('Q', HOTKEYF_CONTROL), GetHotKey());
            EXPECT_EQ(1, GetTooltip()) << "a refused save stores nothing";
        } else {
            EXPECT_EQ(0, GetHotKey()) << "no hot key passes and is stored as 0";
            EXPECT_EQ(0, GetTooltip());
        }
    }
}

BYTE ShownAlpha(HWND window) {
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(window, nullptr, &alpha, &flags)) return 0;
    return alpha;
}

// Run as Windows XP too: the slider exists only from the Windows 2000 class on.
TEST_F(OptionDialogTest, TransparencyMovesLiveCancelRestoresSaveKeeps) {
    if (GetOsVersionCode() < 8) {
        SetAlpha(200);
        std::vector<bool> enabled;
        WithOptions([&](HWND dialog) {
            for (int id : {IDC_OPTION_ALPHA_GROUP, IDC_OPTION_ALPHA, IDC_OPTION_ALPHA_LOW,
                           IDC_OPTION_ALPHA_HIGH})
                enabled.push_back(IsWindowEnabled(GetDlgItem(dialog, id)) != 0);
            PressButton(dialog, IDC_OPTION_SAVE);
        });
        EXPECT_EQ(std::vector<bool>(4, false), enabled);
        EXPECT_EQ(200, GetAlpha()) << "saving leaves the transparency alone";
        return;
    }
    // A stored value below 20 was never applied: cancel brings back the opaque window.
    const struct { int stored, restored; } cases[] = {{200, 200}, {5, 255}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        SetAlpha(c.stored);
        SetLayeredAlpha(window_, c.restored);
        int low = 0, high = 0, position = 0, live = 0;
        WithOptions([&](HWND dialog) {
            HWND slider = GetDlgItem(dialog, IDC_OPTION_ALPHA);
            low = static_cast<int>(SendMessageA(slider, TBM_GETRANGEMIN, 0, 0));
            high = static_cast<int>(SendMessageA(slider, TBM_GETRANGEMAX, 0, 0));
            position = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
            SendMessageA(slider, TBM_SETPOS, TRUE, 60);
            SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 60),
                         reinterpret_cast<LPARAM>(slider));
            live = ShownAlpha(window_);
            PressButton(dialog, IDC_OPTION_CANCEL);
        });
        EXPECT_EQ(20, low);
        EXPECT_EQ(255, high);
        EXPECT_EQ(c.restored, position) << "the slider starts at the opacity shown";
        EXPECT_EQ(60, live);
        EXPECT_EQ(c.restored, ShownAlpha(window_));
        EXPECT_EQ(c.stored, GetAlpha());
    }
    // An unrelated save stores what the slider shows: the stored 5, shown opaque, stays so.
    WithOptions([](HWND dialog) { PressButton(dialog, IDC_OPTION_SAVE); });
    EXPECT_EQ(255, GetAlpha());
    WithOptions([](HWND dialog) {
        HWND slider = GetDlgItem(dialog, IDC_OPTION_ALPHA);
        SendMessageA(slider, TBM_SETPOS, TRUE, 90);
        SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 90),
                     reinterpret_cast<LPARAM>(slider));
        PressButton(dialog, IDC_OPTION_SAVE);
    });
    EXPECT_EQ(90, GetAlpha());
    EXPECT_EQ(90, ShownAlpha(window_));
}

TEST_F(OptionDialogTest, TheStartupBoxCreatesAndRemovesTheShortcut) {
    char folder[MAX_PATH] = "";
    ASSERT_TRUE(GetStartupFolder(folder));
    CreateDirectoryA(folder, nullptr);
    char link[1024];
    StartupShortcutPath(link);
    DeleteFileA(link);
    bool shownBefore = true;
    WithOptions([&](HWND dialog) {
        shownBefore = IsTicked(dialog, IDC_OPTION_STARTUP);
        Click(dialog, IDC_OPTION_STARTUP);
        PressButton(dialog, IDC_OPTION_SAVE);
    });
    EXPECT_FALSE(shownBefore);
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(link));
    ShortcutInfo info;
    ZeroMemory(&info, sizeof info);
    WIN32_FIND_DATAA found;
    ASSERT_TRUE(ResolveShortcut(link, &info, &found));
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    EXPECT_EQ(0, lstrcmpiA(module, info.target)) << info.target;
    std::string moduleFolder(module);
    moduleFolder.resize(moduleFolder.find_last_of('\\'));
    EXPECT_EQ(0, lstrcmpiA(moduleFolder.c_str(), info.workingFolder)) << info.workingFolder;

    bool shownAfter = false;
    WithOptions([&](HWND dialog) {
        shownAfter = IsTicked(dialog, IDC_OPTION_STARTUP);
        Click(dialog, IDC_OPTION_STARTUP);
        PressButton(dialog, IDC_OPTION_SAVE);
    });
    EXPECT_TRUE(shownAfter) << "the box shows the file in the start-up folder";
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(link));
}

} // namespace
