// Speed of the two file formats, measured against reading the same bytes into memory (the
// floor) and against a peer: inih parsing the same settings file, and a plain byte-at-a-time
// table loop over the same archive bytes. Prints one line per measure with its MB/s and ratios.
#include "storage/atomic_file.h"
#include "storage/cache_archive.h"
#include "storage/settings_file.h"

#include <benchmark/benchmark.h>
#include <ini.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <map>
#include <memory>
#include <string>
#include <vector>

// Every allocation through operator new is counted, so that a measure can report the most
// memory it held at once beyond what was there before it started.
namespace {
size_t liveBytes = 0;
size_t peakBytes = 0;
const size_t kCountHeader = 16; // keeps the caller's block aligned as malloc's is
} // namespace

void* operator new(size_t size) {
    unsigned char* block = static_cast<unsigned char*>(std::malloc(size + kCountHeader));
    if (!block) throw std::bad_alloc();
    std::memcpy(block, &size, sizeof size);
    liveBytes += size;
    if (liveBytes > peakBytes) peakBytes = liveBytes;
    return block + kCountHeader;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    unsigned char* block = static_cast<unsigned char*>(p) - kCountHeader;
    size_t size;
    std::memcpy(&size, block, sizeof size);
    liveBytes -= size;
    std::free(block);
}
void* operator new[](size_t size) {
    return operator new(size);
}
void operator delete[](void* p) noexcept {
    operator delete(p);
}
void operator delete(void* p, size_t) noexcept {
    operator delete(p);
}
void operator delete[](void* p, size_t) noexcept {
    operator delete(p);
}

namespace {

const int kTabs = 30;
const int kEntriesPerTab = 1000;
const int kIconPairs = 10000;

std::string settingsPath;
std::string archivePath;
size_t settingsBytes = 0;
size_t archiveBytes = 0;

// One lookup of the start-up sequence: section, key, type and the caller's field size.
struct Lookup {
    std::string section;
    std::string key;
    SettingsType type;
    size_t field;
};
std::vector<Lookup> lookups;

void Set(const std::string& section, const std::string& key, SettingsType type, const void* data,
         int32_t length, size_t field) {
    SettingsSet(section.c_str(), key.c_str(), type, data, length);
    lookups.push_back(Lookup{section, key, type, field});
}

void SetInt(const std::string& section, const std::string& key, int32_t v) {
    Set(section, key, SettingsType::Integer, &v, 1, 4);
}

void SetByte(const std::string& section, const std::string& key, unsigned char v) {
    Set(section, key, SettingsType::Byte, &v, 1, 4);
}

void SetText(const std::string& section, const std::string& key, const std::string& text,
             size_t field) {
    Set(section, key, SettingsType::String, text.data(), static_cast<int32_t>(text.size()), field);
}

// The keys the launcher writes at shutdown, in its order, for a full catalogue.
void FillCatalogue() {
    lookups.clear();
    const std::string info = "[Info]";
    for (int s = 0; s < 5; ++s) {
        SetInt(info, "MainWindowPosX_" + std::to_string(s), 30 + s);
        SetInt(info, "MainWindowPosY_" + std::to_string(s), 40 + s);
    }
    const char* bytes[] = {"Sort", "Alpha", "TopMost", "MoveLock", "AutoHide", "Multi"};
    for (const char* k : bytes)
        SetByte(info, k, 1);
    SetInt(info, "AutoHideTimer", 1000);
    const char* more[] = {"DeadLink", "Tooltip", "DeleteCheck", "FileNotCheck", "ShortcutFull"};
    for (const char* k : more)
        SetByte(info, k, 0);
    SetInt(info, "HotKey", 0);
    SetByte(info, "Style", 0);
    SetByte(info, "Size", 0);
    SetByte(info, "IconDraw", 1);
    SetInt(info, "Color", 0x808080);
    SetByte(info, "BackGround", 0);
    SetByte(info, "Grid", 0);
    SetByte(info, "GridType", 0);
    SetInt(info, "GridColor", 0);
    SetInt(info, "CursorColor", 0xFFFFFF);
    SetByte(info, "CursorGround", 0);
    SetByte(info, "CursorGradWay", 0);
    SetInt(info, "CursorGColorStart", 0x302010);
    SetInt(info, "CursorGColorEnd", 0xFFFFFF);
    SetByte(info, "GradWay", 0);
    SetInt(info, "GColorStart", 0x302010);
    SetInt(info, "GColorEnd", 0xFFFFFF);
    SetByte(info, "Version", 1);
    SetByte(info, "VersionMiner", 20);
    SetInt(info, "TabCount", kTabs);
    for (int t = 0; t < kTabs; ++t) {
        SetText(info, "Tab_" + std::to_string(t),
                "Tab " + std::to_string(t) + "\x83\x5C\x83\x74\x83\x67", 256);
        SetInt(info, "Tab_" + std::to_string(t) + "_Count", kEntriesPerTab);
    }
    SetInt(info, "MenuTotal", 10);
    for (int m = 0; m < 10; ++m) {
        std::string i = std::to_string(m);
        SetText(info, "MenuName_" + i, "Command " + i, 256);
        SetText(info, "MenuPath_" + i, m < 5 ? "" : "C:\\Windows\\notepad.exe", 1024);
        SetText(info, "MenuArg_" + i, "", 256);
        SetInt(info, "MenuID_" + i, m < 5 ? m + 1 : 96 + m);
    }
    for (int t = 0; t < kTabs; ++t) {
        std::string name = "Tab " + std::to_string(t) + "\x83\x5C\x83\x74\x83\x67";
        std::string section = "[Tab_" + name + "]";
        for (int n = 0; n < kEntriesPerTab; ++n) {
            std::string i = std::to_string(n);
            std::string folder = "C:\\Program Files\\Vendor " + std::to_string(n % 37) +
                                 "\\\x95\x5C\x8E\xA6 " + std::to_string(n % 11);
            std::string file = "application_" + i + ".exe";
            SetText(section, name + "_FilePath_" + i, folder + "\\" + file, 1024);
            SetText(section, name + "_FileName_" + i, file, 256);
            SetText(section, name + "_Arg_" + i, n % 5 == 0 ? "--option \"value\"" : "", 256);
            SetText(section, name + "_WorkPath_" + i, folder, 1024);
            SetInt(section, name + "_Attribute_" + i, 32);
            SetByte(section, name + "_IconType_" + i, 0);
            SetInt(section, name + "_Count_" + i, n * 7 % 100);
            SetText(section, name + "_Comment_" + i,
                    n % 10 == 0 ? "A comment\r\nwith two lines" : "", 1024);
        }
    }
}

void MakeSettingsFile() {
    SettingsPrepare();
    FillCatalogue();
    SettingsWrite(settingsPath.c_str(), "; \x90\xDD\x92\xE8");
    SettingsRelease();
    SettingsPrepare();
}

// 10,000 icon pairs (4096 and 2048 bytes); every second pair repeats the bits of the one before.
void FillArchive(CacheArchive& archive) {
    std::vector<unsigned char> colour(4096), mask(2048);
    uint32_t seed = 12345;
    for (int i = 0; i < kIconPairs; ++i) {
        if (i % 2 == 0) {
            for (unsigned char& b : colour)
                b = static_cast<unsigned char>((seed = seed * 1103515245u + 12345u) >> 24);
            for (unsigned char& b : mask)
                b = static_cast<unsigned char>((seed = seed * 1103515245u + 12345u) >> 24);
        }
        std::string folder = "Cache\\Tab " + std::to_string(i % kTabs) +
                             "\\C:\\Program Files\\Vendor " + std::to_string(i % 37);
        std::string name = "application_" + std::to_string(i) + ".exe";
        CacheAddFile(archive, folder.c_str(), name.c_str(), 4096, colour.data());
        CacheAddFile(archive, folder.c_str(), (name + "_Mask").c_str(), 2048, mask.data());
    }
}

// A realistic icon cache: 30 tabs of 300 entries, each entry's colour and mask bitmaps in the
// folder of its path below its tab, about 90 distinct icons, one missing file in thirty.
const int kRealTabs = 30;
const int kRealEntriesPerTab = 300;
const int kRealDistinctIcons = 90;
std::string realisticPath;
size_t realisticBytes = 0;
size_t realisticFiles = 0;

void FillRealisticArchive(CacheArchive& archive) {
    std::vector<std::vector<unsigned char>> colours(kRealDistinctIcons), masks(kRealDistinctIcons);
    uint32_t seed = 777;
    for (int k = 0; k < kRealDistinctIcons; ++k) {
        colours[k].resize(4096);
        masks[k].resize(2048);
        for (unsigned char& b : colours[k])
            b = static_cast<unsigned char>((seed = seed * 1103515245u + 12345u) >> 24);
        for (unsigned char& b : masks[k])
            b = static_cast<unsigned char>((seed = seed * 1103515245u + 12345u) >> 24) & 0x81;
    }
    realisticFiles = 0;
    for (int t = 0; t < kRealTabs; ++t) {
        for (int e = 0; e < kRealEntriesPerTab; ++e) {
            int n = t * kRealEntriesPerTab + e;
            if (n % 30 == 29) continue; // a missing file has no icon
            int icon = (n * 7) % kRealDistinctIcons;
            std::string folder = "Cache\\Tab " + std::to_string(t) +
                                 "\\C:\\Program Files\\Vendor " + std::to_string(n % 211) + "\\bin";
            std::string name = "program_" + std::to_string(n) + ".exe";
            CacheAddFile(archive, folder.c_str(), name.c_str(), 4096, colours[icon].data());
            CacheAddFile(archive, folder.c_str(), (name + "_Mask").c_str(), 2048,
                         masks[icon].data());
            realisticFiles += 2;
        }
    }
}

void MakeRealisticArchiveFile() {
    CacheArchive archive;
    FillRealisticArchive(archive);
    std::string bytes;
    CacheSaveBytes(archive, &bytes);
    SaveFileAtomically(realisticPath.c_str(), bytes.data(), bytes.size());
}

void MakeArchiveFile() {
    CacheArchive archive;
    FillArchive(archive);
    std::string bytes;
    CacheSaveBytes(archive, &bytes);
    SaveFileAtomically(archivePath.c_str(), bytes.data(), bytes.size());
}

size_t FileSize(const std::string& path) {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
    ReadWholeFile(path.c_str(), &bytes, &size, 0);
    return size;
}

// ---- settings measures

void SettingsFloor(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<char[]> bytes;
        size_t size;
        ReadWholeFile(settingsPath.c_str(), &bytes, &size, 1);
        benchmark::DoNotOptimize(bytes.get());
    }
}

void SettingsReadAndLookups(benchmark::State& state) {
    std::vector<char> field(1024);
    for (auto _ : state) {
        SettingsRead(settingsPath.c_str());
        int found = 0;
        for (const Lookup& l : lookups)
            found += SettingsGet(l.section.c_str(), l.key.c_str(), l.type, field.data(), l.field,
                                 0) >= 0;
        if (found != static_cast<int>(lookups.size())) state.SkipWithError("a key was not found");
        SettingsRelease();
        SettingsPrepare();
    }
}

int IgnoreKey(void*, const char*, const char*, const char*) {
    return 1;
}

void InihParse(benchmark::State& state) {
    for (auto _ : state) {
        if (ini_parse(settingsPath.c_str(), IgnoreKey, nullptr) < 0)
            state.SkipWithError("inih failed");
    }
}

void SettingsFillAndRender(benchmark::State& state) {
    std::string out;
    for (auto _ : state) {
        for (const Lookup& l : lookups) {
            // The values do not matter for the speed of storing; their sizes do.
            static const char text[1024] = {};
            int32_t n = 5;
            if (l.type == SettingsType::String)
                SettingsSet(l.section.c_str(), l.key.c_str(), l.type, text, 24);
            else
                SettingsSet(l.section.c_str(), l.key.c_str(), l.type, &n, 1);
        }
        SettingsDocument().Render(&out);
        benchmark::DoNotOptimize(out.data());
        SettingsRelease();
        SettingsPrepare();
    }
}

// ---- archive measures

void ArchiveFloor(benchmark::State& state) {
    for (auto _ : state) {
        std::unique_ptr<char[]> bytes;
        size_t size;
        ReadWholeFile(archivePath.c_str(), &bytes, &size, 0);
        benchmark::DoNotOptimize(bytes.get());
    }
}

void ArchiveValidate(benchmark::State& state) {
    for (auto _ : state)
        if (CacheValidate(0, archivePath.c_str()) != 1) state.SkipWithError("checksum mismatch");
}

void LoadArchiveFile(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        CacheLoad(0, path.c_str(), kCacheMagic);
        state.PauseTiming();
        CacheClear(0);
        state.ResumeTiming();
    }
}

void ArchiveLoad(benchmark::State& state) {
    LoadArchiveFile(state, archivePath);
}

void ArchiveSave(benchmark::State& state) {
    CacheArchive archive;
    FillArchive(archive);
    std::string out;
    for (auto _ : state) {
        CacheSaveBytes(archive, &out);
        benchmark::DoNotOptimize(out.data());
    }
}

// An archive of n empty folders side by side, at the top or in one parent folder, built byte by
// byte (making it through the tree would cost more than loading it).
std::string FlatFolderArchive(int n, const std::string& parent) {
    std::string bytes(kCacheHeaderSize, '\0');
    auto put32 = [&bytes](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(v >> (8 * i));
    };
    put32(0, kCacheMagic);
    put32(8, static_cast<uint32_t>(n) + 1);
    bytes.append(6, '\0'); // the root: empty path, no files
    for (int i = 0; i < n; ++i) {
        std::string path = parent + "Folder " + std::to_string(i);
        bytes.push_back(static_cast<char>(path.size()));
        bytes.push_back('\0');
        bytes += path;
        bytes.append(4, '\0');
    }
    return bytes;
}

// Loading many folders: the time per folder at 80,000 folders over that at 20,000 is about 1
// when loading is linear, about 4 when it is quadratic.
void LoadFolders(benchmark::State& state, const std::string& parent) {
    const std::string bytes = FlatFolderArchive(static_cast<int>(state.range(0)), parent);
    for (auto _ : state) {
        CacheArchive archive;
        CacheLoadBytes(archive, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
        benchmark::DoNotOptimize(archive.root.next);
    }
}
void ArchiveLoadFlatFolders(benchmark::State& state) {
    LoadFolders(state, "");
}
// The same in one parent, as a tab's folder holds the folders of its entries' paths.
void ArchiveLoadWideFolders(benchmark::State& state) {
    LoadFolders(state, "Cache\\Wide\\");
}

// The peer of validation: the simplest table loop over bytes already in memory.
void TableLoopOver(benchmark::State& state, const std::string& path) {
    std::unique_ptr<char[]> bytes;
    size_t size;
    ReadWholeFile(path.c_str(), &bytes, &size, 0);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes.get());
    for (auto _ : state) {
        uint32_t h = 0;
        for (size_t i = 0; i < size; ++i)
            h = (h >> 8) ^ kCacheTable[(h ^ p[i]) & 0xFF];
        benchmark::DoNotOptimize(h);
    }
}

void PlainTableLoop(benchmark::State& state) {
    TableLoopOver(state, archivePath);
}

// The realistic archive: the checksum of its file against the byte loop, and its save (after a
// load, as at the end of an ordinary run, and from separate copies, as after a first start)
// against the validation, with the memory the save held at once on top of the archive.
void RealisticValidate(benchmark::State& state) {
    for (auto _ : state)
        if (CacheValidate(0, realisticPath.c_str()) != 1) state.SkipWithError("checksum mismatch");
}

void RealisticTableLoop(benchmark::State& state) {
    TableLoopOver(state, realisticPath);
}

void RealisticLoad(benchmark::State& state) {
    LoadArchiveFile(state, realisticPath);
}

double savePeakMegabytes[2] = {0, 0};

void MeasureSave(benchmark::State& state, CacheArchive& archive, double* peak) {
    for (auto _ : state) {
        std::string out;
        size_t before = liveBytes;
        peakBytes = liveBytes;
        CacheSaveBytes(archive, &out);
        *peak = static_cast<double>(peakBytes - before) / 1e6;
        benchmark::DoNotOptimize(out.data());
    }
}

void RealisticSaveLoaded(benchmark::State& state) {
    CacheArchive archive;
    archive.magic = kCacheMagic;
    std::unique_ptr<char[]> bytes;
    size_t size;
    ReadWholeFile(realisticPath.c_str(), &bytes, &size, 0);
    CacheLoadBytes(archive, reinterpret_cast<const unsigned char*>(bytes.get()), size);
    MeasureSave(state, archive, &savePeakMegabytes[0]);
}

void RealisticSaveBuilt(benchmark::State& state) {
    CacheArchive archive;
    archive.magic = kCacheMagic;
    FillRealisticArchive(archive);
    MeasureSave(state, archive, &savePeakMegabytes[1]);
}

// Keeps the mean real time of each measure (and of each aggregate), in milliseconds.
class Collector : public benchmark::ConsoleReporter {
  public:
    Collector() : ConsoleReporter(OO_None) {} // plain text, no colour codes in logs
    std::map<std::string, double> millis;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (!r.error_occurred) millis[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

void PrintLine(const Collector& c, const char* label, const char* measure, size_t bytes,
               const char* floor, const char* peer, const char* peerName) {
    auto find = [&](const char* name) {
        auto it = c.millis.find(name);
        return it == c.millis.end() ? -1.0 : it->second;
    };
    double ms = find(measure);
    if (ms <= 0) {
        std::printf("%-32s not run or failed\n", label);
        return;
    }
    double mbs = static_cast<double>(bytes) / 1e6 / (ms / 1e3);
    std::printf("%-32s %9.1f MB/s  %8.2f ms", label, mbs, ms);
    if (floor && find(floor) > 0) std::printf("  floor x%.2f", ms / find(floor));
    if (peer && find(peer) > 0) std::printf("  %s x%.2f", peerName, ms / find(peer));
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 && argv[1][0] != '-' ? argv[1] : "/tmp";
    settingsPath = folder + "/bench_qdx.ini";
    archivePath = folder + "/bench_Cache.arc";
    realisticPath = folder + "/bench_Realistic.arc";

    // inih keeps whole lines, however long, on the heap.
    ini_use_stack = false;
    ini_allow_realloc = true;
    ini_initial_alloc = 4096;
    ini_max_line = 1 << 20;

    MakeSettingsFile();
    MakeArchiveFile();
    MakeRealisticArchiveFile();
    settingsBytes = FileSize(settingsPath);
    archiveBytes = FileSize(archivePath);
    realisticBytes = FileSize(realisticPath);

    benchmark::RegisterBenchmark("settings/floor_read", SettingsFloor)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("settings/read_and_lookups", SettingsReadAndLookups)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("settings/inih_parse", InihParse)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("settings/fill_and_render", SettingsFillAndRender)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("archive/floor_read", ArchiveFloor)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("archive/plain_table_loop", PlainTableLoop)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("archive/validate", ArchiveValidate)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("archive/load", ArchiveLoad)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("archive/save", ArchiveSave)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("realistic/table_loop", RealisticTableLoop)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("realistic/validate", RealisticValidate)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("realistic/load", RealisticLoad)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("realistic/save_loaded", RealisticSaveLoaded)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("realistic/save_built", RealisticSaveBuilt)
        ->Unit(benchmark::kMillisecond);
    // The per-folder ratio compares two measures: each is the median of five, so that a slow
    // spell of the machine during one of them does not decide it.
    for (auto* folders :
         {benchmark::RegisterBenchmark("archive/load_flat_folders", ArchiveLoadFlatFolders),
          benchmark::RegisterBenchmark("archive/load_wide_folders", ArchiveLoadWideFolders)}) {
        folders->Arg(20000)
            ->Arg(80000)
            ->Unit(benchmark::kMillisecond)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true);
    }

    // Everything after the data folder goes to Google Benchmark.
    std::vector<char*> benchArgs{argv[0]};
    for (int i = folder == "/tmp" ? 1 : 2; i < argc; ++i)
        benchArgs.push_back(argv[i]);
    int benchArgc = static_cast<int>(benchArgs.size());
    benchmark::Initialize(&benchArgc, benchArgs.data());
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    std::printf("\nsettings file %.1f MB (%d tabs x %d entries, %zu keys); archive %.1f MB (%d "
                "icon pairs, half repeated)\n",
                settingsBytes / 1e6, kTabs, kEntriesPerTab, lookups.size(), archiveBytes / 1e6,
                kIconPairs);
    PrintLine(collector, "settings read (floor)", "settings/floor_read", settingsBytes, nullptr,
              nullptr, "");
    PrintLine(collector, "settings read + all lookups", "settings/read_and_lookups", settingsBytes,
              "settings/floor_read", "settings/inih_parse", "inih");
    PrintLine(collector, "settings parse by inih (peer)", "settings/inih_parse", settingsBytes,
              "settings/floor_read", nullptr, "");
    PrintLine(collector, "settings fill + write buffer", "settings/fill_and_render", settingsBytes,
              "settings/floor_read", "settings/inih_parse", "inih");
    PrintLine(collector, "archive read (floor)", "archive/floor_read", archiveBytes, nullptr,
              nullptr, "");
    PrintLine(collector, "archive table loop (peer)", "archive/plain_table_loop", archiveBytes,
              "archive/floor_read", nullptr, "");
    PrintLine(collector, "archive validate", "archive/validate", archiveBytes, "archive/floor_read",
              "archive/plain_table_loop", "table loop");
    PrintLine(collector, "archive load", "archive/load", archiveBytes, "archive/floor_read",
              nullptr, "");
    PrintLine(collector, "archive save (to buffer)", "archive/save", archiveBytes,
              "archive/floor_read", nullptr, "");
    std::printf(
        "\nrealistic archive %.2f MB (%d tabs x %d entries, %zu files, %d distinct icons)\n",
        realisticBytes / 1e6, kRealTabs, kRealEntriesPerTab, realisticFiles, kRealDistinctIcons);
    PrintLine(collector, "realistic table loop (peer)", "realistic/table_loop", realisticBytes,
              nullptr, nullptr, "");
    PrintLine(collector, "realistic validate", "realistic/validate", realisticBytes, nullptr,
              "realistic/table_loop", "table loop");
    PrintLine(collector, "realistic load", "realistic/load", realisticBytes, nullptr,
              "realistic/validate", "validate");
    PrintLine(collector, "realistic save after load", "realistic/save_loaded", realisticBytes,
              nullptr, "realistic/validate", "validate");
    PrintLine(collector, "realistic save from copies", "realistic/save_built", realisticBytes,
              nullptr, "realistic/validate", "validate");
    std::printf("save peak memory beyond the archive: %.2f MB after load, %.2f MB from copies "
                "(output %.2f MB)\n",
                savePeakMegabytes[0], savePeakMegabytes[1], realisticBytes / 1e6);
    auto flat = [&collector](const std::string& name) {
        auto it = collector.millis.find(name + "/repeats:5_median");
        return it == collector.millis.end() ? -1.0 : it->second;
    };
    const char* const folderCases[][2] = {
        {"archive load 20k, 80k folders", "archive/load_flat_folders"},
        {"  the same in one parent", "archive/load_wide_folders"}};
    for (const auto& c : folderCases) {
        double small = flat(std::string(c[1]) + "/20000");
        double large = flat(std::string(c[1]) + "/80000");
        if (small > 0 && large > 0) {
            std::printf("%-32s %9.2f ms, %.2f ms  per folder x%.2f (1 linear, 4 quadratic)\n", c[0],
                        small, large, (large / 80000) / (small / 20000));
        }
    }
    std::remove(settingsPath.c_str());
    std::remove(archivePath.c_str());
    std::remove(realisticPath.c_str());
    return 0;
}
