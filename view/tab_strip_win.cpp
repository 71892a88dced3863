#include "view/tab_strip.h"

#include <commctrl.h>

HWND CreateTabStrip(HWND parent, int x, int y, int width, int height, int id, HINSTANCE instance) {
    InitCommonControls();
    // Drawing the items, the context menu and wheel switching are not built yet.
    return CreateWindowExA(0, WC_TABCONTROLA, "",
                           WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_OWNERDRAWFIXED |
                               TCS_FORCEICONLEFT,
                           x, y, width, height, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                           instance, nullptr);
}
