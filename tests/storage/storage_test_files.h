// Real files for the storage tests: a fresh folder per test, whole-file reads and writes.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#ifdef _WIN32
#include <direct.h>
#include <io.h>
#include <process.h>
#endif

inline void MakeFolder(const std::string& path) {
#ifdef _WIN32
    _mkdir(path.c_str());
#else
    mkdir(path.c_str(), 0755);
#endif
}

inline int ProcessId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// The read-only attribute on Windows, no write permission elsewhere.
inline void SetReadOnly(const std::string& path, bool readOnly) {
#ifdef _WIN32
    _chmod(path.c_str(), readOnly ? _S_IREAD : _S_IREAD | _S_IWRITE);
#else
    chmod(path.c_str(), readOnly ? 0444 : 0644);
#endif
}

inline void RemoveFolder(const std::string& path) {
#ifdef _WIN32
    _rmdir(path.c_str());
#else
    rmdir(path.c_str());
#endif
}

// A fresh folder of its own for the current test, below the test framework's temporary
// folder. Process ids repeat under Wine, so the clock makes the name unique.
inline std::string TestFolder() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    long long stamp =
        static_cast<long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::string folder = testing::TempDir() + "qdx_" + std::to_string(ProcessId()) + "_" +
                         std::to_string(stamp) + "_" + info->test_suite_name() + "_" + info->name();
    MakeFolder(folder);
    return folder;
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

inline bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}
