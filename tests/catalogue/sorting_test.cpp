#include "catalogue/sorting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

const uint32_t kFile = 0x20;

Entry Named(const std::string& name, int32_t count = 0, uint32_t attribute = kFile) {
    Entry e{};
    std::snprintf(e.FilePath, sizeof e.FilePath, "C:\\d\\%s", name.c_str());
    std::snprintf(e.FileName, sizeof e.FileName, "%s", name.c_str());
    e.Count = count;
    e.Attribute = attribute;
    return e;
}

class SortingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetCatalogueServices(CatalogueServices{});
        ClearCatalogue();
    }
    void TearDown() override { FreeCatalogue(); }

    static void Add(const Entry& e, int t = 0) { AddEntry("Cache\\T", e, 0, t); }
    static std::vector<std::string> Names(int t = 0) {
        std::vector<std::string> names;
        for (int k = 0; k < EntryCount(t); ++k)
            names.push_back(FindEntry(t, k)->FileName);
        return names;
    }
    // The ring from head: dense indices, both directions consistent, every pair in order,
    // and the entries the same set as before.
    static void ExpectSortedRing(int t, int mode, const std::set<const Entry*>& before) {
        Tab* tab = GetTab(t);
        int n = EntryCount(t);
        std::set<const Entry*> after;
        Entry* p = tab->head;
        if (n < 2) {
            EXPECT_EQ(before.size(), static_cast<size_t>(n));
            return;
        }
        for (int k = 0; k < n; ++k, p = p->next) {
            ASSERT_EQ(k, p->index);
            ASSERT_EQ(p, p->next->prev);
            after.insert(p);
            if (k + 1 < n) {
                ASSERT_LE(CompareEntries(p, p->next, mode), 0) << "at " << k;
            }
        }
        EXPECT_EQ(tab->head, p);
        EXPECT_EQ(before, after);
    }
    static std::set<const Entry*> Members(int t) {
        std::set<const Entry*> members;
        for (int k = 0; k < EntryCount(t); ++k)
            members.insert(FindEntry(t, k));
        return members;
    }
};

TEST_F(SortingTest, CompareEntriesByMode) {
    const uint32_t folder = kFolderAttribute;
    const struct {
        Entry a, b;
        int mode, sign;
    } rows[] = {
        {Named("B"), Named("a"), SortByName, -1},                       // bytes, not letters
        {Named("z", 0, folder), Named("A"), SortByName, -1},            // folders first
        {Named("A"), Named("z", 0, kMissingAttributes), SortByName, 1}, // missing counts as folder
        {Named("a"), Named("ab"), SortByName, -1},
        {Named("x"), Named("x"), SortByName, 0},
        {Named("\x88\x9f"), Named("z"), SortByName, 1},        // lead byte above 0x7F
        {Named("\x82\xa0"), Named("\x82\x9f"), SortByName, 1}, // trail bytes decide
        {Named("a", 10), Named("b", 3), SortByCount, -1},
        {Named("a", 3, folder), Named("b", 3), SortByCount, 0}, // equal counts, folder or not
        {Named("a", -1), Named("b", 0), SortByCount, 1},
        {Named("x", 4), Named("y", 4, folder), SortByCountThenName, 1},
        {Named("x", 5), Named("y", 4, folder), SortByCountThenName, -1},
        {Named("a", 9), Named("b", 1), SortNone, 0},
        {Named("a", 9), Named("b", 1), 7, 0},
    };
    for (const auto& row : rows) {
        int r = CompareEntries(&row.a, &row.b, row.mode);
        EXPECT_EQ(row.sign, (r > 0) - (r < 0))
            << row.a.FileName << " / " << row.b.FileName << " mode " << row.mode;
    }
}

TEST_F(SortingTest, EachModeGivesItsOrder) {
    const struct {
        int mode;
        std::vector<Entry> entries;
        std::vector<std::string> sorted;
    } rows[] = {
        {SortByName,
         {Named("b.txt"), Named("A.txt"), Named("a.txt"), Named("z", 0, kFolderAttribute)},
         {"z", "A.txt", "a.txt", "b.txt"}},
        {SortByCount, {Named("c3", 3), Named("c10", 10), Named("c0", 0)}, {"c10", "c3", "c0"}},
        {SortByCount,
         {Named("c3", 3), Named("c10", 10), Named("c0", 0), Named("f5", 5, kFolderAttribute)},
         {"c10", "f5", "c3", "c0"}},
        {SortByCountThenName, {Named("x", 4), Named("y", 4, kFolderAttribute)}, {"y", "x"}},
        {SortNone, {Named("b"), Named("a")}, {"b", "a"}},
    };
    for (const auto& row : rows) {
        FreeCatalogue();
        ClearCatalogue();
        for (const Entry& e : row.entries)
            Add(e);
        SortTab(0, EntryCount(0) - 1, 0, row.mode);
        EXPECT_EQ(row.sorted, Names()) << "mode " << row.mode;
    }
}

TEST_F(SortingTest, OneEntryNoTabAndRangesPastTheEndChangeNothing) {
    Add(Named("b"));
    SortTab(0, 0, 0, SortByName);
    SortTab(0, EntryCount(5) - 1, 5, SortByName); // empty tab: -1
    SortTab(0, 1, 30, SortByName);
    EXPECT_EQ(nullptr, GetTab(0)->head->next); // still the lone entry without links
    Add(Named("a"));
    SortTab(0, 5, 0, SortByName); // the last index is missing: nothing happens
    EXPECT_EQ((std::vector<std::string>{"b", "a"}), Names());
    SortTab(0, 1, 0, SortByName);
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), Names());
}

TEST_F(SortingTest, SwapKeepsHeadAndHintsOnTheirPositions) {
    // Pairs: neighbours, ring of two, head with last, far apart.
    const struct {
        int count, x, y;
    } rows[] = {{2, 0, 1}, {3, 0, 2}, {5, 1, 2}, {5, 0, 4}, {6, 1, 4}, {6, 4, 1}, {4, 0, 2}};
    for (const auto& row : rows) {
        FreeCatalogue();
        ClearCatalogue();
        for (int i = 0; i < row.count; ++i)
            Add(Named(std::string(1, static_cast<char>('a' + i))));
        Tab* tab = GetTab(0);
        int middle = tab->middle ? tab->middle->index : -1;
        Entry* x = FindEntry(0, row.x);
        Entry* y = FindEntry(0, row.y);
        FindEntry(0, row.y); // lastFound on y's place
        SwapEntries(x, y, 0);
        EXPECT_EQ(row.y, x->index);
        EXPECT_EQ(row.x, y->index);
        if (middle >= 0) {
            EXPECT_EQ(middle, tab->middle->index);
        }
        EXPECT_EQ(row.y, tab->lastFound->index);
        EXPECT_EQ(0, tab->head->index);
        std::vector<std::string> expected;
        for (int i = 0; i < row.count; ++i)
            expected.push_back(std::string(1, static_cast<char>('a' + i)));
        std::swap(expected[row.x], expected[row.y]);
        EXPECT_EQ(expected, Names()) << row.count << ": " << row.x << "<->" << row.y;
        ExpectSortedRing(0, SortNone, Members(0));
    }
}

TEST_F(SortingTest, RandomTabsSortIntoPermutationsInOrder) {
    std::mt19937 random(12345);
    const char alphabet[] = {'a', 'B', 'b', '\x82', '\xa0', '\x9f', '.', 'z'};
    for (int round = 0; round < 300; ++round) {
        FreeCatalogue();
        ClearCatalogue();
        int n = static_cast<int>(random() % 120);
        for (int i = 0; i < n; ++i) {
            std::string name;
            for (int c = static_cast<int>(random() % 4); c >= 0; --c)
                name += alphabet[random() % sizeof alphabet];
            uint32_t attribute = random() % 5 == 0   ? kFolderAttribute
                                 : random() % 9 == 0 ? kMissingAttributes
                                                     : kFile;
            Add(Named(name, static_cast<int32_t>(random() % 6), attribute));
        }
        if (n > 0) FindEntry(0, static_cast<int>(random() % n)); // a hint anywhere
        int mode = 1 + static_cast<int>(random() % 3);
        std::set<const Entry*> before = Members(0);
        int middle = GetTab(0)->middle ? GetTab(0)->middle->index : -1;
        SortTab(0, n - 1, 0, mode);
        ExpectSortedRing(0, mode, before);
        if (middle >= 0) {
            EXPECT_EQ(middle, GetTab(0)->middle->index);
        }
        if (GetTab(0)->lastFound) {
            EXPECT_EQ(1u, before.count(GetTab(0)->lastFound));
        }
        if (HasFailure()) break;
    }
}

// Deep inputs: 100,000 entries in orders that defeat a plain middle pivot or would pile up
// pending ranges. The lookups stay near n log n (a quadratic sort would walk billions).
TEST_F(SortingTest, AdversarialOrdersOfAHundredThousandEntries) {
    const int n = 100000;
    const char* orders[] = {"sorted", "reversed", "equal", "organ pipe"};
    for (const char* order : orders) {
        FreeCatalogue();
        ClearCatalogue();
        for (int i = 0; i < n; ++i) {
            int key = i;
            if (std::strcmp(order, "reversed") == 0) key = n - i;
            if (std::strcmp(order, "equal") == 0) key = 7;
            if (std::strcmp(order, "organ pipe") == 0) key = i < n / 2 ? i : n - i;
            char name[16];
            std::snprintf(name, sizeof name, "%08d", key);
            Add(Named(name, key));
        }
        std::set<const Entry*> before = Members(0);
        for (int mode : {SortByName, SortByCount}) {
            ResetLookupSteps();
            SortTab(0, n - 1, 0, mode);
            ExpectSortedRing(0, mode, before);
            EXPECT_LT(LookupSteps(), 40L * n) << order << " mode " << mode;
        }
    }
}

} // namespace
