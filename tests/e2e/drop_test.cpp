#include "e2e/process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void WriteText(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f) << path;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string BesideThisProgram(const std::string& name) {
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    std::string path = module;
    return path.substr(0, path.find_last_of("\\/") + 1) + name;
}

// Loads a library into another process: a thread of that process calls LoadLibraryA, which
// sits at the same address in every process of this architecture.
bool LoadInto(HANDLE process, const std::string& library) {
    void* remote = VirtualAllocEx(process, nullptr, library.size() + 1, MEM_COMMIT | MEM_RESERVE,
                                  PAGE_READWRITE);
    if (!remote) return false;
    bool ok = WriteProcessMemory(process, remote, library.c_str(), library.size() + 1, nullptr);
    auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA")));
    HANDLE thread =
        ok ? CreateRemoteThread(process, nullptr, 0, load, remote, 0, nullptr) : nullptr;
    if (thread) {
        WaitForSingleObject(thread, 30000);
        CloseHandle(thread);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return thread != nullptr;
}

// A text as the settings file holds it: each backslash doubled.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

// The values of the keys "<tab>_<field>_<i>" in the order of i.
std::vector<std::string> Values(const std::string& ini, const std::string& prefix) {
    std::vector<std::string> values;
    for (int i = 0;; ++i) {
        std::string key = prefix + std::to_string(i) + " = \"";
        size_t at = ini.find(key);
        if (at == std::string::npos) break;
        at += key.size();
        values.push_back(ini.substr(at, ini.find('"', at) - at));
    }
    return values;
}

// Under Wine an OLE drag from another process does not arrive as WM_DROPFILES, so the drop
// starts inside the program: drop_files.dll, loaded into it, posts the drop to its window.
TEST(ProgramDrop, DroppedFilesAreSavedInTheSortedOrder) {
    std::string folder = MakeFreshFolder("drop");
    std::string exe = InstallProgram(folder);
    WriteText(folder + "\\qdx.ini", "[Info]\r\nSort = 1\r\nTabCount = 1\r\nTab_0 = \"ツール\"\r\n"
                                    "Tab_0_Count = 0\r\n");
    std::string data = folder + "\\data";
    CreateDirectoryA(data.c_str(), nullptr);
    CreateDirectoryA((data + "\\zdir").c_str(), nullptr);
    for (const char* name : {"c.txt", "b.txt", "A.txt"})
        WriteText(data + "\\" + name, name);
    std::string library = folder + "\\drop_files.dll";
    ASSERT_TRUE(CopyFileA(BesideThisProgram("drop_files.dll").c_str(), library.c_str(), FALSE));
    WriteText(library + ".txt", data + "\\c.txt\r\n" + data + "\\zdir\r\n" + data + "\\b.txt\r\n" +
                                    data + "\\A.txt\r\n");

    RunningProgram program;
    ASSERT_TRUE(StartProgram(exe, &program));
    program.window = WaitForMainWindow(program.process.dwProcessId);
    ASSERT_NE(nullptr, program.window);
    EXPECT_TRUE(LoadInto(program.process.hProcess, library));
    // The drop was posted before the thread ended, so it is handled before the close.
    PostMessageA(program.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, WaitForExit(program));
    CloseHandles(&program);

    std::string ini = ReadWholeFile(folder + "\\qdx.ini");
    EXPECT_NE(std::string::npos, ini.find("Tab_0_Count = 4\r\n")) << ini;
    EXPECT_EQ((std::vector<std::string>{"zdir", "A.txt", "b.txt", "c.txt"}),
              Values(ini, "ツール_FileName_"));
    std::vector<std::string> paths = Values(ini, "ツール_FilePath_");
    ASSERT_EQ(4u, paths.size());
    EXPECT_EQ(Escaped(data + "\\zdir"), paths[0]);
}

} // namespace
