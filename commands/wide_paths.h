// Paths the shell gives in UTF-16 (drops, shell links, file dialogs), turned into the code
// page 932 paths the program keeps. A name the code page cannot hold is replaced by the
// file's short (8.3) name, plain ASCII, which names the same file for every ANSI call.
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

enum NarrowPathKind {
    kNoNarrowPath = 0, // neither the name nor a short name fits: not usable
    kWholeNarrowPath,  // the path as it is
    kShortNarrowPath,  // the short (8.3) path of the same file
};

// out (capacity bytes) gets the usable path; for kNoNarrowPath it gets the name as far as
// the code page shows it, for messages only.
NarrowPathKind NarrowPath(const WCHAR* wide, char* out, int capacity);

// The short-name call; tests replace it to stand for a volume without short names. Null
// restores the system's.
typedef DWORD(WINAPI* ShortPathLookup)(LPCWSTR path, LPWSTR out, DWORD capacity);
void SetShortPathLookup(ShortPathLookup lookup);

// Dropped file i as a usable path (see NarrowPath).
NarrowPathKind DroppedFilePath(HDROP drop, UINT i, char* out, int capacity);

// The files of one drop or dialog that could not be used, told to the user once.
struct UnusableFiles {
    char names[1024]; // one shown name a line
    int count;
};
void NoteUnusableFile(UnusableFiles* files, const char* shownName);
void ReportUnusableFiles(HWND owner, const UnusableFiles& files);

// GetOpenFileNameA for a request block whose texts are code page 932, shown as the wide
// dialog so that any file can be chosen; the chosen file is given back as a usable path. A
// file that has none is reported and counts as cancelled.
BOOL RunOpenFileDialog(OPENFILENAMEA* request);
