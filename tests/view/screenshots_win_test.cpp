// Not a test: saves pictures of the window in the standard and the tall style for looking at.
// Run on its own with
//   QDX_SCREENSHOT_DIR=build wine qdx_win32_tests.exe --gtest_also_run_disabled_tests
//       --gtest_filter='Screenshots.*'
// and convert the .bmp files (e.g. with ImageMagick's convert).
#include "catalogue/catalogue.h"
#include "app/catalogue_services.h"
#include "catalogue/tab_names.h"
#include "storage/entry_icons.h"
#include "storage/settings.h"
#include "support/main_window_fixture.h"
#include "view/grid_view.h"
#include "view/tab_strip.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Screenshots = MainWindowTest;

void Settle() {
    for (int i = 0; i < 20; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(25);
    }
}

// Copies the window's screen area into a 24-bit .bmp file.
bool SaveWindowPicture(HWND window, const std::string& path) {
    RECT r;
    GetWindowRect(window, &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info;
    ZeroMemory(&info, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file;
    ZeroMemory(&file, sizeof file);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + stride * height;
    bool saved = false;
    if (FILE* out = std::fopen(path.c_str(), "wb")) {
        saved = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                std::fwrite(bits, stride * height, 1, out) == 1;
        std::fclose(out);
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return saved;
}

TEST_F(Screenshots, DISABLED_StandardWithThreeTabsAndTall) {
    const char* dir = std::getenv("QDX_SCREENSHOT_DIR");
    std::string folder = dir ? dir : ".";
    ClearCatalogue();
    InstallCatalogueServices();
    for (const char* name : {"ツール", "Games", "仕事"})
        AppendTab(name);
    const char* files[] = {
        "C:\\windows\\notepad.exe",           "C:\\windows\\regedit.exe",
        "C:\\windows\\system32\\winecfg.exe", "C:\\windows",
        "C:\\windows\\system32\\cmd.exe",     "C:\\windows\\system32\\taskmgr.exe",
        "C:\\windows\\system32\\control.exe", "C:\\windows\\winhlp32.exe"};
    std::unique_ptr<Entry> record(new Entry());
    for (int round = 0; round < 5; ++round) {
        for (const char* file : files) {
            FillEntry(record.get(), file, "", "", "", 0);
            record->Attribute = GetFileAttributesA(file);
            char tabFolder[kIconFolderSize], iconFolder[kIconFolderSize];
            TabCacheFolder(tabFolder, "ツール");
            IconCacheFolder(iconFolder, tabFolder, file);
            AddEntry(iconFolder, *record, 0, 0);
        }
    }
    SelectTab(0);
    SetWindowPos(MainWindow(), HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE);
    ShowWindow(MainWindow(), SW_SHOW);
    Settle();
    EXPECT_TRUE(SaveWindowPicture(MainWindow(), folder + "/screenshot-standard.bmp"));

    SetMainWindowPos(StyleTall, 100, 10);
    SetTopMost(1);
    SwitchDisplayStyle(StyleTall);
    Settle();
    EXPECT_TRUE(SaveWindowPicture(MainWindow(), folder + "/screenshot-tall.bmp"));
    FreeCatalogue();
}

} // namespace
