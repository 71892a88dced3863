#include "catalogue/catalogue.h"
#include "catalogue/catalogue_services.h"
#include "catalogue/tab_names.h"
#include "commands/path_utils.h"
#include "commands/scratch_folder.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "storage/icon_loading.h"
#include "support/main_window_fixture.h"

#include <string>

namespace {

class IconLoadingTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        CacheClear(CacheArchiveAuto());
        ClearCatalogue();
        InstallCatalogueServices();
        AppendTab("First");
        AppendTab("Second");
    }
    // A folder entry: folders capture icons of their own.
    Entry* AddFolder(const char* leaf, int t) {
        std::string path = scratch_.File(leaf);
        CreateDirectoryA(path.c_str(), nullptr);
        Entry record;
        ZeroMemory(&record, sizeof record);
        lstrcpynA(record.FilePath, path.c_str(), sizeof record.FilePath);
        record.Attribute = GetPathAttributes(path.c_str());
        char name[kTabNameSize], tabFolder[kIconFolderSize], folder[kIconFolderSize];
        GetTabName(t, name);
        TabCacheFolder(tabFolder, name);
        IconCacheFolder(folder, tabFolder, path.c_str());
        return FindEntry(t, AddEntry(folder, record, 0, t));
    }
    ScratchFolder scratch_;
};

// Start-up marks every entry; the shown tab's cached icons come first, then the rest by the
// timer, the current tab before the others, each captured once.
TEST_F(IconLoadingTest, MarkedEntriesAreBoundCachedFirstThenByTheTimer) {
    Entry* cached = AddFolder("cached", 0); // bound at once: its icon goes into the archive
    ASSERT_NE(nullptr, cached->colourBits);
    FreeEntryIconBits(cached);
    DeleteEntry(0, 0);

    DeferIconBinding(true);
    Entry* again = AddFolder("cached", 0);
    Entry* current = AddFolder("current", 0);
    Entry* other = AddFolder("other", 1);
    DeferIconBinding(false);
    EXPECT_EQ(3, PendingIconCount());
    EXPECT_EQ(nullptr, again->colourBits);

    EXPECT_EQ(1, BindCachedTabIcons(0));
    EXPECT_NE(nullptr, again->colourBits);
    EXPECT_EQ(1, current->iconPending);

    EXPECT_EQ(1, BindPendingIcons(0)); // the current tab's first
    EXPECT_NE(nullptr, current->colourBits);
    EXPECT_EQ(1, other->iconPending);

    StartIconLoading(window_);
    for (int i = 0; i < 200 && PendingIconCount() > 0; ++i) {
        Sleep(10);
        PumpMessages();
    }
    EXPECT_EQ(0, PendingIconCount());
    EXPECT_NE(nullptr, other->colourBits);
    EXPECT_EQ(0, other->noIcon);
}

} // namespace
