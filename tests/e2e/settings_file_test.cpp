#include "e2e/process.h"

#include "storage/cache_archive.h"
#include "storage/entry_icons.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

const char kHeader[] = "; 設定ファイルを手動で編集した場合、正確なロードは保証されません\r\n";

void WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The file a start and a close write when there was none: every option at its default.
std::string DefaultFile(unsigned colour, int iconDraw) {
    std::string text = kHeader;
    text += "[Info]\r\n";
    for (int style = 0; style < 5; ++style) {
        text += "MainWindowPosX_" + std::to_string(style) + " = 30\r\n";
        text += "MainWindowPosY_" + std::to_string(style) + " = 30\r\n";
    }
    text += "Sort = 3\r\nAlpha = 255\r\nTopMost = 0\r\nMoveLock = 0\r\nAutoHide = 0\r\n"
            "Multi = 1\r\nAutoHideTimer = 1000\r\nDeadLink = 0\r\nTooltip = 1\r\n"
            "DeleteCheck = 1\r\nFileNotCheck = 0\r\nShortcutFull = 0\r\nHotKey = 0\r\n"
            "Style = 0\r\nSize = 0\r\nIconDraw = " +
            std::to_string(iconDraw) +
            "\r\n"
            "Color = " +
            std::to_string(colour) +
            "\r\n"
            "BackGround = 0\r\nGrid = 0\r\nGridType = 0\r\nGridColor = 0\r\n"
            "CursorColor = 16777215\r\nCursorGround = 0\r\nCursorGradWay = 0\r\n"
            "CursorGColorStart = 3153936\r\nCursorGColorEnd = 16777215\r\nGradWay = 0\r\n"
            "GColorStart = 3153936\r\nGColorEnd = 16777215\r\nVersion = 1\r\nVersionMiner = 20\r\n"
            "TabCount = 0\r\n"
            "MenuTotal = 10\r\n";
    const struct {
        const char* name;
        int id;
    } lines[] = {
        {"リンク先を開く", 3},
        {"親ディレクトリを開く", 2},
        {"登録されている他のアプリを使って開く", 1},
        {"---セパレータ---", -1},
        {"項目から削除", 4},
        {"---セパレータ---", -1},
        {"アイコンを再取得", 6},
        {"個別にアイコンを設定する", 7},
        {"---セパレータ---", -1},
        {"登録情報の編集", 5},
    };
    int i = 0;
    for (const auto& line : lines) {
        std::string n = std::to_string(i++);
        text += "MenuName_" + n + " = \"" + line.name + "\"\r\n";
        text += "MenuPath_" + n + " = \"\"\r\n";
        text += "MenuArg_" + n + " = \"\"\r\n";
        text += "MenuID_" + n + " = " + std::to_string(line.id) + "\r\n";
    }
    return text;
}

// A hand-written file with every key the program writes, two tabs (the second empty) and
// texts that need escaping, in the order the program writes them.
const char kFullFile[] =
    "; 設定ファイルを手動で編集した場合、正確なロードは保証されません\r\n"
    "[Info]\r\n"
    "MainWindowPosX_0 = 250\r\nMainWindowPosY_0 = 200\r\n"
    "MainWindowPosX_1 = 10\r\nMainWindowPosY_1 = 0\r\n"
    "MainWindowPosX_2 = 0\r\nMainWindowPosY_2 = 40\r\n"
    "MainWindowPosX_3 = -20\r\nMainWindowPosY_3 = 5000\r\n"
    "MainWindowPosX_4 = 600\r\nMainWindowPosY_4 = 700\r\n"
    "Sort = 2\r\nAlpha = 200\r\nTopMost = 1\r\nMoveLock = 1\r\nAutoHide = 0\r\nMulti = 0\r\n"
    "AutoHideTimer = 2500\r\nDeadLink = 0\r\nTooltip = 0\r\nDeleteCheck = 0\r\n"
    "FileNotCheck = 1\r\nShortcutFull = 1\r\nHotKey = 1604\r\nStyle = 0\r\nSize = 1\r\n"
    "IconDraw = 3\r\nColor = 1122867\r\nBackGround = 1\r\nGrid = 1\r\nGridType = 3\r\n"
    "GridColor = 4478310\r\nCursorColor = 7833753\r\nCursorGround = 1\r\nCursorGradWay = 1\r\n"
    "CursorGColorStart = 11189196\r\nCursorGColorEnd = 14544639\r\nGradWay = 1\r\n"
    "GColorStart = 66051\r\nGColorEnd = 263430\r\nVersion = 1\r\nVersionMiner = 10\r\n"
    "TabCount = 2\r\n"
    "Tab_0 = \"ツール\"\r\nTab_0_Count = 2\r\n"
    "Tab_1 = \"空\"\r\nTab_1_Count = 0\r\n"
    "MenuTotal = 3\r\n"
    "MenuName_0 = \"メモ帳で開く\"\r\nMenuPath_0 = \"C:\\\\windows\\\\notepad.exe\"\r\n"
    "MenuArg_0 = \"/p \\\"x\\\"\"\r\nMenuID_0 = 96\r\n"
    "MenuName_1 = \"---セパレータ---\"\r\nMenuPath_1 = \"\"\r\nMenuArg_1 = \"\"\r\nMenuID_1 = "
    "-1\r\n"
    "MenuName_2 = \"登録されている他のアプリを使って開く\"\r\nMenuPath_2 = \"\"\r\nMenuArg_2 = "
    "\"\"\r\n"
    "MenuID_2 = 1\r\n"
    "\r\n"
    "[Tab_ツール]\r\n"
    "ツール_FilePath_0 = \"C:\\\\windows\\\\notepad.exe\"\r\n"
    "ツール_FileName_0 = \"notepad.exe\"\r\n"
    "ツール_Arg_0 = \"\\\"a b\\\" \\\\x\"\r\n"
    "ツール_WorkPath_0 = \"C:\\\\windows\"\r\n"
    "ツール_Attribute_0 = 32\r\n"
    "ツール_IconType_0 = 0\r\n"
    "ツール_Count_0 = 7\r\n"
    "ツール_Comment_0 = \"メモ帳です\"\r\n"
    "ツール_FilePath_1 = \"Z:\\\\表\\\\無い.txt\"\r\n"
    "ツール_FileName_1 = \"無い.txt\"\r\n"
    "ツール_Arg_1 = \"\"\r\n"
    "ツール_WorkPath_1 = \"Z:\\\\表\"\r\n"
    "ツール_Attribute_1 = -1\r\n"
    "ツール_IconType_1 = 1\r\n"
    "ツール_Count_1 = 0\r\n"
    "ツール_Comment_1 = \"\"\r\n";

struct BoxSearch {
    DWORD processId;
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchErrorBox(HWND window, LPARAM param) {
    BoxSearch* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner == search->processId && IsWindowVisible(window) &&
        lstrcmpA(title, search->caption) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM param) {
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") == 0 && !(GetWindowLongA(child, GWL_STYLE) & SS_ICON)) {
        char text[1024] = "";
        GetWindowTextA(child, text, sizeof text);
        if (text[0]) *reinterpret_cast<std::string*>(param) = text;
    }
    return TRUE;
}

// Waits for the program's message box of that caption; returns its text and presses a button.
// Before the button, `meanwhile` runs while the box is up.
bool AnswerBox(DWORD processId, const char* caption, int button, std::string* text,
               void (*meanwhile)(DWORD processId) = nullptr) {
    for (int tries = 0; tries < 600; ++tries) {
        BoxSearch search = {processId, caption, nullptr};
        EnumWindows(MatchErrorBox, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            if (meanwhile) meanwhile(processId);
            Sleep(100);
            EnumChildWindows(search.found, CollectStaticText, reinterpret_cast<LPARAM>(text));
            PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(search.found, button)));
            for (int wait = 0; wait < 200 && IsWindow(search.found); ++wait)
                Sleep(25);
            return true;
        }
        Sleep(50);
    }
    return false;
}

bool AnswerErrorBox(DWORD processId, int button, std::string* text) {
    return AnswerBox(processId, "Error", button, text);
}

class SettingsFileTest : public ::testing::Test {
  protected:
    // A fresh folder with the program, optionally a settings file and archive files.
    void Prepare(const std::string& leaf, const std::string& exeName = "QDX.exe") {
        folder_ = MakeFreshFolder(leaf);
        DeleteFileA(Path("qdx.ini").c_str());
        DeleteFileA(Path("Cache.arc").c_str());
        DeleteFileA(Path("CacheUser.arc").c_str());
        DeleteFileA(Path("qdx.ini.bak").c_str());
        exe_ = InstallProgram(folder_, exeName);
        ASSERT_TRUE(FileExists(exe_)) << exe_;
    }
    void Launch() { ASSERT_TRUE(StartProgram(exe_, &program_)); }
    void WaitForWindow() {
        program_.window = WaitForMainWindow(program_.process.dwProcessId);
        ASSERT_NE(nullptr, program_.window);
    }
    void Close() {
        PostMessageA(program_.window, WM_CLOSE, 0, 0);
        EXPECT_EQ(0, WaitForExit(program_));
        CloseHandles(&program_);
    }
    void RunOnce() {
        Launch();
        WaitForWindow();
        Close();
    }
    std::string Path(const char* name) const { return folder_ + "\\" + name; }
    void TearDown() override {
        if (program_.process.hProcess && WaitForExit(program_, 0) == -1000) {
            TerminateProcess(program_.process.hProcess, 99);
        }
        CloseHandles(&program_);
    }
    std::string folder_;
    std::string exe_;
    RunningProgram program_;
};

TEST_F(SettingsFileTest, FirstRunWritesTheDefaultFile) {
    // Wine's default system (Windows 7, code 0) draws with BitBlt; Windows XP (code 9) with
    // DrawIcon.
    const struct {
        const char* leaf;
        const char* exe;
        int iconDraw;
    } systems[] = {{"default-win7", "QDX.exe", 2}, {"default-xp", "QDX_xp.exe", 1}};
    for (const auto& system : systems) {
        SCOPED_TRACE(system.exe);
        Prepare(system.leaf, system.exe);
        RunOnce();
        std::string expected = DefaultFile(GetSysColor(COLOR_BTNSHADOW), system.iconDraw);
        EXPECT_EQ(expected, ReadWholeFile(Path("qdx.ini")));
        // Nothing was captured: the archives are not written.
        EXPECT_FALSE(FileExists(Path("Cache.arc")));
        EXPECT_FALSE(FileExists(Path("CacheUser.arc")));
    }
}

TEST_F(SettingsFileTest, EveryKeyComesBackInOrderWithTheRunningVersion) {
    Prepare("roundtrip");
    WriteFile(Path("qdx.ini"), kFullFile);
    Launch();
    WaitForWindow();
    RECT r;
    GetWindowRect(program_.window, &r);
    EXPECT_EQ(250, r.left);
    EXPECT_EQ(200, r.top);
    EXPECT_TRUE(GetWindowLongA(program_.window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    Close();
    std::string expected = Replace(kFullFile, "VersionMiner = 10", "VersionMiner = 20");
    EXPECT_EQ(expected, ReadWholeFile(Path("qdx.ini")));

    // A second round changes nothing more.
    RunOnce();
    EXPECT_EQ(expected, ReadWholeFile(Path("qdx.ini")));
}

TEST_F(SettingsFileTest, OpacityIsAppliedFromTwentyOnOnlyAndKeptAsStored) {
    const struct {
        const char* leaf;
        int stored;
        int applied;
    } cases[] = {{"alpha-10", 10, 255}, {"alpha-100", 100, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        Prepare(c.leaf, "QDX_xp.exe");
        std::string text =
            Replace(DefaultFile(0x808080, 1), "Alpha = 255", "Alpha = " + std::to_string(c.stored));
        WriteFile(Path("qdx.ini"), text);
        Launch();
        WaitForWindow();
        BYTE alpha = 0;
        DWORD flags = 0;
        ASSERT_TRUE(GetLayeredWindowAttributes(program_.window, nullptr, &alpha, &flags));
        EXPECT_EQ(c.applied, alpha);
        Close();
        EXPECT_EQ(text, ReadWholeFile(Path("qdx.ini")));
    }
}

TEST_F(SettingsFileTest, ChangedArchivesAreQuestionedOneAfterTheOther) {
    Prepare("changed-archives");
    // The smallest archive (only its root) with one byte changed after the checksum.
    std::string archive("\xDF\x18\xA9\x36\x9E\x5C\x6C\xD1\x01\x00\x00\x00", 12);
    archive += std::string(18, '\0');
    archive[12] = 1;
    WriteFile(Path("Cache.arc"), archive);
    WriteFile(Path("CacheUser.arc"), archive);
    Launch();
    const char question[] = "キャッシュの内容が変更されています\r\n"
                            "正確なロードが行われないかもしれませんが、ロードを続行しますか？\r\n"
                            "＊続行しない時はキャッシュはクリアされます";
    std::string first, second;
    ASSERT_TRUE(AnswerErrorBox(program_.process.dwProcessId, IDYES, &first));
    ASSERT_TRUE(AnswerErrorBox(program_.process.dwProcessId, IDNO, &second));
    // Message boxes show CR LF as line breaks; the text comes back as it was given.
    EXPECT_EQ(question, first);
    EXPECT_EQ(question, second);
    WaitForWindow();
    Close();
    // Loaded anyway and unchanged: the file stays. Cleared: the empty archive replaces it, so
    // the question is not asked again at the next start.
    EXPECT_EQ(archive, ReadWholeFile(Path("Cache.arc")));
    archive[12] = 0;
    EXPECT_EQ(archive, ReadWholeFile(Path("CacheUser.arc")));
    EXPECT_TRUE(FileExists(Path("qdx.ini")));
}

// A tab whose name holds the byte 5D (the second byte of "ゾ") next to lines the reader cannot
// make sense of: the entry comes back at every start, and the file as found is kept beside the
// new one each time.
TEST_F(SettingsFileTest, KatakanaTabsKeepTheirEntriesAndTheFoundFileIsKept) {
    Prepare("katakana");
    const std::string found = std::string(kHeader) +
                              "[Info]\r\nMenuTotal = 0\r\nTabCount = 1\r\n"
                              "Tab_0 = \"ゾーン\"\r\nTab_0_Count = 1\r\n"
                              "[Broken\r\nTabCount = -1\rkept = \"only in the backup\"\r\n"
                              "[Tab_ゾーン]\r\n"
                              "ゾーン_FilePath_0 = \"C:\\\\windows\\\\notepad.exe\"\r\n";
    WriteFile(Path("qdx.ini"), found);
    RunOnce();
    EXPECT_EQ(found, ReadWholeFile(Path("qdx.ini.bak")));
    std::string first = ReadWholeFile(Path("qdx.ini"));
    EXPECT_NE(std::string::npos, first.find("Tab_0_Count = 1\r\n")) << first;
    EXPECT_NE(std::string::npos,
              first.find("[Tab_ゾーン]\r\nゾーン_FilePath_0 = \"C:\\\\windows\\\\notepad.exe\""))
        << first;
    RunOnce();
    EXPECT_EQ(first, ReadWholeFile(Path("qdx.ini")));
    EXPECT_EQ(first, ReadWholeFile(Path("qdx.ini.bak")));
}

// A settings file that another program holds open cannot be read: the user is told once and
// the file is not saved over at close.
TEST_F(SettingsFileTest, ASettingsFileThatCannotBeReadIsNotSavedOver) {
    Prepare("locked");
    WriteFile(Path("qdx.ini"), kFullFile);
    HANDLE lock = CreateFileA(Path("qdx.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    Launch();
    std::string text;
    ASSERT_TRUE(AnswerBox(program_.process.dwProcessId, "お知らせ", IDOK, &text));
    EXPECT_NE(std::string::npos, text.find("qdx.ini")) << text;
    WaitForWindow();
    Close();
    CloseHandle(lock);
    EXPECT_EQ(kFullFile, ReadWholeFile(Path("qdx.ini")));
    EXPECT_FALSE(FileExists(Path("qdx.ini.bak")));
    // Once the file can be read again, everything is back.
    RunOnce();
    EXPECT_EQ(Replace(kFullFile, "VersionMiner = 10", "VersionMiner = 20"),
              ReadWholeFile(Path("qdx.ini")));
}

// A close at an awkward moment waits for the work under way, then saves as a quiet close does.

// Tabs T0, T1 ... of `entries` entries each, entry k's file path being path(k).
std::string Catalogue(int tabs, int entries, const std::function<std::string(int)>& path) {
    std::string ini = std::string(kHeader) + "[Info]\r\nTabCount = " + std::to_string(tabs);
    for (int t = 0; t < tabs; ++t)
        ini += "\r\nTab_" + std::to_string(t) + " = \"T" + std::to_string(t) + "\"\r\nTab_" +
               std::to_string(t) + "_Count = " + std::to_string(entries);
    for (int t = 0; t < tabs; ++t) {
        ini += "\r\n\r\n[Tab_T" + std::to_string(t) + "]\r\n";
        for (int k = 0; k < entries; ++k) {
            ini += "T" + std::to_string(t) + "_FilePath_" + std::to_string(k) + " = \"";
            for (char c : path(k))
                ini += c == '\\' ? std::string("\\\\") : std::string(1, c);
            ini += "\"\r\n";
        }
    }
    return ini;
}

void SendEndSession(DWORD processId) {
    SendNotifyMessageA(WaitForMainWindow(processId, 5000, true), WM_ENDSESSION, TRUE, 0);
}

// WM_ENDSESSION sent the moment the window exists comes while it is being made and the file is
// still being parsed; sent once the window shows, it comes while the tabs not on screen are
// still being loaded. Both files stay whole, and the backup is the file as found.
TEST_F(SettingsFileTest, AnEarlyEndSessionKeepsTheCatalogueAndItsBackup) {
    Prepare("early-endsession");
    WriteFile(Path("qdx.ini"),
              Catalogue(30, 1000, [](int k) { return "C:\\none\\" + std::to_string(k) + ".txt"; }));
    RunOnce();
    const std::string found = ReadWholeFile(Path("qdx.ini"));
    for (int start = 0; start < 6; ++start) {
        DeleteFileA(Path("qdx.ini.bak").c_str());
        Launch();
        DWORD id = program_.process.dwProcessId;
        if (start % 2 == 0) {
            SendEndSession(id);
        } else {
            SendNotifyMessageA(WaitForMainWindow(id), WM_ENDSESSION, TRUE, 0);
        }
        EXPECT_EQ(0, WaitForExit(program_, 60000)) << start;
        TearDown(); // ends a run that hangs
        EXPECT_TRUE(found == ReadWholeFile(Path("qdx.ini"))) << start;
        EXPECT_TRUE(found == ReadWholeFile(Path("qdx.ini.bak"))) << start;
    }
}

// During the start-up question about a changed archive: start-up goes on after the answer.
TEST_F(SettingsFileTest, ACloseDuringTheStartUpQuestionWaitsForTheAnswer) {
    Prepare("question");
    WriteFile(Path("qdx.ini"), kFullFile);
    std::string archive("\xDF\x18\xA9\x36\x9E\x5C\x6C\xD1\x01\x00\x00\x00\x01", 13);
    archive += std::string(17, '\0'); // the 1 after the header: changed after the checksum
    WriteFile(Path("Cache.arc"), archive);
    Launch();
    std::string text;
    ASSERT_TRUE(AnswerBox(program_.process.dwProcessId, "Error", IDYES, &text, SendEndSession));
    EXPECT_EQ(0, WaitForExit(program_));
    EXPECT_EQ(Replace(kFullFile, "VersionMiner = 10", "VersionMiner = 20"),
              ReadWholeFile(Path("qdx.ini")));
    EXPECT_EQ(archive, ReadWholeFile(Path("Cache.arc")));
}

// During the box of a shared type icon that cannot be made (its colour record is short), raised
// while the icons of the tab switched to are bound: the close waits for the box and the
// binding, then every entry is saved.
bool g_windowOutlivedClose;
void PostCloseAndLook(DWORD processId) {
    HWND window = WaitForMainWindow(processId, 5000, true);
    PostMessageA(window, WM_CLOSE, 0, 0);
    Sleep(300);
    g_windowOutlivedClose = IsWindow(window) != FALSE;
}

TEST_F(SettingsFileTest, ACloseDuringABoxRaisedWhilePaintingWaitsForThePaint) {
    Prepare("paint-box");
    const char* names[] = {"a.txt", "b.doc", "c.txt"};
    char tabFolder[kIconFolderSize], folder[kIconFolderSize];
    TabCacheFolder(tabFolder, "T0");
    const std::string mask(kMaskBitsSize, '\0');
    for (int k = 0; k < 3; ++k) {
        WriteFile(Path(names[k]), "x");
        IconCacheFolder(folder, tabFolder, Path(names[k]).c_str());
        std::string colour(k == 1 ? 4000 : kColourBitsSize, '@');
        CacheAddFile(CacheArchiveAuto(), folder, names[k], int32_t(colour.size()), colour.data());
        CacheAddFile(CacheArchiveAuto(), folder, (std::string(names[k]) + "_Mask").c_str(),
                     kMaskBitsSize, mask.data());
    }
    ASSERT_LT(0, CacheSave(CacheArchiveAuto(), Path("Cache.arc").c_str(), kCacheMagic));
    // An empty tab is shown first, so the box comes after start-up, once N switches to T0.
    WriteFile(Path("qdx.ini"), Replace(Catalogue(1, 3, [&](int k) { return Path(names[k]); }),
                                       "TabCount = 1\r\nTab_0 = \"T0\"\r\nTab_0_Count",
                                       "TabCount = 2\r\nTab_0 = \"E\"\r\nTab_0_Count = 0\r\n"
                                       "Tab_1 = \"T0\"\r\nTab_1_Count"));
    Launch();
    PostMessageA(WaitForMainWindow(program_.process.dwProcessId), WM_KEYDOWN, 'N', 0);
    std::string text;
    ASSERT_TRUE(AnswerBox(program_.process.dwProcessId, "", IDOK, &text, PostCloseAndLook));
    EXPECT_TRUE(g_windowOutlivedClose);
    EXPECT_EQ(0, WaitForExit(program_));
    EXPECT_NE(std::string::npos, ReadWholeFile(Path("qdx.ini")).find("T0_FilePath_2 = "));
}

// A close right after the window shows saves the attributes a finished load would have read,
// not the -1 stored for an entry whose cell was not on screen yet.
TEST_F(SettingsFileTest, ACloseSoonAfterStartSavesTheAttributesReadAnew) {
    Prepare("attributes");
    std::string ini = Catalogue(1, 300, [&](int k) {
        std::string file = Path(("f" + std::to_string(k)).c_str());
        WriteFile(file, "x");
        return file;
    });
    WriteFile(Path("qdx.ini"),
              Replace(ini, "\r\n[Tab_T0]", "\r\n[Tab_T0]\r\nT0_Attribute_299 = -1"));
    RunOnce();
    std::string saved = ReadWholeFile(Path("qdx.ini"));
    EXPECT_NE(std::string::npos, saved.find("T0_Attribute_299 = "));
    EXPECT_EQ(std::string::npos, saved.find(" = -1\r\nT0_IconType_"));
}

} // namespace
