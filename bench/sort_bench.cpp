// Speed of sorting one tab: SortTab over the linked ring against the floor of the same
// comparisons on a plain array of entry pointers (std::sort), for 1,000, 10,000 and 100,000
// entries in random and adversarial orders and each sort mode. Prints the time per entry, the
// ratio to the floor and the growth per tenfold count (n log n gives about 13, n^2 gives 100).
#include "catalogue/catalogue.h"
#include "catalogue/sorting.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

const int kCounts[] = {1000, 10000, 100000};
const char* const kOrders[] = {"random", "sorted", "reversed", "equal", "organpipe"};
const int kModes[] = {SortByName, SortByCount, SortByCountThenName};

// Comparisons and lookup steps per entry of each list sort, by benchmark name.
std::map<std::string, double> perEntryComparisons, perEntrySteps;

// Tab t holds kCounts[t] entries; base[t] lists them in their starting order.
std::vector<Entry*> base[3];

// Gives the entries of a tab the names, counts and attributes of an order. The keys rise
// along the list for "sorted", in every mode: names by their digits, counts falling.
void Arrange(int t, const std::string& order) {
    std::vector<Entry*>& list = base[t];
    int n = static_cast<int>(list.size());
    std::mt19937 random(n);
    for (int i = 0; i < n; ++i) {
        Entry* e = list[i];
        int key = i;
        if (order == "reversed") key = n - i;
        if (order == "equal") key = 7;
        if (order == "organpipe") key = i < n / 2 ? i : n - i;
        e->Attribute = 0x20;
        if (order == "random") {
            for (int c = 0; c < 8; ++c)
                e->FileName[c] = "aBcDeFgHxyz\x82\x88_.0"[random() % 16];
            e->FileName[8] = '\0';
            e->Count = static_cast<int32_t>(random() % 1000);
            if (random() % 10 == 0) e->Attribute = kFolderAttribute;
        } else {
            std::snprintf(e->FileName, sizeof e->FileName, "%08d", key);
            e->Count = -key;
        }
    }
}

// Links the tab's entries back into their starting order, as appending them would.
void Relink(int t) {
    std::vector<Entry*>& list = base[t];
    int n = static_cast<int>(list.size());
    for (int i = 0; i < n; ++i) {
        list[i]->index = i;
        list[i]->next = list[(i + 1) % n];
        list[i]->prev = list[(i + n - 1) % n];
    }
    Tab* tab = GetTab(t);
    tab->head = list[0];
    tab->middle = list[(n - 1) >> 1];
    tab->lastFound = nullptr;
}

void SortList(benchmark::State& state, int t, std::string order, int mode, std::string name) {
    Arrange(t, order);
    int n = static_cast<int>(base[t].size());
    long comparisons = 0, steps = 0, runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Relink(t);
        ResetSortComparisons();
        ResetLookupSteps();
        state.ResumeTiming();
        SortTab(0, n - 1, t, mode);
        comparisons += SortComparisons();
        steps += LookupSteps();
        ++runs;
    }
    perEntryComparisons[name] = static_cast<double>(comparisons) / runs / n;
    perEntrySteps[name] = static_cast<double>(steps) / runs / n;
}

void SortArray(benchmark::State& state, int t, std::string order, int mode) {
    Arrange(t, order);
    std::vector<Entry*> work;
    for (auto _ : state) {
        state.PauseTiming();
        work = base[t];
        state.ResumeTiming();
        std::sort(work.begin(), work.end(), [mode](const Entry* a, const Entry* b) {
            return CompareEntries(a, b, mode) < 0;
        });
        benchmark::DoNotOptimize(work.data());
    }
}

std::string Name(const char* kind, const char* order, int mode, int n) {
    return std::string(kind) + "/" + order + "/mode" + std::to_string(mode) + "/" +
           std::to_string(n);
}

class Collector : public benchmark::ConsoleReporter {
  public:
    Collector() : ConsoleReporter(OO_None) {}
    std::map<std::string, double> ms;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (!r.error_occurred) ms[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    SetCatalogueServices(CatalogueServices{});
    ClearCatalogue();
    Entry record{};
    for (int t = 0; t < 3; ++t) {
        for (int i = 0; i < kCounts[t]; ++i)
            AddEntry("", record, 0, t);
        for (int k = 0; k < kCounts[t]; ++k)
            base[t].push_back(FindEntry(t, k));
    }
    for (const char* order : kOrders) {
        for (int mode : kModes) {
            for (int t = 0; t < 3; ++t) {
                benchmark::RegisterBenchmark(Name("list", order, mode, kCounts[t]).c_str(),
                                             SortList, t, std::string(order), mode,
                                             Name("list", order, mode, kCounts[t]))
                    ->Unit(benchmark::kMillisecond);
                benchmark::RegisterBenchmark(Name("array", order, mode, kCounts[t]).c_str(),
                                             SortArray, t, std::string(order), mode)
                    ->Unit(benchmark::kMillisecond);
            }
        }
    }
    benchmark::Initialize(&argc, argv);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    std::printf("\nSortTab per entry: time, ratio to std::sort over an array of the same entries, "
                "comparisons / log2(n) and lookup steps; then the growth of the time per tenfold "
                "count (n log n: about 13 and 170, n^2: 100 and 10,000)\n");
    std::printf("%-10s %-4s", "order", "mode");
    for (int n : kCounts)
        std::printf(" | %-37d", n);
    std::printf(" | %6s %7s\n", "x10", "x100");
    for (const char* order : kOrders) {
        for (int mode : kModes) {
            std::printf("%-10s %-4d", order, mode);
            double total[3] = {0, 0, 0};
            for (int t = 0; t < 3; ++t) {
                std::string list = Name("list", order, mode, kCounts[t]);
                double listMs = collector.ms[list];
                double arrayMs = collector.ms[Name("array", order, mode, kCounts[t])];
                total[t] = listMs;
                std::printf(" | %7.0f ns x%-5.1f cmp/lg %4.2f steps %4.1f",
                            listMs * 1e6 / kCounts[t], arrayMs > 0 ? listMs / arrayMs : 0,
                            perEntryComparisons[list] / std::log2(kCounts[t]), perEntrySteps[list]);
            }
            std::printf(" | %6.1f %7.1f\n", total[0] > 0 ? total[1] / total[0] : 0,
                        total[0] > 0 ? total[2] / total[0] : 0);
        }
    }
    FreeCatalogue();
    return 0;
}
