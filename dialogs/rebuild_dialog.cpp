#include "dialogs/rebuild_dialog.h"

#include "base/app_state.h"
#include "catalogue/catalogue.h"
#include "catalogue/tab_names.h"
#include "dialogs/help_tips.h"
#include "res/rebuild_dialog_ids.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"

#include <cstdio>
#include <cstdlib>

const char kRemakeDialogName[] = "REMAKE_DIALOG";

namespace {

const char kNothingTicked[] = "チェックが一つもありません";
const char kErrorCaption[] = "Error";
const char kRebuilt[] = "再構築しました";
const char kNoticeCaption[] = "お知らせ";
const char kProgressFormat[] = "%d / %d";

// Progress and pending messages are looked at this often during a pass.
const DWORD kPumpIntervalMs = 50;

struct RebuildChoice {
    bool fileInfo, workPath, icon, cache, shortcuts;
};

// The state of the one open rebuild dialog (it is modal).
struct RebuildState {
    HWND tips;
    bool running;
    bool quitRequested;
};
RebuildState g_state;

bool IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

RebuildChoice ReadChoice(HWND dialog) {
    return RebuildChoice{IsChecked(dialog, IDC_REBUILD_FILE_INFO),
                         IsChecked(dialog, IDC_REBUILD_WORK_PATH),
                         IsChecked(dialog, IDC_REBUILD_ICON), IsChecked(dialog, IDC_REBUILD_CACHE),
                         IsChecked(dialog, IDC_REBUILD_SHORTCUTS)};
}

void EnableButtons(HWND dialog, bool enable) {
    EnableWindow(GetDlgItem(dialog, IDC_REBUILD_RUN), enable);
    EnableWindow(GetDlgItem(dialog, IDC_REBUILD_CLOSE), enable);
}

void ShowProgress(HWND dialog, int done, int total) {
    char text[64];
    std::snprintf(text, sizeof text, kProgressFormat, done, total);
    SetDlgItemTextA(dialog, IDC_REBUILD_PROGRESS, text);
}

// Lets windows repaint between entries. The pass holds the close: a close of the program that
// comes meanwhile (posted, or sent as WM_ENDSESSION) is only remembered, and the main window
// runs no command, so nothing changes the catalogue under the pass.
void PumpPendingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            g_state.quitRequested = true;
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void RebuildEntryIcon(const char* tabFolder, int t, int k, const RebuildChoice& choice) {
    EntrySnapshot* entry = static_cast<EntrySnapshot*>(std::calloc(1, sizeof(EntrySnapshot)));
    if (!entry) return;
    if (GetEntrySnapshot(entry, t, k, 0, 0)) {
        char folder[kIconFolderSize];
        IconCacheFolder(folder, tabFolder, entry->FilePath);
        if (choice.cache) {
            CaptureEntryIcon(CacheArchiveAuto(), folder, entry->FilePath, entry->FileName,
                             kMaskSuffix);
        } else if (RecaptureEntryIcon(CacheArchiveAuto(), folder, entry->FilePath, entry->FileName,
                                      kMaskSuffix) != 1) {
            CaptureEntryIcon(CacheArchiveAuto(), folder, entry->FilePath, entry->FileName,
                             kMaskSuffix);
        }
        ReloadEntryIcon(t, folder, k, entry->IconType);
    }
    std::free(entry);
}

int TotalEntries() {
    int total = 0;
    for (int t = 0; t < TabNameCount(); ++t)
        total += EntryCount(t) > 0 ? EntryCount(t) : 0;
    return total;
}

// One pass over every entry; false when a close of the program stopped it.
bool RunPass(HWND dialog, const RebuildChoice& choice) {
    int total = TotalEntries();
    int done = 0;
    DWORD lastPump = GetTickCount() - kPumpIntervalMs; // the first entry looks at once
    ShowProgress(dialog, 0, total);
    for (int t = 0; t < TabNameCount(); ++t) {
        char caption[kTabNameSize];
        GetTabName(t, caption);
        char tabFolder[kIconFolderSize];
        TabCacheFolder(tabFolder, caption);
        for (int k = 0; k < EntryCount(t); ++k) {
            if (choice.fileInfo || choice.workPath || choice.shortcuts)
                RefreshEntry(t, k, choice.workPath, choice.shortcuts);
            if (choice.icon || choice.cache) RebuildEntryIcon(tabFolder, t, k, choice);
            ++done;
            if (GetTickCount() - lastPump >= kPumpIntervalMs) {
                ShowProgress(dialog, done, total);
                PumpPendingMessages();
                lastPump = GetTickCount();
                if (IsCloseRemembered() || g_state.quitRequested) return false;
            }
        }
    }
    ShowProgress(dialog, done, total);
    return true;
}

INT_PTR OnRun(HWND dialog) {
    RebuildChoice choice = ReadChoice(dialog);
    if (!choice.fileInfo && !choice.workPath && !choice.icon && !choice.cache &&
        !choice.shortcuts) {
        MessageBoxA(dialog, kNothingTicked, kErrorCaption, MB_ICONERROR);
        return TRUE;
    }
    EnableButtons(dialog, false);
    g_state.running = true;
    CacheArchive* cache = CacheArchiveAt(CacheArchiveAuto());
    HoldClose();
    if (choice.cache) CacheClear(CacheArchiveAuto());
    bool finished = RunPass(dialog, choice);
    g_state.running = false;
    EnableButtons(dialog, true);
    if (!finished) {
        // The file on disk keeps the whole cache it had; what this run added to it before
        // the pass is captured again when next needed.
        if (cache && (choice.icon || choice.cache)) cache->modified = false;
        // Posted first, so the dialog has ended when the remembered close comes back.
        PostMessageA(dialog, WM_CLOSE, 0, 0);
        ReleaseClose();
        return TRUE;
    }
    ReleaseClose();
    MessageBoxA(dialog, kRebuilt, kNoticeCaption, MB_OK);
    return TRUE;
}

INT_PTR OnInitDialog(HWND dialog) {
    g_state.running = g_state.quitRequested = false;
    g_state.tips = AttachHelpTips(dialog, kRemakeDialogName);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, int id) {
    switch (id) {
    case IDC_REBUILD_RUN: return OnRun(dialog);
    case IDC_REBUILD_CLOSE: PostMessageA(dialog, WM_CLOSE, 0, 0); return TRUE;
    }
    return FALSE;
}

INT_PTR OnClose(HWND dialog) {
    // The close box stays live during a pass; the pass ends first.
    if (g_state.running) return TRUE;
    DetachHelpTips(g_state.tips, dialog, kRemakeDialogName);
    g_state.tips = nullptr;
    EndDialog(dialog, 1);
    return TRUE;
}

} // namespace

INT_PTR CALLBACK RebuildDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, LOWORD(wParam));
    case WM_CLOSE: return OnClose(dialog);
    }
    return FALSE;
}

void ShowRebuildDialog(HWND owner) {
    DialogBoxParamA(AppInstance(), kRemakeDialogName, owner, RebuildDialogProc, 0);
    if (g_state.quitRequested) PostQuitMessage(0);
}
