#include "dialogs/version_dialog.h"

#include "base/app_state.h"
#include "res/command_ids.h"
#include "res/version_dialog_ids.h"

#include <cstdio>
#include <vector>

const char kVersionDialogName[] = "VERSION_DIALOG";

namespace {

const char kContactLine[] = "連絡先: Varrowin developers";
const char kTitleFace[] = "ＭＳ 明朝";
const int kTitleHeight = 18;
const int kRightsHeight = 14;
const int kIconX = 8;
const int kIconY = 10;
const int kIconSize = 32;

struct VersionDialogState {
    HICON icon;
    VersionTexts texts;
};
VersionDialogState g_state;

void CopyText(char* out, size_t size, const char* text) {
    lstrcpynA(out, text ? text : "", static_cast<int>(size));
}

// One string of the block's first translation, or null.
const char* VersionString(std::vector<char>& block, const char* name) {
    WORD* translation = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        length < 2 * sizeof(WORD))
        return nullptr;
    char key[128];
    std::snprintf(key, sizeof key, "\\StringFileInfo\\%04x%04x\\%s", translation[0], translation[1],
                  name);
    char* value = nullptr;
    if (!VerQueryValueA(block.data(), key, reinterpret_cast<void**>(&value), &length))
        return nullptr;
    return length > 0 ? value : nullptr;
}

HFONT CreateTitleFont(int height) {
    return CreateFontA(height, 0, 0, 0, FW_BOLD, TRUE, TRUE, FALSE, SHIFTJIS_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                       VARIABLE_PITCH | FF_ROMAN, kTitleFace);
}

// Draws `text` centred as the title lines are (leaving room for the icon) at `y`; returns
// the text's height.
int DrawTitleLine(HDC dc, int clientWidth, int y, const char* text) {
    SIZE extent = {0, 0};
    int length = lstrlenA(text);
    GetTextExtentPoint32A(dc, text, length, &extent);
    TextOutA(dc, (clientWidth - extent.cx + kIconSize) / 2, y, text, length);
    return extent.cy;
}

INT_PTR OnInitDialog(HWND dialog) {
    g_state.icon = static_cast<HICON>(
        LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDI_APP), IMAGE_ICON, kIconSize, kIconSize, 0));
    ReadVersionTexts(AppInstance(), &g_state.texts);
    SetDlgItemTextA(dialog, IDC_VERSION_TEXT, g_state.texts.version);
    SetDlgItemTextA(dialog, IDC_VERSION_CONTACT, kContactLine);
    return TRUE;
}

INT_PTR OnPaint(HWND dialog) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    RECT client;
    GetClientRect(dialog, &client);
    int previousMode = SetBkMode(dc, TRANSPARENT);
    HFONT titleFont = CreateTitleFont(kTitleHeight);
    HGDIOBJ previousFont = SelectObject(dc, titleFont);
    if (g_state.icon) DrawIcon(dc, kIconX, kIconY, g_state.icon);
    SIZE extent = {0, 0};
    GetTextExtentPoint32A(dc, g_state.texts.title, lstrlenA(g_state.texts.title), &extent);
    int titleY = extent.cy / 2;
    int lineHeight = DrawTitleLine(dc, client.right, titleY, g_state.texts.title);
    HFONT rightsFont = CreateTitleFont(kRightsHeight);
    SelectObject(dc, rightsFont);
    DrawTitleLine(dc, client.right, titleY + lineHeight, g_state.texts.rights);
    SelectObject(dc, previousFont);
    DeleteObject(rightsFont);
    DeleteObject(titleFont);
    SetBkMode(dc, previousMode);
    EndPaint(dialog, &paint);
    return TRUE;
}

INT_PTR OnClose(HWND dialog) {
    if (g_state.icon) DestroyIcon(g_state.icon);
    g_state.icon = nullptr;
    EndDialog(dialog, 1);
    return TRUE;
}

} // namespace

void ReadVersionTexts(HMODULE module, VersionTexts* texts) {
    texts->version[0] = texts->title[0] = texts->rights[0] = '\0';
    char path[MAX_PATH] = "";
    GetModuleFileNameA(module, path, sizeof path);
    path[sizeof path - 1] = '\0';
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path, 0, size, block.data())) return;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) &&
        length >= sizeof *fixed) {
        std::snprintf(texts->version, sizeof texts->version, "Ver%u.%u%u",
                      static_cast<unsigned>(HIWORD(fixed->dwProductVersionMS)),
                      static_cast<unsigned>(LOWORD(fixed->dwProductVersionMS)),
                      static_cast<unsigned>(HIWORD(fixed->dwProductVersionLS)));
    }
    const char* company = VersionString(block, "CompanyName");
    const char* product = VersionString(block, "ProductName");
    if (company && product) {
        std::snprintf(texts->title, sizeof texts->title, "%s - %s", company, product);
    } else {
        CopyText(texts->title, sizeof texts->title, product);
    }
    CopyText(texts->rights, sizeof texts->rights, VersionString(block, "LegalCopyright"));
}

INT_PTR CALLBACK VersionDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_PAINT: return OnPaint(dialog);
    case WM_COMMAND:
        if (LOWORD(wParam) != IDC_VERSION_OK) return FALSE;
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        return TRUE;
    case WM_CLOSE: return OnClose(dialog);
    }
    return FALSE;
}

void ShowVersionDialog(HWND owner) {
    DialogBoxParamA(AppInstance(), kVersionDialogName, owner, VersionDialogProc, 0);
}
