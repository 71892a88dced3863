#include "dialogs/data_folder.h"
#include "dialogs/menu_edit_dialog.h"
#include "res/command_ids.h"
#include "res/menu_dialog_ids.h"
#include "storage/menu_commands.h"
#include "support/modal_driver.h"

#include <string>
#include <vector>

namespace {

const char kEditorTitle[] = "ポップアップメニューの編集";
const char kAddTitle[] = "メニューの追加";
const char kBadPath[] = "入力されたパスが有効ではありません。本体が存在するか確認してください";

class MenuEditDialogTest : public DataFolderTest {
  protected:
    void WithEditor(std::function<void(HWND)> act) {
        ModalDriver driver;
        driver.Expect(kEditorTitle, [act](HWND dialog) {
            act(dialog);
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        });
        driver.Start();
        SendMessageA(MainWindow(), WM_COMMAND, IDM_MENU_EDIT, 0);
        ASSERT_TRUE(driver.Finish());
    }
    std::vector<std::pair<std::string, int>> Lines() {
        std::vector<std::pair<std::string, int>> lines;
        MenuCommand line;
        for (int i = 0; GetMenuCommand(i, &line); ++i)
            lines.push_back({line.MenuName, line.MenuID});
        return lines;
    }
};

HWND WaitForOwnDialog(const char* title) {
    for (int tries = 0; tries < 200; ++tries) {
        if (HWND found = FindOwnWindow("#32770", title)) return found;
        Sleep(25);
    }
    return nullptr;
}

void WaitUntilGone(HWND window) {
    for (int tries = 0; tries < 200 && IsWindow(window); ++tries)
        Sleep(25);
    Sleep(50);
}

std::vector<std::string> ListLines(HWND dialog) {
    std::vector<std::string> lines;
    int count = static_cast<int>(SendDlgItemMessageA(dialog, IDC_MENU_LIST, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[300] = "";
        SendDlgItemMessageA(dialog, IDC_MENU_LIST, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        lines.push_back(text);
    }
    return lines;
}

void SelectLine(HWND dialog, int index) {
    SendDlgItemMessageA(dialog, IDC_MENU_LIST, LB_SETCURSEL, index, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MENU_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_MENU_LIST)));
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != 0;
}

// Opens the add dialog from the editor, runs `act` on it and waits until it is gone; the
// messages `act` answers are its own business.
void WithAddDialog(HWND editor, std::function<void(HWND)> act) {
    PressButton(editor, IDC_MENU_ADD);
    HWND add = WaitForOwnDialog(kAddTitle);
    ASSERT_NE(nullptr, add);
    act(add);
    WaitUntilGone(add);
}

void ChooseKind(HWND add, int kind) {
    SendDlgItemMessageA(add, IDC_ADD_MENU_KIND, CB_SETCURSEL, kind, 0);
    SendMessageA(add, WM_COMMAND, MAKEWPARAM(IDC_ADD_MENU_KIND, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(add, IDC_ADD_MENU_KIND)));
}

TEST_F(MenuEditDialogTest, AddMoveAndChangeLinesReusingFreeIdsAndKeepThemAfterARestart) {
    WriteText("tool.exe", "x");
    const std::string tool = Path("tool.exe");
    ClearMenuCommands();
    AddMenuCommand("A", tool.c_str(), "", 96);
    AddMenuCommand("B", tool.c_str(), "", 98);
    std::string noName, badUserPath, badSavedPath, changed, kindName, typedQuote;
    bool kindPathEnabled = true, userPathEnabled = false;
    std::vector<std::string> listAfterUp;
    std::string fieldAfterUp;
    WithEditor([&](HWND dialog) {
        WithAddDialog(dialog, [&](HWND add) {
            userPathEnabled = Enabled(add, IDC_ADD_MENU_PATH);
            noName = PressAndAnswer(add, IDC_ADD_MENU_ADD, "Error");
            SetDlgItemTextA(add, IDC_ADD_MENU_NAME, "C");
            SetDlgItemTextA(add, IDC_ADD_MENU_PATH, Path("missing.exe").c_str());
            badUserPath = PressAndAnswer(add, IDC_ADD_MENU_ADD, "Error");
            SendDlgItemMessageA(add, IDC_ADD_MENU_PATH, WM_CHAR, '"', 0);
            typedQuote = FieldText(add, IDC_ADD_MENU_PATH);
            SetDlgItemTextA(add, IDC_ADD_MENU_PATH, tool.c_str());
            PressButton(add, IDC_ADD_MENU_ADD);
        });
        SelectLine(dialog, 2);
        PressButton(dialog, IDC_MENU_UP);
        Sleep(100);
        listAfterUp = ListLines(dialog);
        fieldAfterUp = FieldText(dialog, IDC_MENU_NAME);
        WithAddDialog(dialog, [&](HWND add) {
            ChooseKind(add, 1);
            kindName = FieldText(add, IDC_ADD_MENU_NAME);
            kindPathEnabled = Enabled(add, IDC_ADD_MENU_PATH);
            PressButton(add, IDC_ADD_MENU_ADD);
        });
        SelectLine(dialog, 0);
        SetDlgItemTextA(dialog, IDC_MENU_NAME, "A2");
        SetDlgItemTextA(dialog, IDC_MENU_PATH, Path("missing.exe").c_str());
        badSavedPath = PressAndAnswer(dialog, IDC_MENU_SAVE, "Error");
        SetDlgItemTextA(dialog, IDC_MENU_PATH, tool.c_str());
        SetDlgItemTextA(dialog, IDC_MENU_ARG, "-a");
        changed = PressAndAnswer(dialog, IDC_MENU_SAVE, "お知らせ");
    });
    EXPECT_TRUE(userPathEnabled);
    EXPECT_EQ("メニュー名を入力してください", noName);
    EXPECT_EQ(kBadPath, badUserPath);
    EXPECT_EQ(Path("missing.exe"), typedQuote) << "a typed double quote only beeps";
    EXPECT_EQ((std::vector<std::string>{"A", "C", "B"}), listAfterUp);
    EXPECT_EQ("C", fieldAfterUp) << "the moved line stays selected and loaded";
    EXPECT_EQ("リンク先を開く", kindName);
    EXPECT_FALSE(kindPathEnabled);
    EXPECT_EQ(kBadPath, badSavedPath);
    EXPECT_EQ("変更しました", changed);
    std::vector<std::pair<std::string, int>> expected = {
        {"A2", 96}, {"C", 97}, {"B", 98}, {"リンク先を開く", 3}};
    EXPECT_EQ(expected, Lines());
    MenuCommand first;
    ASSERT_TRUE(GetMenuCommand(0, &first));
    EXPECT_EQ(tool, first.MenuPath);
    EXPECT_STREQ("-a", first.MenuArg);

    Restart();
    EXPECT_EQ(expected, Lines());
    ASSERT_TRUE(GetMenuCommand(0, &first));
    EXPECT_STREQ("-a", first.MenuArg);
}

TEST_F(MenuEditDialogTest, AFullListRefusesToAddAndDefaultsNeedAYes) {
    ClearMenuCommands();
    for (int i = 0; i < 30; ++i)
        AddMenuCommand(("line" + std::to_string(i)).c_str(), "", "", 4);
    std::string full, firstName;
    bool addOpened = true, pathEnabled = true;
    size_t afterNo = 0;
    WithEditor([&](HWND dialog) {
        full = PressAndAnswer(dialog, IDC_MENU_ADD, "Error");
        addOpened = FindOwnWindow("#32770", kAddTitle) != nullptr;
        PressAndAnswer(dialog, IDC_MENU_DEFAULTS, "確認", IDNO);
        afterNo = ListLines(dialog).size();
        PressAndAnswer(dialog, IDC_MENU_DEFAULTS, "確認", IDYES);
        Sleep(100);
        firstName = FieldText(dialog, IDC_MENU_NAME);
        pathEnabled = Enabled(dialog, IDC_MENU_PATH);
    });
    EXPECT_EQ("登録数がいっぱいになり、ポップアップメニューリストに登録できません", full);
    EXPECT_FALSE(addOpened);
    EXPECT_EQ(30u, afterNo);
    EXPECT_EQ(10, MenuCommandCount());
    EXPECT_EQ("リンク先を開く", firstName);
    EXPECT_FALSE(pathEnabled);
}

TEST_F(MenuEditDialogTest, DeletingEveryLineLeavesAnEmptyListThatIgnoresTheButtons) {
    ClearMenuCommands();
    AddMenuCommand("", "", "", kMenuSeparatorId);
    AddMenuCommand("x", "", "", 1);
    std::vector<std::string> shown, fields;
    WithEditor([&](HWND dialog) {
        shown = ListLines(dialog);
        PressButton(dialog, IDC_MENU_DELETE);
        PressButton(dialog, IDC_MENU_DELETE);
        PressButton(dialog, IDC_MENU_DELETE);
        for (int id : {IDC_MENU_UP, IDC_MENU_DOWN, IDC_MENU_SAVE})
            PressButton(dialog, id);
        Sleep(100);
        for (int id : {IDC_MENU_NAME, IDC_MENU_PATH, IDC_MENU_ARG})
            fields.push_back(FieldText(dialog, id));
    });
    EXPECT_EQ((std::vector<std::string>{"---セパレータ---", "x"}), shown);
    EXPECT_EQ(std::vector<std::string>(3, ""), fields) << "no line, nothing in the fields";
    EXPECT_EQ(0, MenuCommandCount());
    EXPECT_EQ(nullptr, FindOwnWindow("#32770", "お知らせ"));
}

// The add dialog's name label fits its line in the dialog's font instead of wrapping into a
// second line that its height cuts off.
TEST_F(MenuEditDialogTest, TheAddDialogShowsItsNameLabelWhole) {
    SIZE text = {};
    RECT client = {};
    WithEditor([&](HWND dialog) {
        WithAddDialog(dialog, [&](HWND add) {
            HWND label = FindWindowExA(add, nullptr, "Static", "追加するメニュー名");
            HDC dc = GetDC(label);
            HGDIOBJ previous = SelectObject(dc, HGDIOBJ(SendMessageA(label, WM_GETFONT, 0, 0)));
            GetTextExtentPoint32A(dc, "追加するメニュー名", 18, &text);
            SelectObject(dc, previous);
            ReleaseDC(label, dc);
            GetClientRect(label, &client);
            PressButton(add, IDC_ADD_MENU_CANCEL);
        });
    });
    EXPECT_LE(text.cx, client.right);
}

} // namespace
