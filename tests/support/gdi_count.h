// The number of GDI objects this process holds. GetGuiResources is not implemented by Wine;
// instead the process's GDI handle table, which the process environment block points to, is
// counted: an entry whose type byte is not zero is a live object.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstdint>

struct GdiHandleEntry {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "the table's entry layout");

const int kGdiHandleTableSize = 0x10000;

inline const GdiHandleEntry* GdiHandleTable() {
#ifdef _WIN64
    const size_t tableOffset = 0xF8;
#else
    const size_t tableOffset = 0x94;
#endif
    typedef NTSTATUS(WINAPI * QueryProcess)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    QueryProcess query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic;
    if (!query ||
        query(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return nullptr;
    const char* peb = reinterpret_cast<const char*>(basic.PebBaseAddress);
    return *reinterpret_cast<const GdiHandleEntry* const*>(peb + tableOffset);
}

// -1 when the system has no such table.
inline int CountGdiObjects() {
    const GdiHandleEntry* table = GdiHandleTable();
    if (!table) return -1;
    int count = 0;
    for (int i = 0; i < kGdiHandleTableSize; ++i)
        count += table[i].type != 0;
    return count;
}
