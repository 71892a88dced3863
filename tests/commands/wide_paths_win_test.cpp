#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "commands/scratch_folder.h"
#include "commands/wide_paths.h"
#include "dialogs/data_folder.h"
#include "storage/settings.h"
#include "support/modal_driver.h"
#include "view/grid.h"
#include "view/tab_strip.h"

namespace {

// The test's own folders are named in ASCII.
std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

// The name as far as the code page shows it, or its short name's.
std::string Narrow(std::wstring name, bool shortName = false) {
    WCHAR found[1024] = L"";
    if (shortName && GetShortPathNameW(name.c_str(), found, 1024)) name = found;
    char out[2048] = "";
    WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, out, sizeof out, nullptr, nullptr);
    return out;
}

// A volume whose short names are switched off gives the long name back.
DWORD WINAPI NoShortNames(LPCWSTR path, LPWSTR out, DWORD capacity) {
    lstrcpynW(out, path, static_cast<int>(capacity));
    return static_cast<DWORD>(lstrlenW(out));
}

class WidePathsTest : public DataFolderTest {
  protected:
    void SetUp() override {
        DataFolderTest::SetUp();
        AppendTab("Wide");
        SelectTab(0);
        SetSort(0);
        text_ = Wide(folder_) + L"\\한글 file 😀.txt";
        CloseHandle(CreateFileW(text_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, 0));
    }
    void TearDown() override {
        SetShortPathLookup(nullptr);
        DataFolderTest::TearDown();
    }
    // The shell's drop of these files, named in UTF-16.
    void Drop(const std::vector<std::wstring>& paths) {
        std::wstring list;
        for (const std::wstring& p : paths)
            list += p + L'\0';
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * sizeof(WCHAR));
        DROPFILES* files = static_cast<DROPFILES*>(GlobalLock(memory));
        files->pFiles = sizeof(DROPFILES);
        files->fWide = TRUE;
        CopyMemory(files + 1, list.data(), list.size() * sizeof(WCHAR));
        GlobalUnlock(memory);
        SendMessageA(window_, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }
    std::wstring text_;
};

TEST_F(WidePathsTest, NamesOutsideTheCodePageBecomeShortNamesThatLaunchAndComeBack) {
    ScratchFolder scratch;
    std::wstring folder = Wide(folder_) + L"\\한글 😀", tool = folder + L"\\tool.exe";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(Wide(scratch.InstallRecorder()).c_str(), tool.c_str(), FALSE));
    Drop({text_, tool});
    const std::string shortText = Narrow(text_, true), shortTool = Narrow(tool, true);
    ASSERT_EQ(std::string::npos, (shortText + shortTool).find('?')) << shortText << shortTool;
    ASSERT_EQ(2, EntryCount(0));
    EXPECT_EQ(0, FindEntry(0, 0)->noIcon) << "the shell's icon was captured";
    const LPARAM toolCell = MAKELPARAM(CellWidth() + 10, GridTop() + 10);
    SetCursorFromPoint(LOWORD(toolCell), HIWORD(toolCell));
    SendMessageA(window_, WM_LBUTTONDBLCLK, MK_LBUTTON, toolCell);
    for (int i = 0; i < 600 && !PathExists(shortTool + ".log"); ++i, Sleep(50))
        PumpMessages();
    EXPECT_TRUE(PathExists(shortTool + ".log")) << "the tool was started";

    Restart();
    ASSERT_EQ(2, EntryCount(0));
    EXPECT_EQ(shortText, FindEntry(0, 0)->FilePath);
    EXPECT_EQ(shortTool, FindEntry(0, 1)->FilePath);
}

TEST_F(WidePathsTest, FilesWithoutAShortNameAreLeftOutOfTheDropAndNamedInOneMessage) {
    SetShortPathLookup(NoShortNames);
    WriteText("plain.txt", "p");
    ModalDriver driver;
    driver.ExpectMessageBox("Error", IDOK);
    driver.Start();
    Drop({text_, Wide(Path("plain.txt")), text_ + L"2"});
    ASSERT_TRUE(driver.Finish());
    EXPECT_EQ("次のファイルは名前にこのソフトで扱えない文字が含まれているため登録できません\r\n" +
                  Narrow(text_) + "\r\n" + Narrow(text_ + L"2"),
              driver.Seen().at(0).text);
    ASSERT_EQ(1, EntryCount(0));
    EXPECT_EQ(Path("plain.txt"), FindEntry(0, 0)->FilePath);
}

} // namespace
