// A fresh folder for one test process, removed with its files afterwards, and the
// launch-recording helper program that is built beside the test binary.
#pragma once

#include <windows.h>

#include <string>

class ScratchFolder {
  public:
    ScratchFolder() {
        char temp[MAX_PATH] = "";
        GetTempPathA(sizeof temp, temp);
        char leaf[64];
        wsprintfA(leaf, "qdx_scratch_%lu_%lu", GetCurrentProcessId(), GetTickCount());
        path_ = std::string(temp) + leaf;
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveTree(path_); }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    std::string Write(const std::string& name, const std::string& bytes) const {
        std::string file = File(name);
        WriteTo(file, bytes);
        return file;
    }
    static void WriteTo(const std::string& file, const std::string& bytes) {
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    // Copies the helper that records its command line and folder into this folder.
    std::string InstallRecorder(const std::string& name = "record_launch.exe") const {
        char module[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, module, sizeof module);
        std::string source = module;
        source = source.substr(0, source.find_last_of("\\/") + 1) + "record_launch.exe";
        std::string target = File(name);
        CopyFileA(source.c_str(), target.c_str(), FALSE);
        return target;
    }

  private:
    static void RemoveTree(const std::string& folder) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                std::string full = folder + "\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(full);
                } else {
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }
    std::string path_;
};

inline std::string ReadFileText(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::string();
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(h);
    return text;
}

inline bool PathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
