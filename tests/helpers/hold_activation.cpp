// A program for activation tests: shows a small window of its own, takes the activation and
// keeps it until the window is closed (or a minute has passed, should the test be gone).
#include <windows.h>

namespace {

const char kClassName[] = "QdxOtherProgram";
const UINT_PTR kGiveUpTimer = 1;
const UINT kGiveUpMs = 60000;

LRESULT CALLBACK OtherProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER: DestroyWindow(window); return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = OtherProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassA(&windowClass)) return 1;
    HWND window = CreateWindowExA(0, kClassName, "other program", WS_POPUP | WS_VISIBLE, 700, 700,
                                  80, 60, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    SetForegroundWindow(window);
    SetTimer(window, kGiveUpTimer, kGiveUpMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
