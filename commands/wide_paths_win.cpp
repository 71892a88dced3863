#include "commands/wide_paths.h"

#include <cstdio>
#include <cstring>
#include <cwchar>

namespace {

enum {
    kWidePathSize = 1024,
    kWholeSize = 2 * kWidePathSize, // two bytes a character at most
    kWideFilterSize = 512,
};

const char kErrorCaption[] = "Error";
const char kUnusableText[] =
    "次のファイルは名前にこのソフトで扱えない文字が含まれているため登録できません\r\n%s";

ShortPathLookup g_shortPathLookup = GetShortPathNameW;

// The path in the ANSI code page when every character comes back from it unchanged: no
// default character and no best-fit look-alike, which would name another file. A path
// longer than capacity is cut, as every path field cuts it.
bool ToCodePage(const WCHAR* wide, char* out, int capacity) {
    char whole[kWholeSize];
    BOOL usedDefault = FALSE;
    if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, whole, sizeof whole, nullptr,
                            &usedDefault) <= 0 ||
        usedDefault) {
        return false;
    }
    WCHAR back[kWidePathSize];
    if (MultiByteToWideChar(CP_ACP, 0, whole, -1, back, kWidePathSize) <= 0 ||
        std::wcscmp(back, wide) != 0) {
        return false;
    }
    lstrcpynA(out, whole, capacity);
    return true;
}

// The name as far as the code page shows it, for messages.
void ShownName(const WCHAR* wide, char* out, int capacity) {
    char whole[kWholeSize] = "";
    WideCharToMultiByte(CP_ACP, 0, wide, -1, whole, sizeof whole, nullptr, nullptr);
    whole[sizeof whole - 1] = '\0';
    lstrcpynA(out, whole, capacity);
}

void ToWideText(const char* text, WCHAR* out, int capacity) {
    out[0] = L'\0';
    if (text) MultiByteToWideChar(CP_ACP, 0, text, -1, out, capacity);
    out[capacity - 1] = L'\0';
}

// A filter is a list of terminated texts that ends with an empty one; null when it is
// missing or does not fit.
const WCHAR* ToWideFilter(const char* filter, WCHAR* out) {
    if (!filter || !filter[0]) return nullptr;
    int length = 0;
    while (filter[length] || filter[length + 1])
        ++length;
    return MultiByteToWideChar(CP_ACP, 0, filter, length + 2, out, kWideFilterSize) > 0 ? out
                                                                                        : nullptr;
}

// No file name holds a question mark: one in a path (past a "\\?\" prefix) stands for
// characters already lost on the way, as in a shell link saved by a program of another code
// page, and the path names no file.
bool HasLostCharacters(const WCHAR* wide) {
    const WCHAR* rest = std::wcsncmp(wide, L"\\\\?\\", 4) == 0 ? wide + 4 : wide;
    return std::wcschr(rest, L'?') != nullptr;
}

} // namespace

NarrowPathKind NarrowPath(const WCHAR* wide, char* out, int capacity) {
    if (!wide || !out || capacity <= 0) return kNoNarrowPath;
    if (HasLostCharacters(wide)) {
        ShownName(wide, out, capacity);
        return kNoNarrowPath;
    }
    if (ToCodePage(wide, out, capacity)) return kWholeNarrowPath;
    WCHAR shortPath[kWidePathSize];
    DWORD n = g_shortPathLookup(wide, shortPath, kWidePathSize);
    // Without short names on the volume the call gives the long name back, which fails again.
    if (n > 0 && n < kWidePathSize && ToCodePage(shortPath, out, capacity)) return kShortNarrowPath;
    ShownName(wide, out, capacity);
    return kNoNarrowPath;
}

void SetShortPathLookup(ShortPathLookup lookup) {
    g_shortPathLookup = lookup ? lookup : GetShortPathNameW;
}

NarrowPathKind DroppedFilePath(HDROP drop, UINT i, char* out, int capacity) {
    WCHAR wide[kWidePathSize] = L"";
    DragQueryFileW(drop, i, wide, kWidePathSize);
    return NarrowPath(wide, out, capacity);
}

void NoteUnusableFile(UnusableFiles* files, const char* shownName) {
    size_t used = std::strlen(files->names);
    std::snprintf(files->names + used, sizeof files->names - used, "%s%s", used ? "\r\n" : "",
                  shownName);
    ++files->count;
}

void ReportUnusableFiles(HWND owner, const UnusableFiles& files) {
    if (files.count == 0) return;
    char text[1024];
    std::snprintf(text, sizeof text, kUnusableText, files.names);
    MessageBoxA(owner, text, kErrorCaption, MB_OK | MB_ICONERROR);
}

BOOL RunOpenFileDialog(OPENFILENAMEA* request) {
    WCHAR filter[kWideFilterSize], file[kWidePathSize], folder[kWidePathSize], title[256];
    OPENFILENAMEW wide;
    ZeroMemory(&wide, sizeof wide);
    wide.lStructSize = sizeof wide;
    wide.hwndOwner = request->hwndOwner;
    wide.hInstance = request->hInstance;
    wide.lpstrFilter = ToWideFilter(request->lpstrFilter, filter);
    wide.nFilterIndex = request->nFilterIndex;
    // The request's buffer pre-fills the dialog with the name chosen last.
    ToWideText(request->lpstrFile, file, kWidePathSize);
    wide.lpstrFile = file;
    wide.nMaxFile = kWidePathSize;
    ToWideText(request->lpstrInitialDir, folder, kWidePathSize);
    wide.lpstrInitialDir = request->lpstrInitialDir ? folder : nullptr;
    ToWideText(request->lpstrTitle, title, 256);
    wide.lpstrTitle = request->lpstrTitle ? title : nullptr;
    wide.Flags = request->Flags;
    if (!GetOpenFileNameW(&wide)) return FALSE;
    request->nFilterIndex = wide.nFilterIndex;
    char path[kWholeSize];
    if (NarrowPath(file, path, sizeof path) == kNoNarrowPath) {
        UnusableFiles unusable = {};
        NoteUnusableFile(&unusable, path);
        ReportUnusableFiles(request->hwndOwner, unusable);
        return FALSE;
    }
    if (request->lpstrFile && request->nMaxFile > 0)
        lstrcpynA(request->lpstrFile, path, static_cast<int>(request->nMaxFile));
    return TRUE;
}
