#include "app/main_window.h"

#include "app/command_dispatch.h"
#include "app/startup.h"
#include "app/tray_icon.h"
#include "base/app_state.h"
#include "catalogue/catalogue.h"
#include "commands/launch.h"
#include "commands/menus.h"
#include "commands/registration.h"
#include "input/pointer_input.h"
#include "res/command_ids.h"
#include "storage/settings.h"
#include "view/drawing_objects.h"
#include "view/entry_tooltips.h"
#include "view/grid.h"
#include "view/grid_view.h"
#include "view/offscreen_buffer.h"
#include "view/painting.h"
#include "view/tab_strip.h"
#include "view/window_behaviours.h"

#include <commctrl.h>
#include <shellapi.h>

const char kMainClassName[] = "VARROW";
const char kMainWindowTitle[] = "Varrowin";

namespace {

// A handler's result is ignored: every message of the table answers 0.
typedef int (*MessageHandlerFunction)(HWND, UINT, WPARAM, LPARAM, LRESULT*);

struct MessageHandler {
    UINT message;
    MessageHandlerFunction handler;
};

// Status-bar help for highlighted menu commands: the string whose id is the command id.
UINT g_menuHelpIds[32] = {0, 256, 0, 257, 0, 258, 0, 259, 0, 260, 0, 261,      0, 266, 0, 263,
                          0, 265, 0, 267, 0, 284, 0, 285, 0, 296, 0, UINT(-1), 0, 0,   0, 0};

int OnCreate(HWND window, UINT, WPARAM, LPARAM, LRESULT*) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = AppInstance();

    SetStatusBar(CreateStatusWindowA(WS_CHILD | WS_VISIBLE | CCS_BOTTOM | SBARS_SIZEGRIP, "",
                                     window, kStatusBarId));

    HWND tip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                               instance, nullptr);
    SetToolTip(tip);
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, GetSystemMetrics(SM_CXSCREEN));
    SendMessageA(tip, TTM_SETDELAYTIME, TTDT_RESHOW, 1000);
    AddCellTools(tip, window);

    SetTabControl(CreateTabStrip(window, 0, 0, 10, 10, kTabStripId, instance));

    SetScrollBar(CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 390, 30, 18,
                                 325, window, reinterpret_cast<HMENU>(INT_PTR(kScrollBarId)),
                                 instance, nullptr));
    SetMainMenu(GetMenu(window));
    AddMainTrayIcon(window);
    SetTrayMenu(BuildTrayMenu(window));
    CreateBackBuffer(window);
    return 0;
}

int OnDestroy(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    ReleaseDrawingObjects();
    PostQuitMessage(0);
    return 0;
}

int OnClose(HWND window, UINT, WPARAM, LPARAM, LRESULT*) {
    if (IsCloseHeld()) {
        RememberClose();
        return 0;
    }
    CloseApplication(window);
    return 0;
}

int OnTimer(HWND window, UINT, WPARAM, LPARAM, LRESULT*) {
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

// While work holds the catalogue (a box of its own is up, or a rebuild pass lets windows
// repaint), a command, say a sort from the tray menu, would change it underneath; only the exit
// command, which just asks for a close, gets through.
int OnCommand(HWND, UINT, WPARAM wParam, LPARAM lParam, LRESULT*) {
    if (IsCloseHeld() && LOWORD(wParam) != IDM_EXIT) return 0;
    return static_cast<int>(DispatchCommand(wParam, lParam));
}

int Ignore(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    return 0;
}

int OnDropFilesRow(HWND window, UINT, WPARAM wParam, LPARAM, LRESULT*) {
    OnDropFiles(window, reinterpret_cast<HDROP>(wParam));
    return 0;
}

int OnHotKey(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    SummonToPointer();
    return 0;
}

int OnKillFocus(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    ReturnFromSummon();
    return 0;
}

int OnLButtonDblClk(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    LaunchSelectedEntry();
    return 0;
}

int OnRButtonDown(HWND, UINT, WPARAM, LPARAM lParam, LRESULT*) {
    // The menu's own handler selects the cell under the pointer first.
    ShowGridPopupMenu(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    return 0;
}

int OnSize(HWND window, UINT, WPARAM wParam, LPARAM lParam, LRESULT*) {
    MoveWindow(TabControl(), 0, 0, LOWORD(lParam), kTabStripHeight, TRUE);
    SendMessageA(StatusBar(), WM_SIZE, wParam, lParam);
    ResizeOffscreenBuffer(ColumnCount() * CellWidth(), RowCount() * CellHeight());
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

int OnDrawItem(HWND, UINT, WPARAM, LPARAM lParam, LRESULT*) {
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item && item->CtlType == ODT_TAB) SendMessageA(TabControl(), WM_DRAWITEM, 0, lParam);
    return 0;
}

int OnNotify(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header) return 0;
    // The sender tells them apart: the tooltip's tool of the 17th cell also has id 16.
    if (header->hwndFrom == TabControl()) {
        SendMessageA(TabControl(), message, wParam, lParam);
        return 0;
    }
    if (header->code == TTN_NEEDTEXTA && GetTooltip()) SupplyEntryTooltipText(header);
    return 0;
}

int OnMenuSelect(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
    MenuHelp(message, wParam, lParam, GetMenu(window), AppInstance(), StatusBar(), g_menuHelpIds);
    return 0;
}

int OnTaskbarCreatedRow(HWND window, UINT, WPARAM, LPARAM, LRESULT*) {
    OnTaskbarCreated(window);
    return 0;
}

int OnTrayNotifyRow(HWND window, UINT, WPARAM, LPARAM lParam, LRESULT*) {
    // The tray menu's loop would run inside the held work and its commands are refused.
    if (IsCloseHeld()) return 0;
    OnTrayNotify(window, lParam);
    return 0;
}

int OnDisplayChange(HWND, UINT, WPARAM, LPARAM, LRESULT*) {
    Sleep(1000);
    return 0;
}

int OnImeNotify(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
    if (wParam >= 1 && wParam <= 5) return 0;
    DefWindowProcA(window, message, wParam, lParam);
    return 0;
}

int OnSysCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT*) {
    // Minimising hides the window; the tray icon brings it back.
    if (LOWORD(wParam) == SC_MINIMIZE) {
        ShowWindow(window, SW_HIDE);
        return 0;
    }
    DefWindowProcA(window, message, wParam, lParam);
    return 0;
}

int OnPaint(HWND window, UINT, WPARAM, LPARAM, LRESULT*) {
    // Binding an icon can raise a box whose loop delivers a close.
    CloseHold hold;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintGrid();
    BitBlt(dc, 0, GridTop(), ColumnCount() * CellWidth(), RowCount() * CellHeight(),
           BackBuffer().BufferDc(), 0, 0, SRCCOPY);
    EndPaint(window, &paint);
    return 0;
}

// What showing, moving and painting the window brings: none of it looks past the current tab,
// so none of it waits for the tabs still being loaded. Everything else in the table does.
bool NeedsNoOtherTab(UINT message) {
    static const UINT kMessages[] = {WM_CREATE, WM_DESTROY,        WM_MOVE,
                                     WM_SIZE,   WM_KILLFOCUS,      WM_DRAWITEM,
                                     WM_PAINT,  WM_IME_SETCONTEXT, WM_IME_NOTIFY};
    for (UINT m : kMessages)
        if (m == message) return true;
    return false;
}

// Never matches a real message: row 25 takes the registered "TaskbarCreated" id.
const UINT kUnsetMessage = 0xFFFFFFFFu;

MessageHandler g_messageTable[] = {
    {WM_CREATE, OnCreate},
    {WM_DESTROY, OnDestroy},
    {WM_CLOSE, OnClose},
    {WM_ENDSESSION, OnClose},
    {WM_TIMER, OnTimer},
    {WM_COMMAND, OnCommand},
    {WM_VSCROLL, OnVScroll},
    {WM_MOVE, Ignore},
    {WM_DROPFILES, OnDropFilesRow},
    {WM_HOTKEY, OnHotKey},
    {WM_KILLFOCUS, OnKillFocus},
    {WM_LBUTTONDBLCLK, OnLButtonDblClk},
    {WM_RBUTTONDOWN, OnRButtonDown},
    {WM_MOUSEMOVE, OnMouseMove},
    {WM_LBUTTONDOWN, OnLButtonDown},
    {WM_LBUTTONUP, OnLButtonUp},
    {WM_NCLBUTTONUP, OnNcLButtonUp},
    {WM_MOUSEWHEEL, OnMouseWheel},
    {WM_KEYUP, OnKeyUp},
    {WM_KEYDOWN, OnKeyDown},
    {WM_SIZE, OnSize},
    {WM_DRAWITEM, OnDrawItem},
    {WM_NOTIFY, OnNotify},
    {WM_MENUSELECT, OnMenuSelect},
    {kUnsetMessage, OnTaskbarCreatedRow},
    {kTrayCallbackMessage, OnTrayNotifyRow},
    {WM_DISPLAYCHANGE, OnDisplayChange},
    {WM_IME_SETCONTEXT, Ignore},
    {WM_IME_STARTCOMPOSITION, Ignore},
    {WM_IME_COMPOSITION, Ignore},
    {WM_IME_ENDCOMPOSITION, Ignore},
    {WM_IME_NOTIFY, OnImeNotify},
    {WM_SYSCOMMAND, OnSysCommand},
    {WM_PAINT, OnPaint},
};
const int kTaskbarCreatedRow = 24;
bool g_tableReady;

} // namespace

int MessageTableSize() {
    return static_cast<int>(sizeof g_messageTable / sizeof g_messageTable[0]);
}
UINT MessageTableId(int row) {
    return g_messageTable[row].message;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!g_tableReady) {
        g_tableReady = true;
        if (TaskbarCreatedMessage() != 0) {
            g_messageTable[kTaskbarCreatedRow].message = TaskbarCreatedMessage();
        }
    }
    LRESULT result = 0;
    for (const MessageHandler& row : g_messageTable) {
        if (row.message == message) {
            if (!NeedsNoOtherTab(message)) CompleteCatalogue();
            row.handler(window, message, wParam, lParam, &result);
            return result;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
