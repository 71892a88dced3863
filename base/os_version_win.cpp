#include "base/app_state.h"

namespace {

typedef BOOL(WINAPI* LayeredAttributesFunction)(HWND, COLORREF, BYTE, DWORD);

HMODULE g_user32;
LayeredAttributesFunction g_setLayeredAttributes;

} // namespace

int OsVersionCodeFor(DWORD major, DWORD minor, DWORD platformId, char servicePackFirst) {
    if (major == 3) return 7;
    if (major == 4 && minor == 0) {
        if (servicePackFirst == 'a') return 1;
        if (servicePackFirst == 'B') return 2;
        if (servicePackFirst == 'C') return 3;
        return platformId == VER_PLATFORM_WIN32_NT ? 8 : 0;
    }
    if (major == 4 && minor == 10) return servicePackFirst == 'A' ? 5 : 4;
    if (major == 5 && minor == 0) return 8;
    if (major == 5 && minor == 1) return 9;
    return 0;
}

int GetOsVersionCode() {
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&info)) return 0;
#pragma GCC diagnostic pop
    return OsVersionCodeFor(info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId,
                            info.szCSDVersion[0]);
}

void LoadLayeredFunction() {
    if (GetOsVersionCode() < 8 || g_user32) return;
    g_user32 = LoadLibraryA("user32.dll");
    if (!g_user32) return;
    g_setLayeredAttributes = reinterpret_cast<LayeredAttributesFunction>(
        reinterpret_cast<void*>(GetProcAddress(g_user32, "SetLayeredWindowAttributes")));
}

void FreeLayeredFunction() {
    if (g_user32) FreeLibrary(g_user32);
    g_user32 = nullptr;
    g_setLayeredAttributes = nullptr;
}

bool HasLayeredFunction() {
    return g_setLayeredAttributes != nullptr;
}

BOOL SetLayeredAlpha(HWND window, int alpha) {
    if (!g_setLayeredAttributes) return 0;
    return g_setLayeredAttributes(window, 0, static_cast<BYTE>(alpha & 0xFF), LWA_ALPHA);
}
