#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "dialogs/data_folder.h"
#include "dialogs/info_edit_dialog.h"
#include "res/info_edit_dialog_ids.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "support/modal_driver.h"
#include "view/grid.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kInfoTitle[] = "登録情報の編集";

class InfoEditDialogTest : public DataFolderTest {
  protected:
    // One entry in tab "Tools" whose file exists, with icon items under its own key.
    void AddToolsEntry() {
        AppendTab("Tools");
        WriteText("a.txt", "a");
        Entry record{};
        lstrcpynA(record.FilePath, Path("a.txt").c_str(), sizeof record.FilePath);
        lstrcpynA(record.WorkPath, folder_.c_str(), sizeof record.WorkPath);
        lstrcpynA(record.Comment, "old", sizeof record.Comment);
        record.Count = 5;
        record.Attribute = kMissingAttributes; // no shell capture: the icon is placed below
        AddEntry("", record, 1, 0);
        std::vector<unsigned char> colour(kColourBitsSize, 0x11), mask(kMaskBitsSize, 0x22);
        CacheAddFile(CacheArchiveAuto(), IconFolder("a.txt").c_str(), "a.txt", kColourBitsSize,
                     colour.data());
        CacheAddFile(CacheArchiveAuto(), IconFolder("a.txt").c_str(), "a.txt_Mask", kMaskBitsSize,
                     mask.data());
        CacheAddFile(CacheArchiveUser(), IconFolder("a.txt").c_str(), "a.txt", kColourBitsSize,
                     colour.data());
        SelectEntryIndex(0);
    }
    std::string IconFolder(const std::string& name) {
        char tabFolder[kIconFolderSize], folder[kIconFolderSize];
        TabCacheFolder(tabFolder, "Tools");
        IconCacheFolder(folder, tabFolder, Path(name).c_str());
        return folder;
    }
    void WithEditor(std::function<void(HWND)> act) {
        ModalDriver driver;
        driver.Expect(kInfoTitle, act);
        driver.Start();
        ShowEntryInfoDialog(MainWindow());
        ASSERT_TRUE(driver.Finish());
    }
};

TEST_F(InfoEditDialogTest, SavedFieldsAndTheChosenIconComeBackAfterARestart) {
    AddToolsEntry();
    CreateDirectoryA(Path("sub").c_str(), nullptr);
    WriteText("sub\\b.txt", "b");
    std::vector<std::string> shown;
    std::string emptyWork, typedQuote;
    WithEditor([&](HWND dialog) {
        for (int id : {IDC_INFO_PATH, IDC_INFO_ARG, IDC_INFO_WORK, IDC_INFO_COMMENT})
            shown.push_back(FieldText(dialog, id));
        SetDlgItemTextA(dialog, IDC_INFO_WORK, "");
        emptyWork = PressAndAnswer(dialog, IDC_INFO_SAVE, "ERROR");
        SendDlgItemMessageA(dialog, IDC_INFO_PATH, WM_CHAR, '"', 0);
        typedQuote = FieldText(dialog, IDC_INFO_PATH);
        // A path pasted in quotes is stored without them.
        SetDlgItemTextA(dialog, IDC_INFO_PATH, ("\"" + Path("sub\\b.txt") + "\"").c_str());
        SetDlgItemTextA(dialog, IDC_INFO_ARG, "-x");
        SetDlgItemTextA(dialog, IDC_INFO_WORK, Path("sub").c_str());
        SetDlgItemTextA(dialog, IDC_INFO_COMMENT, "new");
        PressButton(dialog, IDC_INFO_SAVE);
    });
    std::vector<std::string> expected = {Path("a.txt"), "", folder_, "old"};
    EXPECT_EQ(expected, shown);
    EXPECT_EQ("作業領域が有効ではありません", emptyWork);
    EXPECT_EQ(Path("a.txt"), typedQuote) << "a typed double quote only beeps";

    Entry* e = FindEntry(0, 0);
    ASSERT_NE(nullptr, e);
    EXPECT_EQ(Path("sub\\b.txt"), e->FilePath);
    EXPECT_STREQ("b.txt", e->FileName);
    EXPECT_EQ(5, e->Count);
    EXPECT_EQ(1, e->IconType);

    Restart();
    ASSERT_EQ(1, EntryCount(0));
    e = FindEntry(0, 0);
    EXPECT_EQ(Path("sub\\b.txt"), e->FilePath);
    EXPECT_STREQ("b.txt", e->FileName);
    EXPECT_STREQ("-x", e->Arg);
    EXPECT_EQ(Path("sub"), e->WorkPath);
    EXPECT_STREQ("new", e->Comment);
    EXPECT_EQ(5, e->Count);
    EXPECT_EQ(1, e->IconType);
    EXPECT_NE(std::string::npos, ReadText("qdx.ini").find("Tools_FileName_0 = \"b.txt\""));
    // The icon the user set follows the entry; the file's own icon is the new file's, never a
    // copy of the old one (which would become every .txt entry's icon); the old items are gone.
    std::string newFolder = IconFolder("sub\\b.txt"), oldFolder = IconFolder("a.txt");
    EXPECT_EQ(1, CacheHasFile(CacheArchiveUser(), newFolder.c_str(), "b.txt"));
    EXPECT_EQ(1, CacheHasFile(CacheArchiveAuto(), newFolder.c_str(), "b.txt_Mask"));
    CacheFile captured{};
    ASSERT_EQ(1, CacheGetFile(CacheArchiveAuto(), &captured, newFolder.c_str(), "b.txt"));
    EXPECT_NE(std::string(kColourBitsSize, 0x11),
              std::string(reinterpret_cast<char*>(captured.data), captured.size));
    std::free(captured.data);
    for (int archive : {CacheArchiveAuto(), CacheArchiveUser()})
        EXPECT_EQ(0, CacheHasFile(archive, oldFolder.c_str(), "a.txt")) << archive;
}

TEST_F(InfoEditDialogTest, CancelChangesNothingAndAnEmptyCellOpensNothing) {
    AddToolsEntry();
    WithEditor([](HWND dialog) {
        SetDlgItemTextA(dialog, IDC_INFO_COMMENT, "changed");
        PressButton(dialog, IDC_INFO_CANCEL);
    });
    EXPECT_STREQ("old", FindEntry(0, 0)->Comment);
    SelectEntryIndex(1);
    if (CursorEntryIndex() == 1) {
        // No entry in the selected cell: the dialog ends before it shows.
        ShowEntryInfoDialog(MainWindow());
        EXPECT_EQ(1, EntryCount(0));
    }
}

// The folder picker belongs to the editor and disables it: the editor cannot be cancelled
// under it and leave it behind with a choice going nowhere.
TEST_F(InfoEditDialogTest, TheFolderPickerIsOwnedByTheEditor) {
    AddToolsEntry();
    bool ownedAndDisabled = false;
    WithEditor([&](HWND dialog) {
        PressButton(dialog, IDC_INFO_WORK_BROWSE);
        HWND picker = nullptr;
        for (int tries = 0; tries < 200 && !picker; ++tries, Sleep(25))
            picker = FindOwnWindow("#32770", "フォルダーの参照");
        ownedAndDisabled = GetWindow(picker, GW_OWNER) == dialog && !IsWindowEnabled(dialog);
        PressButton(picker, IDCANCEL);
        for (int tries = 0; tries < 200 && IsWindow(picker); ++tries)
            Sleep(25);
        PressButton(dialog, IDC_INFO_CANCEL);
    });
    EXPECT_TRUE(ownedAndDisabled);
}

TEST_F(InfoEditDialogTest, ADropOnTheArgumentFieldAppendsQuotedPathsWithinTheField) {
    AddToolsEntry();
    std::string dropped, overflow, pathDrop;
    WithEditor([&](HWND dialog) {
        HWND arg = GetDlgItem(dialog, IDC_INFO_ARG);
        SendMessageA(arg, WM_DROPFILES,
                     reinterpret_cast<WPARAM>(MakeDrop({"C:\\a.txt", "C:\\My Files\\b.txt"})), 0);
        dropped = FieldText(dialog, IDC_INFO_ARG);
        SendMessageA(arg, WM_DROPFILES,
                     reinterpret_cast<WPARAM>(MakeDrop({std::string(1100, 'x')})), 0);
        overflow = FieldText(dialog, IDC_INFO_ARG);
        HWND path = GetDlgItem(dialog, IDC_INFO_PATH);
        SendMessageA(path, WM_DROPFILES,
                     reinterpret_cast<WPARAM>(MakeDrop({"C:\\one.exe", "C:\\two.exe"})), 0);
        pathDrop = FieldText(dialog, IDC_INFO_PATH);
        PressButton(dialog, IDC_INFO_CANCEL);
    });
    EXPECT_EQ("C:\\a.txt \"C:\\My Files\\b.txt\"", dropped);
    EXPECT_EQ(dropped, overflow) << "a path that does not fit is left out whole";
    EXPECT_EQ("C:\\one.exe", pathDrop);
}

} // namespace

namespace {

HWND WaitForFileDialog() {
    for (int tries = 0; tries < 200; ++tries) {
        if (HWND found = FindOwnWindow("#32770", "開く")) return found;
        Sleep(25);
    }
    return nullptr;
}

// The file name field of the open dialog (the combo box of newer dialogs, else the edit).
HWND FileNameField(HWND fileDialog) {
    HWND combo = GetDlgItem(fileDialog, 0x47C);
    return combo ? combo : GetDlgItem(fileDialog, 0x480);
}

// Opens a file dialog with a browse button; returns the name it opened with and answers it.
std::string BrowseAndAnswer(HWND editor, int browseId, const std::string& chosen) {
    PressButton(editor, browseId);
    HWND fileDialog = WaitForFileDialog();
    if (!fileDialog) return "(no file dialog)";
    Sleep(100);
    char shown[1024] = "";
    GetWindowTextA(FileNameField(fileDialog), shown, sizeof shown);
    if (chosen.empty()) {
        PostMessageA(fileDialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        SetWindowTextA(FileNameField(fileDialog), chosen.c_str());
        PostMessageA(fileDialog, WM_COMMAND, IDOK, 0);
    }
    for (int tries = 0; tries < 200 && IsWindow(fileDialog); ++tries)
        Sleep(25);
    Sleep(100);
    return shown;
}

TEST_F(InfoEditDialogTest, FileDialogsFillTheFieldsAndRememberTheLastName) {
    AddToolsEntry();
    WriteText("b.txt", "b");
    WriteText("c.txt", "c");
    std::string firstShown, secondShown, pathAfter, argAfterCancel, argAfter;
    WithEditor([&](HWND dialog) {
        firstShown = BrowseAndAnswer(dialog, IDC_INFO_PATH_BROWSE, Path("b.txt"));
        pathAfter = FieldText(dialog, IDC_INFO_PATH);
        secondShown = BrowseAndAnswer(dialog, IDC_INFO_ARG_BROWSE, "");
        argAfterCancel = FieldText(dialog, IDC_INFO_ARG);
        BrowseAndAnswer(dialog, IDC_INFO_ARG_BROWSE, Path("c.txt"));
        argAfter = FieldText(dialog, IDC_INFO_ARG);
        PressButton(dialog, IDC_INFO_CANCEL);
    });
    EXPECT_EQ(Path("b.txt"), pathAfter);
    EXPECT_NE(std::string::npos, secondShown.find("b.txt")) << "the name chosen the first time";
    EXPECT_EQ("", argAfterCancel) << "a cancelled file dialog changes nothing";
    EXPECT_EQ(" \"" + Path("c.txt") + "\"", argAfter);
    (void)firstShown;
}

} // namespace
