#include "e2e/process.h"

#include <cstdio>

std::string BuiltProgramPath() {
    std::string path = "Z:";
    for (const char* p = QDX_EXE_UNIX_PATH; *p; ++p)
        path += (*p == '/') ? '\\' : *p;
    return path;
}

std::string MakeFreshFolder(const std::string& leaf) {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    std::string base = std::string(temp) + "qdx-e2e-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(base.c_str(), nullptr);
    std::string folder = base + "\\" + leaf;
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string InstallProgram(const std::string& folder, const std::string& exeName) {
    std::string target = folder + "\\" + exeName;
    CopyFileA(BuiltProgramPath().c_str(), target.c_str(), FALSE);
    return target;
}

bool StartProgram(const std::string& exePath, RunningProgram* out) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + exePath + "\"";
    // Started from another folder: the program must find its files beside itself.
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    return CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          temp, &startup, &out->process) != 0;
}

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char cls[32] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (owner == search->processId && lstrcmpA(cls, "VARROW") == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND WaitForMainWindow(DWORD processId, DWORD timeoutMs, bool created) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        WindowSearch search = {processId, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found && (created || IsWindowVisible(search.found))) return search.found;
        Sleep(created ? 0 : 50);
    }
    return nullptr;
}

long WaitForExit(const RunningProgram& program, DWORD timeoutMs) {
    if (WaitForSingleObject(program.process.hProcess, timeoutMs) != WAIT_OBJECT_0) return -1000;
    DWORD code = 0;
    GetExitCodeProcess(program.process.hProcess, &code);
    return static_cast<long>(code);
}

void CloseHandles(RunningProgram* program) {
    if (program->process.hProcess) CloseHandle(program->process.hProcess);
    if (program->process.hThread) CloseHandle(program->process.hThread);
    program->process = PROCESS_INFORMATION{};
}

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const std::string& path) {
    std::string data;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return data;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.append(buffer, n);
    std::fclose(f);
    return data;
}
