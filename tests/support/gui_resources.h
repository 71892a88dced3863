// Counts of the process's GUI objects for the leak tests. GetGuiResources answers 0 under
// Wine 8, so the GDI count reads the process's GDI handle table instead: the process
// environment block points to it (GdiSharedHandleTable), and under Wine each of its 65536
// entries is 24 bytes with a nonzero type byte at offset 14 while the handle lives. Windows
// are counted by walking the thread's top-level windows and their children.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstddef>

inline const unsigned char* GdiHandleTable() {
    // Asked of ntdll rather than read through the segment register, which GCC's bounds
    // checks take for an access to address 0.
    typedef LONG(WINAPI * QueryProcess)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    QueryProcess query = reinterpret_cast<QueryProcess>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic;
    ZeroMemory(&basic, sizeof basic);
    if (!query ||
        query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return nullptr;
    const unsigned char* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
#ifdef _WIN64
    const size_t offset = 0xF8;
#else
    const size_t offset = 0x94;
#endif
    return *reinterpret_cast<const unsigned char* const*>(peb + offset);
}

// The live GDI objects of the process, or -1 when there is no table to read.
inline int CountGdiObjects() {
    const unsigned char* table = GdiHandleTable();
    if (!table) return -1;
    const size_t kEntrySize = 24, kTypeOffset = 14, kEntries = 0x10000;
    int live = 0;
    for (size_t i = 0; i < kEntries; ++i)
        live += table[i * kEntrySize + kTypeOffset] != 0 ? 1 : 0;
    return live;
}

inline BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

inline BOOL CALLBACK CountTopLevel(HWND window, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    EnumChildWindows(window, CountChild, count);
    return TRUE;
}

// The windows of the calling thread, top-level and children.
inline int CountThreadWindows() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTopLevel, reinterpret_cast<LPARAM>(&count));
    return count;
}
