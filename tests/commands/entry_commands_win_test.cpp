#include "commands/entry_fixture.h"
#include "commands/shortcuts.h"
#include "storage/icon_loading.h"
#include "support/modal_driver.h"

namespace {

TEST_F(EntryCommandsTest, AnEmptyCellDoesNothing) {
    Drop({tool_});
    Select(3);
    SetDeleteCheck(1); // a question would wait here for an answer
    CatchingLaunches catching;
    for (int id = 1; id <= 9; ++id)
        Command(id);
    EXPECT_EQ(1, EntryCount(0));
    EXPECT_TRUE(CaughtLaunches().empty());
    EXPECT_TRUE(DialogCalls().empty());
    EXPECT_FALSE(OpenWithPending());
    EXPECT_EQ((std::vector<int>{1, 0, 1, 0}), Items(tool_, "tool.exe"));
}

TEST_F(EntryCommandsTest, OpenWithIsSetExpandedAndCancelledFromAnyCell) {
    SetEnvironmentVariableA("QDX_CMD_HOME", scratch_.Path().c_str());
    std::string text = scratch_.Write("a.txt", "a");
    Drop({text});
    // As the entry editor may store it: the path with a reference.
    lstrcpyA(FindEntry(0, 0)->FilePath, "%QDX_CMD_HOME%\\a.txt");
    Select(0);
    ModalDriver driver;
    driver.ExpectMessageBox("お知らせ", IDOK);
    driver.ExpectMessageBox("お知らせ", IDOK);
    driver.Start();
    Command(kToggleOpenWithId);
    EXPECT_TRUE(OpenWithPending());
    EXPECT_EQ(text, OpenWithPath());
    Select(4); // cancelling needs no entry
    Command(kToggleOpenWithId);
    ASSERT_TRUE(driver.Finish());
    EXPECT_FALSE(OpenWithPending());
    EXPECT_STREQ("", OpenWithPath());
    ASSERT_EQ(2u, driver.Seen().size());
    EXPECT_EQ(
        "選択したファイルは引数に登録されました\r\nキャンセルする場合は、再びポップアップメニュー"
        "からキャンセルしてください",
        driver.Seen()[0].text);
    EXPECT_EQ("他のアプリで開くはキャンセルされました", driver.Seen()[1].text);
}

TEST_F(EntryCommandsTest, AnyEntryOrItsLinkTargetIsRevealedWhenItExists) {
    std::string target = scratch_.Write("target.txt", "t");
    std::string link = scratch_.File("target.lnk");
    ASSERT_TRUE(
        CreateStartupShortcut(link.c_str(), target.c_str(), "", "", "", "", 0, SW_SHOWNORMAL));
    Drop({tool_, link});
    CatchingLaunches catching;
    Select(0);
    Command(kRevealLinkTargetId);
    Select(1);
    Command(kRevealLinkTargetId);
    ASSERT_EQ(2u, CaughtLaunches().size());
    EXPECT_EQ("explorer.exe", CaughtLaunches()[0].path);
    EXPECT_EQ("/select," + tool_, CaughtLaunches()[0].arguments);
    EXPECT_EQ("/select," + target, CaughtLaunches()[1].arguments);

    // A subject that is gone is reported, and nothing starts.
    DeleteFileA(target.c_str());
    ModalDriver driver;
    driver.ExpectMessageBox("Error", IDOK);
    driver.Start();
    Command(kRevealLinkTargetId);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ("指定したファイルは存在しません", driver.Seen()[0].text);
    EXPECT_EQ(2u, CaughtLaunches().size());
}

TEST_F(EntryCommandsTest, DeleteAsksWithNoAsDefaultAndRemovesTheFourCacheItems) {
    Drop({tool_});
    std::string folder = Folder(tool_);
    std::vector<unsigned char> bits(kColourBitsSize, 7), mask(kMaskBitsSize, 8);
    CacheAddFile(1, folder.c_str(), "tool.exe", kColourBitsSize, bits.data());
    CacheAddFile(1, folder.c_str(), "tool.exe_Mask", kMaskBitsSize, mask.data());
    ASSERT_EQ((std::vector<int>{1, 1, 1, 1}), Items(tool_, "tool.exe"));
    SetDeleteCheck(1);
    Select(0);

    LONG_PTR yesStyle = 0, noStyle = 0;
    ModalDriver driver;
    driver.Expect("確認", [&yesStyle, &noStyle](HWND box) {
        yesStyle = GetWindowLongPtrA(GetDlgItem(box, IDYES), GWL_STYLE) & BS_TYPEMASK;
        noStyle = GetWindowLongPtrA(GetDlgItem(box, IDNO), GWL_STYLE) & BS_TYPEMASK;
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    });
    driver.ExpectMessageBox("確認", IDYES);
    driver.Start();
    Command(kDeleteEntryId);
    EXPECT_EQ(1, EntryCount(0));
    Command(kDeleteEntryId);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(BS_DEFPUSHBUTTON, noStyle);
    EXPECT_EQ(BS_PUSHBUTTON, yesStyle);
    EXPECT_EQ("項目から削除してもいいですか？", driver.Seen()[0].text);
    EXPECT_EQ(0, EntryCount(0));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), Items(tool_, "tool.exe"));
}

TEST_F(EntryCommandsTest, DeletingOneOfTwoEntriesOfAPathKeepsTheOthersIcon) {
    Drop({tool_, tool_});
    ASSERT_EQ(2, EntryCount(0));
    Select(1);
    Command(kDeleteEntryId);
    ASSERT_EQ(1, EntryCount(0));
    EXPECT_EQ((std::vector<int>{1, 0, 1, 0}), Items(tool_, "tool.exe"));
    EXPECT_NE(nullptr, FindEntry(0, 0)->colourBits);
    // The last one takes the items with it.
    Select(0);
    Command(kDeleteEntryId);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), Items(tool_, "tool.exe"));
}

TEST_F(EntryCommandsTest, RefetchCapturesTheIconAgain) {
    Drop({tool_});
    std::string folder = Folder(tool_);
    CacheDeleteFile(0, folder.c_str(), "tool.exe");
    CacheDeleteFile(0, folder.c_str(), "tool.exe_Mask");
    Select(0);
    Command(kRefetchIconId);
    EXPECT_EQ((std::vector<int>{1, 0, 1, 0}), Items(tool_, "tool.exe"));
    EXPECT_EQ(0, FindEntry(0, 0)->IconType);
    EXPECT_NE(nullptr, FindEntry(0, 0)->colourBits);
}

TEST_F(EntryCommandsTest, IndividualIconIsChosenThenKeptOrReplaced) {
    std::string text = scratch_.Write("doc.txt", "d");
    Drop({text});
    Select(0);
    // Cancelled: nothing is stored and the entry keeps its icon type.
    Command(kSetIndividualIconId);
    ASSERT_EQ(1u, DialogCalls().size());
    EXPECT_FALSE(DialogCalls()[0].save);
    EXPECT_EQ(std::string("ICON files {*.*}\0*.*\0\0", 22), DialogCalls()[0].filter);
    EXPECT_EQ(DWORD(OFN_FILEMUSTEXIST), DialogCalls()[0].flags);
    EXPECT_EQ(1024u, DialogCalls()[0].capacity);
    EXPECT_EQ(0, FindEntry(0, 0)->IconType);
    EXPECT_EQ(0, Items(text, "doc.txt")[1]);

    DialogAnswer() = tool_;
    Command(kSetIndividualIconId);
    EXPECT_EQ((std::vector<int>{1, 1, 1, 1}), Items(text, "doc.txt"));
    EXPECT_EQ(1, FindEntry(0, 0)->IconType);

    // An individual icon exists: Yes keeps it without a file dialog, No chooses anew.
    ModalDriver driver;
    driver.ExpectMessageBox("確認", IDYES);
    driver.ExpectMessageBox("確認", IDNO);
    driver.Start();
    Command(kSetIndividualIconId);
    EXPECT_EQ(2u, DialogCalls().size());
    DialogAnswer().clear();
    Command(kSetIndividualIconId);
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ(3u, DialogCalls().size());
    EXPECT_EQ(
        "\"doc.txt\"の個別アイコンが見つかりました。これを使用しますか？\r\n** Noで新しく選択 **",
        driver.Seen()[0].text);
    EXPECT_EQ(1, FindEntry(0, 0)->IconType);
}

TEST_F(EntryCommandsTest, IconAndMaskExportAsBitmapFiles) {
    Drop({tool_});
    Select(0);
    ASSERT_NE(nullptr, FindEntry(0, 0)->colourBits);
    const struct {
        int id;
        const char* name;
        size_t size;
        int bitCount;
    } cases[] = {{kExportIconBitmapId, "icon.bmp", 4150, 32},
                 {kExportMaskBitmapId, "mask.bmp", 2102, 16}};
    for (const auto& c : cases) {
        DialogAnswer() = scratch_.File(c.name);
        Command(c.id);
        std::string bytes = ReadFileText(DialogAnswer());
        ASSERT_EQ(c.size, bytes.size()) << c.name;
        EXPECT_EQ("BM", bytes.substr(0, 2));
        EXPECT_EQ(c.bitCount, static_cast<unsigned char>(bytes[28])) << c.name;
    }
    ASSERT_EQ(2u, DialogCalls().size());
    EXPECT_TRUE(DialogCalls()[0].save);
    EXPECT_EQ(std::string("Bitmap files {*.bmp}\0*.bmp\0All files {*.*}\0*.*\0\0", 48),
              DialogCalls()[0].filter);
    EXPECT_EQ(DWORD(OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT), DialogCalls()[1].flags);
    // Cancelled: no file.
    DialogAnswer().clear();
    Command(kExportIconBitmapId);
    EXPECT_EQ(3u, DialogCalls().size());

    // An icon still to be bound, as on a first start without Cache.arc, is bound first.
    DeferIconBinding(true);
    Drop({scratch_.InstallRecorder("other.exe")});
    DeferIconBinding(false);
    CacheClear(0);
    Select(1);
    ASSERT_EQ(nullptr, FindEntry(0, 1)->colourBits);
    DialogAnswer() = scratch_.File("pending.bmp");
    Command(kExportIconBitmapId);
    EXPECT_EQ(4150u, ReadFileText(DialogAnswer()).size());
}

} // namespace
