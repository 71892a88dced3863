#include "catalogue/catalogue.h"
#include "app/catalogue_services.h"
#include "base/path_utils.h"
#include "catalogue/tab_names.h"
#include "commands/scratch_folder.h"
#include "storage/cache_archive.h"
#include "storage/entry_icons.h"
#include "storage/icon_loading.h"
#include "storage/settings_catalogue.h"
#include "storage/settings_file.h"
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

// Start-up marks every entry; the icons of the cells on screen come first, captured where the
// archive lacks them, then the rest by the timer, the current tab before the others.
TEST_F(IconLoadingTest, MarkedEntriesOnScreenAreBoundFirstThenByTheTimer) {
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

    EXPECT_EQ(1, BindShownIcons(0, 1, 2)); // not in the archive: captured as it is shown
    EXPECT_NE(nullptr, current->colourBits);
    EXPECT_EQ(1, again->iconPending); // off screen: left to the timer

    EXPECT_EQ(1, BindPendingIcons(0)); // the current tab's first
    EXPECT_NE(nullptr, again->colourBits);
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

// Loaded with their stored attributes, entries are read anew before their tab is painted: a file
// gone since shows the cross, a file back since gets its icon.
TEST_F(IconLoadingTest, StoredAttributesAreReadAnewBeforeTheTabIsShown) {
    std::string back = scratch_.File("back");
    CreateDirectoryA(back.c_str(), nullptr);
    std::string escaped;
    for (char c : scratch_.Path())
        escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    std::string text = "[Tab_First]\r\n"
                       "First_FilePath_0 = \"" +
                       escaped +
                       "\\\\gone\"\r\n"
                       "First_Attribute_0 = 16\r\n"
                       "First_FilePath_1 = \"" +
                       escaped +
                       "\\\\back\"\r\n"
                       "First_Attribute_1 = -1\r\n";
    SettingsRelease();
    SettingsPrepare();
    SettingsDocument().LoadBytes(text.data(), text.size());
    DeferIconBinding(true);
    SetAttributesReadLater(true);
    LoadTabEntries(0, "First", 2);
    SetAttributesReadLater(false);
    DeferIconBinding(false);
    Entry* gone = FindEntry(0, 0);
    Entry* present = FindEntry(0, 1);
    ASSERT_NE(nullptr, gone);
    ASSERT_NE(nullptr, present);
    EXPECT_EQ(16u, gone->Attribute); // as stored, until the tab is shown
    EXPECT_EQ(1, present->noIcon);

    BindShownIcons(0, 0, 2);
    EXPECT_EQ(kMissingAttributes, gone->Attribute);
    EXPECT_EQ(1, gone->noIcon);
    EXPECT_EQ(0, present->noIcon);
    EXPECT_NE(nullptr, present->colourBits);
    EXPECT_EQ(0, PendingIconCount());
    SettingsRelease();
}

} // namespace
