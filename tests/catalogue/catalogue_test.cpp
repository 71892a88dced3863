#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Every test starts with an empty catalogue and no platform services.
class CatalogueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SetCatalogueServices(CatalogueServices{});
        ClearCatalogue();
    }
    void TearDown() override { FreeCatalogue(); }

    static Entry Record(const std::string& path, uint32_t attribute = 0x20) {
        Entry r{};
        std::snprintf(r.FilePath, sizeof r.FilePath, "%s", path.c_str());
        r.Attribute = attribute;
        return r;
    }
    static void AddNumbered(int t, int n) {
        for (int i = 0; i < n; ++i) {
            AddEntry("Cache\\T", Record("C:\\f" + std::to_string(i) + ".txt"), 0, t);
        }
    }
    // Follows next from head and checks indices 0..n-1 and the ring's back link.
    static void ExpectDenseRing(int t, int n) {
        Tab* tab = GetTab(t);
        ASSERT_EQ(n, EntryCount(t));
        if (n == 0) {
            EXPECT_EQ(nullptr, tab->head);
            return;
        }
        Entry* p = tab->head;
        for (int i = 0; i < n; ++i) {
            ASSERT_NE(nullptr, p);
            EXPECT_EQ(i, p->index);
            if (n == 1) break;
            p = p->next;
        }
        if (n > 1) {
            EXPECT_EQ(tab->head, p);
            EXPECT_EQ(n - 1, tab->head->prev->index);
        }
    }
};

TEST_F(CatalogueTest, CountsOfEmptyAndBadTabs) {
    EXPECT_EQ(0, EntryCount(0));
    EXPECT_EQ(0, EntryCount(29));
    EXPECT_EQ(-1, EntryCount(30));
    EXPECT_EQ(-1, EntryCount(-1));
    EXPECT_EQ(-1, AddEntry("", Record("C:\\a"), 0, 30));
    EXPECT_EQ(nullptr, FindEntry(30, 0));
    EXPECT_EQ(nullptr, FindEntry(0, 0));
    DeleteEntry(-5, 0);
    SwapTabs(0, 30); // nothing happens
    RemoveTab(31);
}

TEST_F(CatalogueTest, AppendingMovesTheMiddleHint) {
    AddNumbered(0, 2);
    EXPECT_EQ(nullptr, GetTab(0)->middle);
    AddNumbered(0, 1);
    ExpectDenseRing(0, 3);
    ASSERT_NE(nullptr, GetTab(0)->middle);
    EXPECT_EQ(1, GetTab(0)->middle->index);
    AddNumbered(0, 1);
    EXPECT_EQ(1, GetTab(0)->middle->index);
    AddNumbered(0, 1);
    EXPECT_EQ(2, GetTab(0)->middle->index);
    AddNumbered(0, 100);
    EXPECT_EQ(104 >> 1, GetTab(0)->middle->index);
    ExpectDenseRing(0, 105);
}

TEST_F(CatalogueTest, OneEntryTabsInBothForms) {
    // Added to an empty tab: no links at all.
    AddNumbered(0, 1);
    EXPECT_EQ(nullptr, GetTab(0)->head->next);
    EXPECT_EQ(1, EntryCount(0));
    ASSERT_NE(nullptr, FindEntry(0, 0));
    EXPECT_EQ(nullptr, FindEntry(0, 1));
    DeleteEntry(0, 0);
    EXPECT_EQ(nullptr, GetTab(0)->head);
    EXPECT_EQ(nullptr, GetTab(0)->middle);
    EXPECT_EQ(nullptr, GetTab(0)->lastFound);

    // Left by a deletion: linked to itself. Both forms accept further appends.
    AddNumbered(1, 2);
    DeleteEntry(1, 0);
    Entry* only = GetTab(1)->head;
    ASSERT_NE(nullptr, only);
    EXPECT_EQ(only, only->next);
    EXPECT_EQ(only, only->prev);
    EXPECT_EQ(1, EntryCount(1));
    EXPECT_STREQ("f1.txt", only->FileName);
    AddNumbered(1, 2);
    ExpectDenseRing(1, 3);
    DeleteEntry(1, 0);
    DeleteEntry(1, 0);
    DeleteEntry(1, 0);
    EXPECT_EQ(nullptr, GetTab(1)->head);
    EXPECT_EQ(nullptr, GetTab(1)->middle);
    EXPECT_EQ(nullptr, GetTab(1)->lastFound);
}

TEST_F(CatalogueTest, DeletingRenumbersTheRest) {
    AddNumbered(0, 5);
    DeleteEntry(0, 2);
    ExpectDenseRing(0, 4);
    EXPECT_STREQ("f3.txt", FindEntry(0, 2)->FileName);
    EXPECT_STREQ("f4.txt", FindEntry(0, 3)->FileName);
    EXPECT_EQ(nullptr, FindEntry(0, 4));
    DeleteEntry(0, 7); // no such entry: nothing changes
    ExpectDenseRing(0, 4);
}

TEST_F(CatalogueTest, HintsNeverNameFreedEntriesUnderRandomDeletes) {
    // A fixed pseudo-random sequence of appends, lookups and deletes; after each step the
    // ring is dense and both hints are entries of the tab (AddressSanitizer catches a
    // stale hint the moment a lookup follows it).
    unsigned seed = 12345;
    auto next = [&seed](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
    };
    std::vector<std::string> model;
    for (int step = 0; step < 3000; ++step) {
        int op = next(10);
        if (op < 4 || model.empty()) {
            std::string name = "e" + std::to_string(step);
            AddEntry("", Record("C:\\x\\" + name), 0, 2);
            model.push_back(name);
        } else if (op < 7) {
            int k = next(static_cast<int>(model.size()));
            DeleteEntry(2, k);
            model.erase(model.begin() + k);
        } else {
            int k = next(static_cast<int>(model.size()) + 2);
            Entry* e = FindEntry(2, k);
            if (k < static_cast<int>(model.size())) {
                ASSERT_NE(nullptr, e);
                EXPECT_EQ(model[k], e->FileName);
            } else {
                EXPECT_EQ(nullptr, e);
            }
        }
        ASSERT_EQ(static_cast<int>(model.size()), EntryCount(2));
    }
    ExpectDenseRing(2, static_cast<int>(model.size()));
}

TEST_F(CatalogueTest, SequentialLookupsCostConstantSteps) {
    const int n = 10000;
    AddNumbered(0, n);
    // Forward, as painting walks the cells, and backward.
    ResetLookupSteps();
    for (int k = 0; k < n; ++k)
        ASSERT_EQ(k, FindEntry(0, k)->index);
    EXPECT_LE(LookupSteps(), 3L * n);
    ResetLookupSteps();
    for (int k = n - 1; k >= 0; --k)
        ASSERT_EQ(k, FindEntry(0, k)->index);
    EXPECT_LE(LookupSteps(), 3L * n);
    // The worst single lookup from a cold start walks at most a quarter of the ring.
    GetTab(0)->lastFound = nullptr;
    ResetLookupSteps();
    FindEntry(0, n / 4);
    EXPECT_LE(LookupSteps(), n / 4 + 1);
}

TEST_F(CatalogueTest, FillEntryStripsQuotesAndDerivesTheName) {
    Entry e{};
    FillEntry(&e, "\"C:\\Program Files\\app.exe\"", "-x", "C:\\w", "note", 7);
    EXPECT_STREQ("C:\\Program Files\\app.exe", e.FilePath);
    EXPECT_STREQ("app.exe", e.FileName);
    EXPECT_EQ(7, e.Count);

    struct Case {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\dir\\", "dir\\"}, // a final separator does not count
        {"D:\\", "D:\\"},
        {"C:/a/b.txt", "b.txt"},
        {"plain", "plain"},
        {"C:\\\x95\x5C.txt", "\x95\x5C.txt"}, // trail byte 5C is part of the character
        {"C:\\\xB1\\x", "x"},                 // half-width katakana is one byte
        {"C:\\a\\\x95", "\x95"},              // dangling lead byte at the end
        {"\"\"", ""},
    };
    for (const Case& c : cases) {
        FillEntry(&e, c.path, "", "", "", 0);
        EXPECT_STREQ(c.name, e.FileName) << c.path;
    }
}

TEST_F(CatalogueTest, FillEntryCutsOverlongTexts) {
    std::string longText(5000, 'x');
    std::string longPath = "C:\\" + std::string(300, 'n');
    Entry e{};
    FillEntry(&e, longPath.c_str(), longText.c_str(), longText.c_str(), longText.c_str(), 0);
    EXPECT_EQ(longPath.size(), std::strlen(e.FilePath));
    EXPECT_EQ(255u, std::strlen(e.FileName));
    EXPECT_EQ(255u, std::strlen(e.Arg));
    EXPECT_EQ(1023u, std::strlen(e.WorkPath));
    EXPECT_EQ(1023u, std::strlen(e.Comment));
    FillEntry(&e, longText.c_str(), "", "", "", 0);
    EXPECT_EQ(1023u, std::strlen(e.FilePath));
}

TEST_F(CatalogueTest, SnapshotCountsTheLaunchAfterTheCopy) {
    Entry r = Record("C:\\a.exe");
    r.Count = 4;
    AddEntry("", r, 1, 0);
    EntrySnapshot s{};
    ASSERT_EQ(1, GetEntrySnapshot(&s, 0, 0, 0, 1));
    EXPECT_EQ(4, s.Count);
    EXPECT_EQ(5, FindEntry(0, 0)->Count);
    EXPECT_EQ(1, s.IconType);
    EXPECT_EQ(nullptr, s.icon);
    EXPECT_EQ(0, SnapshotIndex(s));
    EXPECT_EQ(0, GetEntrySnapshot(&s, 0, 1, 0, 1));
}

TEST_F(CatalogueTest, MissingFileGetsNoIconAndOthersAreBound) {
    static int bound;
    bound = 0;
    CatalogueServices services{};
    services.bindEntryIcon = [](const char*, Entry*) { ++bound; };
    SetCatalogueServices(services);
    AddEntry("", Record("C:\\gone", kMissingAttributes), 0, 0);
    AddEntry("", Record("C:\\here"), 0, 0);
    EXPECT_EQ(1, FindEntry(0, 0)->noIcon);
    EXPECT_EQ(0, FindEntry(0, 1)->noIcon);
    EXPECT_EQ(1, bound);
}

TEST_F(CatalogueTest, RemoveTabShiftsSlotsIncludingEmptyOnes) {
    AddNumbered(0, 2);
    // tab 1 empty
    AddNumbered(2, 3);
    Entry* tab2Head = GetTab(2)->head;
    RemoveTab(0);
    EXPECT_EQ(0, EntryCount(0));
    EXPECT_EQ(3, EntryCount(1));
    EXPECT_EQ(tab2Head, GetTab(1)->head);
    EXPECT_EQ(0, EntryCount(2));
    EXPECT_EQ(nullptr, GetTab(29)->head);
}

TEST_F(CatalogueTest, SwapTabsExchangesListsAndHints) {
    AddNumbered(3, 4);
    FindEntry(3, 2);
    Tab before = *GetTab(3);
    SwapTabs(3, 4);
    EXPECT_EQ(0, EntryCount(3));
    EXPECT_EQ(4, EntryCount(4));
    EXPECT_EQ(before.lastFound, GetTab(4)->lastFound);
    EXPECT_EQ(before.middle, GetTab(4)->middle);
}

TEST_F(CatalogueTest, ReplaceAndRefreshKeepPositionAndLinks) {
    AddNumbered(0, 3);
    Entry r = Record("C:\\new\\name.exe", 0x10);
    std::snprintf(r.FileName, sizeof r.FileName, "shown");
    r.Count = 9;
    ASSERT_EQ(1, ReplaceEntry(0, 1, r));
    Entry* e = FindEntry(0, 1);
    EXPECT_STREQ("shown", e->FileName);
    EXPECT_EQ(9, e->Count);
    EXPECT_EQ(0x10u, e->Attribute);
    EXPECT_EQ(0, ReplaceEntry(0, 3, r));

    // Refresh derives the name again and asks for the attributes; a missing file is marked.
    CatalogueServices services{};
    services.pathAttributes = [](const char*) { return kMissingAttributes; };
    services.startFolderOf = [](char* out, size_t size, const char*) {
        std::snprintf(out, size, "C:\\new");
        return true;
    };
    SetCatalogueServices(services);
    ASSERT_EQ(1, RefreshEntry(0, 1, 1, 0));
    EXPECT_STREQ("name.exe", e->FileName);
    EXPECT_STREQ("C:\\new", e->WorkPath);
    EXPECT_EQ(0u, e->Attribute);
    EXPECT_EQ(1, e->noIcon);
    EXPECT_EQ(0, RefreshEntry(0, 5, 0, 0));
}

TEST_F(CatalogueTest, ShortcutFillWithoutResolverReportsNotAShortcut) {
    Entry e{};
    EXPECT_EQ(0, FillEntryFromShortcut(&e, "C:\\x.lnk", "", 0));
    CatalogueServices services{};
    services.resolveShortcut = [](const char*, ShortcutTarget* out) {
        std::snprintf(out->target, sizeof out->target, "C:\\Tools\\app.exe");
        std::snprintf(out->arguments, sizeof out->arguments, "-v");
        return true;
    };
    services.pathAttributes = [](const char*) { return 0x20u; };
    SetCatalogueServices(services);
    ASSERT_EQ(1, FillEntryFromShortcut(&e, "C:\\x.lnk", "c", 3));
    EXPECT_STREQ("C:\\Tools\\app.exe", e.FilePath);
    EXPECT_STREQ("C:\\Tools", e.WorkPath);
    EXPECT_STREQ("-v", e.Arg);
    EXPECT_EQ(0x20u, e.Attribute);
}

} // namespace
