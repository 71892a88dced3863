// Speed of the search dialog's matching: FindMatchingEntries over 30 tabs of 1,000 entries
// each (processor time: the machine is shared), against the floor of a plain case-insensitive
// substring scan of the same names held in one array. Prints the time per entry and the ratio to
// the floor for a few typical texts.
#include "catalogue/catalogue.h"
#include "catalogue/entry_search.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

const int kTabs = 30;
const int kEntriesPerTab = 1000;
const char* const kTexts[] = {"note", "setup", "x"};

std::vector<std::string> g_names;
std::map<std::string, double> g_perEntry;

// Names of the kind a launcher holds: words, digits, extensions, some two-byte ones.
std::string MakeName(std::mt19937& random) {
    static const char* const words[] = {
        "Notepad",          "setup", "Visual", "studio",           "GAME",     "report",
        "\x83\x81\x83\x82", "Tool",  "Viewer", "\x95\x5C\x8E\xA6", "Launcher", "readme"};
    static const char* const ext[] = {".exe", ".lnk", ".txt", ".pdf", ""};
    std::string name = words[random() % 12];
    name += words[random() % 12];
    name += std::to_string(random() % 1000);
    name += ext[random() % 5];
    return name;
}

void Fill() {
    SetCatalogueServices(CatalogueServices{});
    ClearCatalogue();
    std::mt19937 random(7);
    for (int t = 0; t < kTabs; ++t) {
        for (int k = 0; k < kEntriesPerTab; ++k) {
            Entry record{};
            std::string name = MakeName(random);
            std::snprintf(record.FilePath, sizeof record.FilePath, "C:\\Apps\\%s", name.c_str());
            record.Attribute = kMissingAttributes;
            AddEntry("", record, 0, t);
            g_names.push_back(name);
        }
    }
}

unsigned char Upper(unsigned char b) {
    return b >= 'a' && b <= 'z' ? static_cast<unsigned char>(b - 32) : b;
}

// The floor: a byte-wise case-insensitive substring test.
bool PlainContains(const std::string& name, const char* text) {
    size_t n = name.size();
    for (size_t i = 0; i < n; ++i) {
        size_t j = 0;
        while (text[j] && i + j < n &&
               Upper(static_cast<unsigned char>(name[i + j])) ==
                   Upper(static_cast<unsigned char>(text[j])))
            ++j;
        if (!text[j]) return true;
    }
    return false;
}

void Floor(benchmark::State& state, const char* text) {
    long hits = 0;
    for (auto _ : state) {
        for (const std::string& name : g_names)
            hits += PlainContains(name, text);
    }
    benchmark::DoNotOptimize(hits);
    state.counters["per_entry_ns"] = benchmark::Counter(
        static_cast<double>(g_names.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Search(benchmark::State& state, const char* text) {
    long hits = 0;
    for (auto _ : state)
        hits += FindMatchingEntries(text, kTabs, nullptr, nullptr);
    benchmark::DoNotOptimize(hits);
    state.counters["per_entry_ns"] = benchmark::Counter(
        static_cast<double>(g_names.size()),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Records the time per entry of each run for the ratio lines.
class PerEntryReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            g_perEntry[run.benchmark_name()] = run.GetAdjustedCPUTime() / (kTabs * kEntriesPerTab);
    }
};

} // namespace

int main(int argc, char** argv) {
    Fill();
    for (const char* text : kTexts) {
        benchmark::RegisterBenchmark((std::string("search_floor/") + text).c_str(), Floor, text);
        benchmark::RegisterBenchmark((std::string("search/") + text).c_str(), Search, text);
    }
    benchmark::Initialize(&argc, argv);
    PerEntryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nsearch over %d tabs x %d entries, time per entry (goal: within 3x of the "
                "floor)\n",
                kTabs, kEntriesPerTab);
    for (const char* text : kTexts) {
        double floor = g_perEntry[std::string("search_floor/") + text];
        double search = g_perEntry[std::string("search/") + text];
        std::printf("  \"%s\": %.1f ns per entry, floor %.1f ns, ratio %.2f\n", text, search, floor,
                    floor > 0 ? search / floor : 0.0);
    }
    FreeCatalogue();
    return 0;
}
