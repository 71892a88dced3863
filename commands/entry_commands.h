// The entry commands of the grid's pop-up menu (ids 1 to 9): each works on the entry under
// the grid cursor of the current tab, does nothing on an empty cell, and returns 0.
#pragma once

#include <windows.h>
#include <commdlg.h>

enum EntryCommandId {
    kToggleOpenWithId = 1,
    kOpenParentFolderId = 2,
    kRevealLinkTargetId = 3,
    kDeleteEntryId = 4,
    kEditEntryInformationId = 5,
    kRefetchIconId = 6,
    kSetIndividualIconId = 7,
    kExportIconBitmapId = 8,
    kExportMaskBitmapId = 9,
};

int ToggleOpenWith();
int OpenParentFolder();
int RevealLinkTarget();
int DeleteEntryWithCheck();
int EditEntryInformation();
int RefetchIcon();
int SetIndividualIcon();
int ExportIconBitmap();
int ExportMaskBitmap();

// Opens the entry information editor modally over owner. The dialogs sit on a floor above the
// commands, so the application installs it at start; without one, the command does nothing.
typedef void (*EntryInfoEditor)(HWND owner);
void SetEntryInfoEditor(EntryInfoEditor editor);

// Runs the open or save file dialog; tests replace it (null restores the system's).
typedef BOOL (*FileDialogRunner)(OPENFILENAMEA* request, bool save);
void SetFileDialogRunner(FileDialogRunner runner);
